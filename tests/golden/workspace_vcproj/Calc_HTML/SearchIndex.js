// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["calc.cpp","calc.cpp.htm","calc.cpp",""],
["main.cpp","main.cpp.htm","main.cpp",""],
["calc.h","calc.h.htm","calc.h",""],
["calc.ico","Images/calc.ico","calc.ico",""]
],
"records": [
[0,"Calc","calc.h.htm#Calc","calc.h.htm"],
[1,"Args","main.cpp.htm#Args","main.cpp.htm"],
[2,"Key","calc.h.htm#Key","calc.h.htm"]
],
"members": [
[0,"add(int a, int b)",0],
[0,"memory",3]
]
});
