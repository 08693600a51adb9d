quillonXref({"page": "Rectangle.java.htm",
"defs": {
"x6.25": ["width", "Parameter", 1, [
 ["Rectangle.java", "", [[6, "read", "public Rectangle(int width, int height) { this.width = width; this.height = height; }"]]]]],
"x6.36": ["height", "Parameter", 1, [
 ["Rectangle.java", "", [[6, "read", "public Rectangle(int width, int height) { this.width = width; this.height = height; }"]]]]],
"x8.25": ["which", "Parameter", 1, [
 ["Rectangle.java", "", [[8, "read", "public int side(Side which) { return which == Side.WIDTH ? width : height; }"]]]]],
"x9.37": ["args", "Parameter", 0, []],
"x10.18": ["r", "Local", 2, [
 ["Rectangle.java", "", [[11, "read", "System.out.println(r.area() + r.side(Side.HEIGHT));"], [11, "read", "System.out.println(r.area() + r.side(Side.HEIGHT));"]]]]],
"x1.8": ["geometry", "Namespace", 0, []],
"x3.13": ["Rectangle", "Class", 1, [
 ["Rectangle.java", "", [[10, "read", "Rectangle r = new Rectangle(2, 3);"]]]]],
"x7.15": ["area", "Function", 1, [
 ["Rectangle.java", "", [[11, "call", "System.out.println(r.area() + r.side(Side.HEIGHT));"]]]]],
"x9.23": ["main", "Function", 0, []],
"x6.11": ["Rectangle", "Function", 1, [
 ["Rectangle.java", "", [[10, "call", "Rectangle r = new Rectangle(2, 3);"]]]]],
"x4.9": ["Side", "Enum", 3, [
 ["Rectangle.java", "", [[8, "read", "public int side(Side which) { return which == Side.WIDTH ? width : height; }"], [8, "read", "public int side(Side which) { return which == Side.WIDTH ? width : height; }"], [11, "read", "System.out.println(r.area() + r.side(Side.HEIGHT));"]]]]],
"x8.15": ["side", "Function", 1, [
 ["Rectangle.java", "", [[11, "call", "System.out.println(r.area() + r.side(Side.HEIGHT));"]]]]],
"x5.22": ["width", "Field", 3, [
 ["Rectangle.java", "", [[6, "write", "public Rectangle(int width, int height) { this.width = width; this.height = height; }"], [7, "read", "public int area() { return width * height; }"], [8, "read", "public int side(Side which) { return which == Side.WIDTH ? width : height; }"]]]]],
"x5.29": ["height", "Field", 3, [
 ["Rectangle.java", "", [[6, "write", "public Rectangle(int width, int height) { this.width = width; this.height = height; }"], [7, "read", "public int area() { return width * height; }"], [8, "read", "public int side(Side which) { return which == Side.WIDTH ? width : height; }"]]]]],
"x4.16": ["WIDTH", "Enumerator", 1, [
 ["Rectangle.java", "", [[8, "read", "public int side(Side which) { return which == Side.WIDTH ? width : height; }"]]]]],
"x4.23": ["HEIGHT", "Enumerator", 1, [
 ["Rectangle.java", "", [[11, "read", "System.out.println(r.area() + r.side(Side.HEIGHT));"]]]]]},
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
