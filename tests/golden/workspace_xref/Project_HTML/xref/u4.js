quillonXref({page:"shapes.h.htm",
words:["Parameter","Macro","call","Class","read","Typedef","Struct","Enum","Function","Field","Enumerator","Namespace"],
files:[
["shapes.h",""],
["shapes.cpp","shapes.cpp.htm"]],
defs:{
"x13.22":[0,1,[[0,[13]]]],
"x2.8":[1,1,[[0,[[14,2]]]]],
"x6.6":[3,4,[[1,[[4,4,"int total(const Shape* shapes[], int count) {"],[13,4,"const geo::Shape* all[] = {&tile};"]]],[0,[11,19]]]],
"x18.15":[5,1,[[1,[[12,4,"geo::Tile tile(3);"]]]]],
"x5.7":[6,1,[[1,[[14,4,"geo::Point p = {1, 2};"]]]]],
"x11.6":[3,1,[[0,[18]]]],
"x5.19":[9,1,[[1,[[15,4,"return geo::total(all, 1) + p.x;"]]]]],
"x16.6":[9,2,[[0,[[13,2],14]]]]},
unused:[
[7,"x4.11"],
[8,"x8.11 x9.14 x14.6 x13.11"],
[9,"x5.22"],
[10,"x4.18 x4.25"]],
targets:{
"#x13.22":[0,1],
"shapes.cpp.htm#x2.10":[11,4,1,"namespace geo {"],
"#x2.8":[1,1],
"shapes.cpp.htm#x4.4":[8,1,1,"int total(const Shape* shapes[], int count) {"],
"#x6.6":[3,4],
"#x11.6":[3,1],
"#x16.6":[9,2]}});
