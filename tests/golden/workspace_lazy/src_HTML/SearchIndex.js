// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["view.h","view.h.htm","view.h","app\\gui"],
["main.cpp","main.cpp.htm","main.cpp","app"],
["util.h","util.h.htm","util.h","lib"],
["top.c","top.c.htm","top.c",""]
],
"records": [
[0,"Empty","view.h.htm#Empty","view.h.htm"],
[0,"View","view.h.htm#View","view.h.htm"],
[0,"_Cache","util.h.htm#_Cache","util.h.htm"],
[1,"Point","view.h.htm#Point","view.h.htm"],
[2,"Mode","util.h.htm#Mode","util.h.htm"]
],
"members": [
[1,"draw()",0],
[1,"width",2],
[2,"size",3]
]
});
