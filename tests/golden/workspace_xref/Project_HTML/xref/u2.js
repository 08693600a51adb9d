quillonXref({"page": "Rectangle.java.htm",
"defs": {
"x6.25": ["width", "Parameter", 1, [
 ["Rectangle.java", "", [[6, "read"]]]]],
"x6.36": ["height", "Parameter", 1, [
 ["Rectangle.java", "", [[6, "read"]]]]],
"x8.25": ["which", "Parameter", 1, [
 ["Rectangle.java", "", [[8, "read"]]]]],
"x9.37": ["args", "Parameter", 0, []],
"x10.18": ["r", "Local", 2, [
 ["Rectangle.java", "", [[11, "read"], [11, "read"]]]]],
"x1.8": ["geometry", "Namespace", 0, []],
"x3.13": ["Rectangle", "Class", 1, [
 ["Rectangle.java", "", [[10, "read"]]]]],
"x7.15": ["area", "Function", 1, [
 ["Rectangle.java", "", [[11, "call"]]]]],
"x9.23": ["main", "Function", 0, []],
"x6.11": ["Rectangle", "Function", 1, [
 ["Rectangle.java", "", [[10, "call"]]]]],
"x4.9": ["Side", "Enum", 3, [
 ["Rectangle.java", "", [[8, "read"], [8, "read"], [11, "read"]]]]],
"x8.15": ["side", "Function", 1, [
 ["Rectangle.java", "", [[11, "call"]]]]],
"x5.22": ["width", "Field", 3, [
 ["Rectangle.java", "", [[6, "write"], [7, "read"], [8, "read"]]]]],
"x5.29": ["height", "Field", 3, [
 ["Rectangle.java", "", [[6, "write"], [7, "read"], [8, "read"]]]]],
"x4.16": ["WIDTH", "Enumerator", 1, [
 ["Rectangle.java", "", [[8, "read"]]]]],
"x4.23": ["HEIGHT", "Enumerator", 1, [
 ["Rectangle.java", "", [[11, "read"]]]]]},
"targets": {
"#x6.25": ["width", "Parameter", "Rectangle.java", 6, "public Rectangle(int width, int height) { this.width = width; this.height = height; }", 1],
"#x6.36": ["height", "Parameter", "Rectangle.java", 6, "public Rectangle(int width, int height) { this.width = width; this.height = height; }", 1],
"#x8.25": ["which", "Parameter", "Rectangle.java", 8, "public int side(Side which) { return which == Side.WIDTH ? width : height; }", 1],
"#x10.18": ["r", "Local", "Rectangle.java", 10, "Rectangle r = new Rectangle(2, 3);", 2],
"#x3.13": ["Rectangle", "Class", "Rectangle.java", 3, "public class Rectangle {", 1],
"#x7.15": ["area", "Function", "Rectangle.java", 7, "public int area() { return width * height; }", 1],
"#x6.11": ["Rectangle", "Function", "Rectangle.java", 6, "public Rectangle(int width, int height) { this.width = width; this.height = height; }", 1],
"#x4.9": ["Side", "Enum", "Rectangle.java", 4, "enum Side { WIDTH, HEIGHT }", 3],
"#x8.15": ["side", "Function", "Rectangle.java", 8, "public int side(Side which) { return which == Side.WIDTH ? width : height; }", 1],
"#x5.22": ["width", "Field", "Rectangle.java", 5, "private final int width, height;", 3],
"#x5.29": ["height", "Field", "Rectangle.java", 5, "private final int width, height;", 3],
"#x4.16": ["WIDTH", "Enumerator", "Rectangle.java", 4, "enum Side { WIDTH, HEIGHT }", 1],
"#x4.23": ["HEIGHT", "Enumerator", "Rectangle.java", 4, "enum Side { WIDTH, HEIGHT }", 1]}});
