// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["main.cpp","main.cpp.htm","main.cpp",""],
["parser.cpp","parser.cpp.htm","parser.cpp",""],
["string tools.cpp","string tools.cpp.htm","string tools.cpp",""],
["parser.h","parser.h.htm","parser.h",""],
["Tool.rc","Tool.rc.htm","Tool.rc",""],
["tool.ico","Images/tool.ico","tool.ico",""]
],
"records": [
[0,"Parser","parser.h.htm#Parser","parser.h.htm"]
],
"members": [
[0,"count(const char* text)",0]
]
});
