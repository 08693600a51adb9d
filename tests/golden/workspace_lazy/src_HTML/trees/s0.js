quillonTreeNodes({
"Folder1": [
"\x09\x09\x09\x3Cdiv ID=\"Folder2\" class=\"tree_parent\"\x3E",
"\x09\x09\x09\x09\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Ca name=\"Folder2a\" href=\"#app\\gui\" onClick=\"tree_iconclick('Folder2')\"\x3E\x3Cimg name=\"Folder2_o\" src=\"images/Tplus.gif\" align=\"absmiddle\" border=\"0\"\x3E\x3Cimg src=\"images/foldericon.gif\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"\x3E\x3C/a\x3E\x3Ca name=\"app\\gui\" HREF=\"#app\\gui\" ID=\"Folder2a\" onClick=\"tree_iconclick('Folder2')\" class=\"tree_pitem\"\x3Egui\x3C/a\x3E\x3C/nobr\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x3Cdiv ID=\"Folder2Child\" CLASS=\"tree_child\" data-src=\"trees/s0.js\"\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x09\x3CDIV\x3E\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/L.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/htmlicon.gif\" align=\"absmiddle\" class=\"tree_icon\" border=0\x3E\x3Ca HREF=\"main.cpp.htm\" target=\"source_frame\" onClick=\"SendTabText('main.cpp');\" class=tree_citem\x3Emain.cpp\x3C/a\x3E\x3C/nobr\x3E\x3C/DIV\x3E"
],
"Folder2": [
"\x09\x09\x09\x09\x3CDIV\x3E\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/L.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/htmlicon.gif\" align=\"absmiddle\" class=\"tree_icon\" border=0\x3E\x3Ca HREF=\"view.h.htm\" target=\"source_frame\" onClick=\"SendTabText('view.h');\" class=tree_citem\x3Eview.h\x3C/a\x3E\x3C/nobr\x3E\x3C/DIV\x3E"
],
"Folder3": [
"\x09\x09\x09\x09\x3CDIV\x3E\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/L.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/htmlicon.gif\" align=\"absmiddle\" class=\"tree_icon\" border=0\x3E\x3Ca HREF=\"util.h.htm\" target=\"source_frame\" onClick=\"SendTabText('util.h');\" class=tree_citem\x3Eutil.h\x3C/a\x3E\x3C/nobr\x3E\x3C/DIV\x3E"
]});
