quillonXref({"page": "shapes.h.htm",
"defs": {
"x13.22": ["side", "Parameter", 1, [
 ["shapes.h", "", [[13, "read"]]]]],
"x2.8": ["SQUARE", "Macro", 1, [
 ["shapes.h", "", [[14, "call"]]]]],
"x6.6": ["Shape", "Class", 4, [
 ["shapes.cpp", "shapes.cpp.htm", [[4, "read", "int total(const Shape* shapes[], int count) {"], [13, "read", "const geo::Shape* all[] = {&tile};"]]],
 ["shapes.h", "", [[11, "read"], [19, "read"]]]]],
"x18.15": ["Tile", "Typedef", 1, [
 ["shapes.cpp", "shapes.cpp.htm", [[12, "read", "geo::Tile tile(3);"]]]]],
"x5.7": ["Point", "Struct", 1, [
 ["shapes.cpp", "shapes.cpp.htm", [[14, "read", "geo::Point p = {1, 2};"]]]]],
"x4.11": ["Unit", "Enum", 0, []],
"x11.6": ["Square", "Class", 1, [
 ["shapes.h", "", [[18, "read"]]]]],
"x8.11": ["Shape", "Function", 0, []],
"x9.14": ["area", "Function", 0, []],
"x5.19": ["x", "Field", 1, [
 ["shapes.cpp", "shapes.cpp.htm", [[15, "read", "return geo::total(all, 1) + p.x;"]]]]],
"x5.22": ["y", "Field", 0, []],
"x4.18": ["Metre", "Enumerator", 0, []],
"x4.25": ["Foot", "Enumerator", 0, []],
"x14.6": ["area", "Function", 0, []],
"x13.11": ["Square", "Function", 0, []],
"x16.6": ["side_", "Field", 2, [
 ["shapes.h", "", [[13, "call"], [14, "read"]]]]]},
"targets": {
"#x13.22": ["side", "Parameter", "shapes.h", 13, "explicit Square(int side) : side_(side) {}", 1],
"shapes.cpp.htm#x2.10": ["geo", "Namespace", "shapes.cpp", 2, "namespace geo {", 4],
"#x2.8": ["SQUARE", "Macro", "shapes.h", 2, "#define SQUARE(x) ((x) * (x))", 1],
"shapes.cpp.htm#x4.4": ["total", "Function", "shapes.cpp", 4, "int total(const Shape* shapes[], int count) {", 1],
"#x6.6": ["Shape", "Class", "shapes.h", 6, "class Shape {", 4],
"#x11.6": ["Square", "Class", "shapes.h", 11, "class Square : public Shape {", 1],
"#x16.6": ["side_", "Field", "shapes.h", 16, "int side_;", 2]}});
