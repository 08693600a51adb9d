// What the three tree pages of a workspace share: their style sheet, and the scripts that
// open and close the nodes and tell the tab frame which page the source frame opens.
// Each tree page loads this file from its head.

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
	if (link && link.classList) {
		if (currentItem) currentItem.classList.remove("tree_current");
		link.classList.add("tree_current");
		currentItem = link;
	}
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
