quillonTreeNodes({
"Letter1": [
"\x09\x09\x09\x3Cdiv ID=\"ClassItem1\" class=\"tree_parent\"\x3E",
"\x09\x09\x09\x09\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Ca name=\"ClassItem1a\"\x3E\x3Cimg name=\"ClassItem1_o\" src=\"images/L.gif\" align=\"absmiddle\" border=\"0\"\x3E\x3Cimg src=\"images/classicon.gif\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"\x3E\x3C/a\x3E\x3Ca name=\"Empty\" HREF=\"view.h.htm#Empty\" ID=\"ClassItem1a\" target=\"source_frame\" onClick=\"SendTabText('view.h.htm');\" class=\"tree_pitem\"\x3EEmpty\x3C/a\x3E\x3C/nobr\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x3Cdiv ID=\"ClassItem1Child\" CLASS=\"tree_child\"\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A"
],
"Letter2": [
"\x09\x09\x09\x3Cdiv ID=\"ClassItem5\" class=\"tree_parent\"\x3E",
"\x09\x09\x09\x09\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Ca name=\"ClassItem5a\"\x3E\x3Cimg name=\"ClassItem5_o\" src=\"images/L.gif\" align=\"absmiddle\" border=\"0\"\x3E\x3Cimg src=\"images/enumicon.gif\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"\x3E\x3C/a\x3E\x3Ca name=\"Mode\" HREF=\"util.h.htm#Mode\" ID=\"ClassItem5a\" target=\"source_frame\" onClick=\"SendTabText('util.h.htm');\" class=\"tree_pitem\"\x3EMode\x3C/a\x3E\x3C/nobr\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x3Cdiv ID=\"ClassItem5Child\" CLASS=\"tree_child\"\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A"
],
"Letter3": [
"\x09\x09\x09\x3Cdiv ID=\"ClassItem4\" class=\"tree_parent\"\x3E",
"\x09\x09\x09\x09\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Ca name=\"ClassItem4a\"\x3E\x3Cimg name=\"ClassItem4_o\" src=\"images/L.gif\" align=\"absmiddle\" border=\"0\"\x3E\x3Cimg src=\"images/structicon.gif\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"\x3E\x3C/a\x3E\x3Ca name=\"Point\" HREF=\"view.h.htm#Point\" ID=\"ClassItem4a\" target=\"source_frame\" onClick=\"SendTabText('view.h.htm');\" class=\"tree_pitem\"\x3EPoint\x3C/a\x3E\x3C/nobr\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x3Cdiv ID=\"ClassItem4Child\" CLASS=\"tree_child\"\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A"
],
"Letter4": [
"\x09\x09\x09\x3Cdiv ID=\"ClassItem2\" class=\"tree_parent\"\x3E",
"\x09\x09\x09\x09\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Ca name=\"ClassItem2a\" href=\"#View\" onClick=\"tree_iconclick('ClassItem2')\"\x3E\x3Cimg name=\"ClassItem2_o\" src=\"images/Lplus.gif\" align=\"absmiddle\" border=\"0\"\x3E\x3Cimg src=\"images/classicon.gif\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"\x3E\x3C/a\x3E\x3Ca name=\"View\" HREF=\"view.h.htm#View\" ID=\"ClassItem2a\" target=\"source_frame\" onClick=\"SendTabText('view.h.htm');\" class=\"tree_pitem\"\x3EView\x3C/a\x3E\x3C/nobr\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x3Cdiv ID=\"ClassItem2Child\" CLASS=\"tree_child\" data-src=\"trees/c0.js\"\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A"
],
"ClassItem2": [
"\x09\x09\x09\x09\x3CDIV\x3E\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/white.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/T.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/functionicon_public.gif\" align=\"absmiddle\" class=\"tree_icon\" border=0\x3E\x3Ca HREF=\"view.h.htm#View\" target=\"source_frame\" onClick=\"SendTabText('view.h.htm');\" class=tree_citem\x3Edraw()\x3C/a\x3E\x3C/nobr\x3E\x3C/DIV\x3E",
"\x09\x09\x09\x09\x3CDIV\x3E\x3Cnobr\x3E\x3Cimg src=\"images/I.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/white.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/L.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/membericon_public.gif\" align=\"absmiddle\" class=\"tree_icon\" border=0\x3E\x3Ca HREF=\"view.h.htm#View\" target=\"source_frame\" onClick=\"SendTabText('view.h.htm');\" class=tree_citem\x3Ewidth\x3C/a\x3E\x3C/nobr\x3E\x3C/DIV\x3E"
],
"Letter5": [
"\x09\x09\x09\x3Cdiv ID=\"ClassItem3\" class=\"tree_parent\"\x3E",
"\x09\x09\x09\x09\x3Cnobr\x3E\x3Cimg src=\"images/white.gif\" align=\"absmiddle\"\x3E\x3Ca name=\"ClassItem3a\" href=\"#_Cache\" onClick=\"tree_iconclick('ClassItem3')\"\x3E\x3Cimg name=\"ClassItem3_o\" src=\"images/Lplus.gif\" align=\"absmiddle\" border=\"0\"\x3E\x3Cimg src=\"images/classicon.gif\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"\x3E\x3C/a\x3E\x3Ca name=\"_Cache\" HREF=\"util.h.htm#_Cache\" ID=\"ClassItem3a\" target=\"source_frame\" onClick=\"SendTabText('util.h.htm');\" class=\"tree_pitem\"\x3E_Cache\x3C/a\x3E\x3C/nobr\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A",
"\x09\x09\x09\x3Cdiv ID=\"ClassItem3Child\" CLASS=\"tree_child\" data-src=\"trees/c0.js\"\x3E",
"\x09\x09\x09\x3C/div\x3E\x0A"
],
"ClassItem3": [
"\x09\x09\x09\x09\x3CDIV\x3E\x3Cnobr\x3E\x3Cimg src=\"images/white.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/white.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/L.gif\" align=\"absmiddle\"\x3E\x3Cimg src=\"images/membericon_private.gif\" align=\"absmiddle\" class=\"tree_icon\" border=0\x3E\x3Ca HREF=\"util.h.htm#_Cache\" target=\"source_frame\" onClick=\"SendTabText('util.h.htm');\" class=tree_citem\x3Esize\x3C/a\x3E\x3C/nobr\x3E\x3C/DIV\x3E"
]});
