quillonXref({"page": "shapes.cpp.htm",
"defs": {
"x4.23": ["shapes", "Parameter", 1, [
 ["shapes.cpp", "", [[6, "read"]]]]],
"x4.37": ["count", "Parameter", 2, [
 ["shapes.cpp", "", [[6, "read"], [7, "read"]]]]],
"x5.6": ["sum", "Local", 2, [
 ["shapes.cpp", "", [[6, "write"], [8, "read"]]]]],
"x6.11": ["i", "Local", 3, [
 ["shapes.cpp", "", [[6, "read"], [6, "write"], [6, "read"]]]]],
"x12.12": ["tile", "Local", 1, [
 ["shapes.cpp", "", [[13, "read"]]]]],
"x13.20": ["all", "Local", 1, [
 ["shapes.cpp", "", [[15, "read"]]]]],
"x14.13": ["p", "Local", 1, [
 ["shapes.cpp", "", [[15, "read"]]]]],
"x3.11": ["counted", "Variable", 1, [
 ["shapes.cpp", "", [[7, "write"]]]]],
"x2.10": ["geo", "Namespace", 4, [
 ["shapes.cpp", "", [[12, "read"], [13, "read"], [14, "read"], [15, "read"]]]]],
"x11.4": ["main", "Function", 0, []],
"x4.4": ["total", "Function", 1, [
 ["shapes.cpp", "", [[15, "call"]]]]]},
"targets": {
"#x4.23": ["shapes", "Parameter", "shapes.cpp", 4, "int total(const Shape* shapes[], int count) {", 1],
"#x4.37": ["count", "Parameter", "shapes.cpp", 4, "int total(const Shape* shapes[], int count) {", 2],
"#x5.6": ["sum", "Local", "shapes.cpp", 5, "int sum = 0;", 2],
"#x6.11": ["i", "Local", "shapes.cpp", 6, "for (int i = 0; i \x3C count; ++i) sum += shapes[i]-\x3Earea();", 3],
"#x12.12": ["tile", "Local", "shapes.cpp", 12, "geo::Tile tile(3);", 1],
"#x13.20": ["all", "Local", "shapes.cpp", 13, "const geo::Shape* all[] = {&tile};", 1],
"#x14.13": ["p", "Local", "shapes.cpp", 14, "geo::Point p = {1, 2};", 1],
"#x3.11": ["counted", "Variable", "shapes.cpp", 3, "static int counted = 0;", 1],
"#x2.10": ["geo", "Namespace", "shapes.cpp", 2, "namespace geo {", 4],
"#x4.4": ["total", "Function", "shapes.cpp", 4, "int total(const Shape* shapes[], int count) {", 1],
"shapes.h.htm#x6.6": ["Shape", "Class", "shapes.h", 6, "class Shape {", 4],
"shapes.h.htm#x18.15": ["Tile", "Typedef", "shapes.h", 18, "typedef Square Tile;", 1],
"shapes.h.htm#x5.7": ["Point", "Struct", "shapes.h", 5, "struct Point { int x, y; };", 1],
"shapes.h.htm#x5.19": ["x", "Field", "shapes.h", 5, "struct Point { int x, y; };", 1]}});
