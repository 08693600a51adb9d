// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["calc.cpp","calc.cpp.htm","calc.cpp",""],
["main.cpp","main.cpp.htm","main.cpp",""],
["log.cpp","log.cpp.htm","log.cpp",""],
["ReadMe.txt","ReadMe.txt.htm","ReadMe.txt",""],
["calc.h","calc.h.htm","calc.h",""],
["resource.h","resource.h.htm","resource.h",""],
["Calc.rc","Calc.rc.htm","Calc.rc",""],
["calc.ico","Images/calc.ico","calc.ico",""]
],
"records": [
[0,"Calculator","calc.h.htm#Calculator","calc.h.htm"]
],
"members": [
[0,"apply(Operation op, double left, double right)",0],
[0,"store(double value)",0],
[0,"recall()",0],
[0,"=0.0",3]
]
});
