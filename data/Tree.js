// What the three tree pages of a workspace share: their style sheet, the scripts that open
// and close the nodes and tell the tab frame which page the source frame opens, and the
// search box above the tree. Each tree page loads this file from its head.

(function () {
	var style = document.createElement("style");
	style.textContent = `
html, body { margin: 0; padding: 0; }
body {
	background: #fbfcfe;
	color: #1f2937;
	font: 13px/18px "Segoe UI", Tahoma, Verdana, Arial, sans-serif;
}
.tree_header {
	background: #e9eef5 url("Images/HeaderTab_04.jpg") repeat-x;
	border-bottom: 1px solid #cbd4e1;
	color: #475569;
	font-size: 11px;
	font-weight: 600;
	letter-spacing: 0.06em;
	padding: 5px 10px;
	text-transform: uppercase;
	white-space: nowrap;
}
.tree { padding: 8px 6px 16px 8px; }
/* Every row is exactly as high as the 18-pixel pictures, and the pictures sit at the top
   of the row, so the connector lines of one row meet those of the next. */
.tree_root, .tree_parent, .tree_child > div {
	height: 18px;
	line-height: 18px;
	white-space: nowrap;
}
/* The children of a folder inside a folder are as high as their rows. */
.tree_child > .tree_child { height: auto; }
.tree img { border: 0; vertical-align: top; }
.tree_root { color: #0f172a; font-weight: 600; }
.tree_child { display: none; }
.tree_icon { margin-right: 3px; }
.tree_pitem, .tree_citem {
	border-radius: 3px;
	color: #1f2937;
	padding: 1px 4px;
	text-decoration: none;
}
.tree_pitem { font-weight: 600; }
.tree_pitem:hover, .tree_citem:hover { background: #e3ebf8; color: #1d4ed8; }
.tree_current, .tree_current:hover { background: #d3e1fa; color: #1e3a8a; }
.tree_empty { color: #64748b; font-style: italic; margin: 4px 0 0 22px; }
/* The search box stays at the top while the tree scrolls under it. */
.tree_search {
	background: #fbfcfe;
	border-bottom: 1px solid #e2e8f0;
	padding: 6px 8px;
	position: sticky;
	top: 0;
	z-index: 1;
}
.tree_search input {
	border: 1px solid #cbd4e1;
	border-radius: 4px;
	box-sizing: border-box;
	color: #1f2937;
	font: inherit;
	padding: 2px 6px;
	width: 100%;
}
.tree_search input:focus { border-color: #5b8def; outline: 1px solid #5b8def; }
.tree_results { margin-top: 4px; max-height: 60vh; overflow-y: auto; }
.tree_result {
	border-radius: 3px;
	color: #1f2937;
	display: block;
	height: 18px;
	line-height: 18px;
	overflow: hidden;
	padding: 1px 4px;
	text-decoration: none;
	text-overflow: ellipsis;
	white-space: nowrap;
}
.tree_result img { border: 0; margin-right: 3px; vertical-align: top; }
.tree_result mark { background: #fde68a; color: inherit; }
.tree_result_detail { color: #64748b; margin-left: 6px; }
.tree_result.tree_active { background: #e3ebf8; color: #1d4ed8; }
.tree_search_note { color: #64748b; font-size: 11px; margin-top: 2px; }
`;
	document.head.appendChild(style);
})();

// Opens or closes a node of the tree: shows or hides the division id + "Child" and shows
// the matching opener (plus or minus) and, for a folder, the open or closed folder.
function tree_iconclick(id) {
	var e = window.event;
	if (e && e.type === "click" && e.preventDefault) e.preventDefault();
	var child = document.getElementById(id + "Child");
	if (!child) return false;
	var open = child.style.display !== "block";
	child.style.display = open ? "block" : "none";
	var opener = document.getElementsByName(id + "_o")[0];
	if (opener) swapPicture(opener, /(plus|minus)\.gif$/i, open ? "minus.gif" : "plus.gif");
	var node = document.getElementById(id);
	var icon = node && node.querySelector("img.tree_icon");
	if (icon) swapPicture(icon, /(open)?foldericon\.gif$/i, open ? "openfoldericon.gif" : "foldericon.gif");
	return false;
}

// Replaces the end of a picture's address, keeping its folder as the page wrote it.
function swapPicture(img, ending, replacement) {
	var src = img.getAttribute("src") || "";
	if (ending.test(src)) img.setAttribute("src", src.replace(ending, replacement));
}

