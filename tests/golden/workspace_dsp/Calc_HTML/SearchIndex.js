// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["calc.cpp","calc.cpp.htm","calc.cpp",""],
["util.cpp","util.cpp.htm","util.cpp",""],
["missing.cpp","missing.cpp.htm","missing.cpp",""],
["Calc.H","Calc.H.htm","Calc.H",""],
["logo.bmp","Images/logo.bmp","logo.bmp",""],
["gone.gif","Blank.htm","gone.gif",""]
],
"records": [
[0,"Calc","Calc.H.htm#Calc","Calc.H.htm"],
[2,"Key","Calc.H.htm#Key","Calc.H.htm"]
],
"members": [
[0,"add(int a, int b)",0],
[0,"memory",3]
]
});
