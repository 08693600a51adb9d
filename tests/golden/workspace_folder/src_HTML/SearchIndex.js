// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["main.cc","main.cc.htm","Legacy\\main.cc","app\\Legacy"],
["main.cc","app~main.cc.htm","app\\main.cc","app"],
["util.h","util.h.htm","detail\\util.h","lib\\detail"],
["Alpha.h","Alpha.h.htm","Alpha.h","lib"],
["util.h","lib~util.h.htm","lib\\util.h","lib"],
["zeta.cpp","zeta.cpp.htm","zeta.cpp","lib"],
["logo.png","Images/logo.png","logo.png",""]
],
"records": [
[0,"Zeta","zeta.cpp.htm#Zeta","zeta.cpp.htm"],
[1,"DetailUtil","util.h.htm#DetailUtil","util.h.htm"],
[1,"Util","lib~util.h.htm#Util","lib~util.h.htm"]
],
"members": [
]
});