// Marks the clicked item and tells the tab frame which page the source frame is opening.
// The frames may be of different origins (pages opened from disk), so the name goes by
// message, which is allowed between any two frames of the workspace.
var currentItem = null;
function SendTabText(name) {
	var e = window.event;
	var link = e && e.currentTarget;
	if (link && link.classList) markCurrentItem(link);
	postTabText(name);
}

function markCurrentItem(link) {
	if (currentItem) currentItem.classList.remove("tree_current");
	link.classList.add("tree_current");
	currentItem = link;
}

function postTabText(name) {
	try {
		var tab = window.top.frames["tab_frame"];
		if (tab && tab !== window) tab.postMessage({ type: "quillon-tab", name: String(name) }, "*");
	} catch (err) {
		// Opened outside its workspace: there is no tab frame to tell.
	}
}

// A tree with no nodes says so.
document.addEventListener("DOMContentLoaded", function () {
	var empty = document.getElementById("tree_empty");
	if (empty && !document.querySelector(".tree_parent")) empty.hidden = false;
});

// The search box above the tree: finds the workspace's files, classes, structs, enums and
// members by any part of their names as you type, whole names first, then names that
// begin so, then the rest, and opens the one chosen in the source frame. The names come
// from SearchIndex.js beside the tree pages, loaded by a script element: a page opened
// from disk may not read files by script.
var SEARCH_LIMIT = 50;  // results shown at most; the count tells how many matched
var treeSearch = {
	items: null,        // every name, by kind and then name, once the index has loaded
	missing: false,     // the workspace has no index (an older workspace)
	box: null, input: null, results: null, note: null,
	rows: [], active: -1
};

(function () {
	var script = document.createElement("script");
	script.src = "SearchIndex.js";
	script.onload = script.onerror = function () {
		treeSearch.missing = !treeSearch.items;
		updateSearch();
	};
	document.head.appendChild(script);
})();

// Called by SearchIndex.js with the names of the workspace. Ranks: classes, structs,
// enums, files, members.
function quillonSearchIndex(index) {
	var kindIcons = ["classicon.gif", "structicon.gif", "enumicon.gif"];
	var memberIcons = ["functionicon_public.gif", "functionicon_private.gif",
		"membericon_public.gif", "membericon_private.gif"];
	var items = [], i;
	var files = index.files || [], records = index.records || [], members = index.members || [];
	for (i = 0; i < files.length; i++) {
		var f = files[i];
		items.push(searchItem(3, f[0], f[0], f[3], f[1], f[2], "htmlicon.gif"));
	}
	for (i = 0; i < records.length; i++) {
		var r = records[i];
		items.push(searchItem(r[0], r[1], r[1], r[3].replace(/\.htm$/i, ""), r[2], r[3], kindIcons[r[0]]));
	}
	for (i = 0; i < members.length; i++) {
		var m = members[i], owner = records[m[0]];
		items.push(searchItem(4, memberName(m[1]), m[1], owner[1], m.length > 3 ? m[3] : owner[2],
			owner[3], memberIcons[m[2]]));
	}
	items.sort(function (a, b) {
		return a.rank - b.rank || (a.lower < b.lower ? -1 : a.lower > b.lower ? 1 : 0);
	});
	treeSearch.items = items;
	updateSearch();
}

function searchItem(rank, name, text, detail, target, tab, icon) {
	text = text.replace(/^\s+|\s+$/g, "");
	return { rank: rank, name: name, lower: name.toLowerCase(), text: text, at: text.indexOf(name),
		detail: detail, target: target, tab: tab, icon: icon };
}

// A member's name: its text before the parameter list, without blanks around it.
function memberName(text) {
	var open = text.indexOf("(");
	return (open >= 0 ? text.slice(0, open) : text).replace(/^\s+|\s+$/g, "");
}

// The names holding `query` (ignoring case): whole names, then those that begin with it,
// then the rest, each group by kind and then name, at most SEARCH_LIMIT in all; and how
// many matched.
function findNames(query) {
	var q = query.toLowerCase(), items = treeSearch.items;
	var whole = [], start = [], rest = [], count = 0;
	for (var i = 0; i < items.length; i++) {
		var at = items[i].lower.indexOf(q);
		if (at < 0) continue;
		count++;
		var group = at > 0 ? rest : items[i].lower.length === q.length ? whole : start;
		if (group.length < SEARCH_LIMIT) group.push(items[i]);
	}
	return { found: whole.concat(start, rest).slice(0, SEARCH_LIMIT), count: count };
}

