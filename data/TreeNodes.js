// The nodes of a tree page that load their lines when first opened. Such a node's child
// division is empty and names, in its data-src attribute, the script of the workspace's
// folder "trees" that holds its lines: a call quillonTreeNodes({"Folder12": [line, ...]})
// that may hold the lines of several nodes. The script is loaded by a script element, as a
// page opened from disk may not read files by script; each script once, however many of
// its nodes are opened. A tree page with such nodes loads this file after Tree.js.

var treeNodes = {
	lines: {},    // the lines of each node by its id, as the scripts gave them
	scripts: {},  // each script asked for: "loading", "loaded" or "failed"
	waiting: {}   // for each script loading, what to call when it has
};

// Called by the scripts of the folder "trees".
function quillonTreeNodes(nodes) {
	for (var id in nodes) {
		if (Object.prototype.hasOwnProperty.call(nodes, id)) treeNodes.lines[id] = nodes[id];
	}
}

// Opening a node whose lines are not there yet loads them first and opens it then; all
// else is as Tree.js does it.
var treeOpenLoaded = tree_iconclick;
tree_iconclick = function (id) {
	var child = document.getElementById(id + "Child");
	var src = child && child.getAttribute("data-src");
	if (!src) return treeOpenLoaded(id);
	var e = window.event;
	if (e && e.type === "click" && e.preventDefault) e.preventDefault();
	if (child.getAttribute("data-loading")) return false;
	child.setAttribute("data-loading", "1");
	loadTreeScript(src, function (loaded) {
		child.removeAttribute("data-loading");
		var lines = loaded ? treeNodes.lines[id] : null;
		if (lines) {
			child.innerHTML = lines.join("\n");
			delete treeNodes.lines[id];
		} else {
			var note = document.createElement("div");
			note.className = "tree_empty";
			note.textContent = "The items of this node could not be loaded (" + src + ").";
			child.textContent = "";
			child.appendChild(note);
		}
		child.removeAttribute("data-src");
		treeOpenLoaded(id);
	});
	return false;
};

// Loads the script `src` once and calls `done(true)` when it has run, or `done(false)`
// when it could not be loaded; callers while it loads wait for the same script.
function loadTreeScript(src, done) {
	var state = treeNodes.scripts[src];
	if (state === "loaded" || state === "failed") {
		done(state === "loaded");
		return;
	}
	var waiting = treeNodes.waiting;
	(waiting[src] || (waiting[src] = [])).push(done);
	if (state === "loading") return;
	treeNodes.scripts[src] = "loading";
	var script = document.createElement("script");
	script.src = src;
	script.onload = script.onerror = function (event) {
		treeNodes.scripts[src] = event.type === "load" ? "loaded" : "failed";
		var callers = waiting[src];
		delete waiting[src];
		for (var i = 0; i < callers.length; i++) callers[i](event.type === "load");
	};
	document.head.appendChild(script);
}