function updateSearch() {
	var s = treeSearch;
	if (!s.input) return;
	var query = s.input.value.replace(/^\s+|\s+$/g, "");
	s.rows = [];
	s.active = -1;
	s.results.textContent = "";
	s.results.hidden = true;
	if (!query) {
		s.note.textContent = "";
		return;
	}
	if (!s.items) {
		s.note.textContent = s.missing ? "Nothing is indexed in this workspace." : "Loading the names\u2026";
		return;
	}
	var result = findNames(query);
	var list = document.createDocumentFragment();
	for (var i = 0; i < result.found.length; i++) list.appendChild(resultRow(result.found[i], query, i));
	s.results.appendChild(list);
	s.results.hidden = !s.rows.length;
	s.note.textContent = !result.count ? "No name holds \u201c" + query + "\u201d."
		: result.count > result.found.length ? result.found.length + " of " + result.count + " names shown."
		: result.count === 1 ? "1 name." : result.count + " names.";
	if (s.rows.length) setActiveResult(0);
}

// One result: a link into the source frame, as a tree item is, with the part of the name
// that matched marked.
function resultRow(item, query, number) {
	var row = document.createElement("a");
	row.className = "tree_result";
	row.id = "tree_result_" + number;
	row.setAttribute("role", "option");
	row.setAttribute("href", item.target);
	row.setAttribute("target", "source_frame");
	row.title = item.text + (item.detail ? " \u2014 " + item.detail : "");
	var icon = document.createElement("img");
	icon.src = "Images/" + item.icon;
	icon.alt = "";
	row.appendChild(icon);
	var from = item.at + item.lower.indexOf(query.toLowerCase());
	if (item.at >= 0 && item.lower.length === item.name.length) {
		var mark = document.createElement("mark");
		mark.textContent = item.text.substr(from, query.length);
		row.appendChild(document.createTextNode(item.text.slice(0, from)));
		row.appendChild(mark);
		row.appendChild(document.createTextNode(item.text.slice(from + query.length)));
	} else {
		row.appendChild(document.createTextNode(item.text));
	}
	if (item.detail) {
		var detail = document.createElement("span");
		detail.className = "tree_result_detail";
		detail.textContent = item.detail;
		row.appendChild(detail);
	}
	row.addEventListener("click", function () {
		markCurrentItem(row);
		postTabText(item.tab);
	});
	row.addEventListener("mousemove", function () { setActiveResult(number); });
	treeSearch.rows.push(row);
	return row;
}

function setActiveResult(number) {
	var s = treeSearch;
	if (s.active >= 0 && s.rows[s.active]) s.rows[s.active].classList.remove("tree_active");
	s.active = number;
	var row = s.rows[number];
	if (!row) return;
	row.classList.add("tree_active");
	s.input.setAttribute("aria-activedescendant", row.id);
	if (row.scrollIntoView && s.results.scrollHeight > s.results.clientHeight) row.scrollIntoView({ block: "nearest" });
}

function searchKey(e) {
	var s = treeSearch;
	if (e.key === "ArrowDown" || e.key === "ArrowUp") {
		if (!s.rows.length) return;
		e.preventDefault();
		var step = e.key === "ArrowDown" ? 1 : -1;
		setActiveResult(Math.max(0, Math.min(s.rows.length - 1, s.active + step)));
	} else if (e.key === "Enter") {
		e.preventDefault();
		if (s.rows.length) s.rows[Math.max(0, s.active)].click();
	} else if (e.key === "Escape") {
		e.preventDefault();
		if (s.input.value) {
			s.input.value = "";
			updateSearch();
		} else {
			s.input.blur();
		}
	}
}

document.addEventListener("DOMContentLoaded", function () {
	var s = treeSearch;
	s.box = document.createElement("div");
	s.box.className = "tree_search";
	s.input = document.createElement("input");
	s.input.type = "search";
	s.input.placeholder = "Search files, classes, members";
	s.input.setAttribute("aria-label", "Search the workspace's files, classes, structs, enums and members");
	s.input.setAttribute("role", "combobox");
	s.input.setAttribute("aria-controls", "tree_results");
	s.input.autocomplete = "off";
	s.input.spellcheck = false;
	s.results = document.createElement("div");
	s.results.className = "tree_results";
	s.results.id = "tree_results";
	s.results.setAttribute("role", "listbox");
	s.results.hidden = true;
	s.note = document.createElement("div");
	s.note.className = "tree_search_note";
	s.note.setAttribute("role", "status");
	s.box.appendChild(s.input);
	s.box.appendChild(s.note);
	s.box.appendChild(s.results);
	var tree = document.querySelector(".tree");
	if (tree) tree.parentNode.insertBefore(s.box, tree);
	else document.body.insertBefore(s.box, document.body.firstChild);
	s.input.addEventListener("input", updateSearch);
	s.input.addEventListener("keydown", searchKey);
	updateSearch();
});
