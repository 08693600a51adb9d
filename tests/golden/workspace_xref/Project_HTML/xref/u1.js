quillonXref({"page": "Shapes.cs.htm",
"defs": {
"x12.45": ["shape", "Parameter", 1, [
 ["Shapes.cs", "", [[14, "read"]]]]],
"x14.16": ["text", "Local", 1, [
 ["Shapes.cs", "", [[16, "read"]]]]],
"x1.10": ["Geometry", "Namespace", 0, []],
"x3.21": ["IShape", "Interface", 2, [
 ["Shapes.cs", "", [[4, "read"], [12, "read"]]]]],
"x4.18": ["Circle", "Record", 0, []],
"x9.24": ["Report", "Class", 0, []],
"x3.37": ["Area", "Property", 1, [
 ["Shapes.cs", "", [[14, "read"]]]]],
"x7.22": ["Area", "Property", 0, []],
"x4.32": ["Radius", "Property", 2, [
 ["Shapes.cs", "", [[7, "read"], [7, "read"]]]]],
"x6.28": ["Pi", "Constant", 1, [
 ["Shapes.cs", "", [[7, "read"]]]]],
"x11.42": ["Printed", "Event", 1, [
 ["Shapes.cs", "", [[15, "read"]]]]],
"x12.29": ["Describe", "Function", 0, []]},
"targets": {
"#x12.45": ["shape", "Parameter", "Shapes.cs", 12, "public static string Describe(IShape shape)", 1],
"#x14.16": ["text", "Local", "Shapes.cs", 14, "var text = \"area \" + shape.Area;", 1],
"#x3.21": ["IShape", "Interface", "Shapes.cs", 3, "public interface IShape { double Area { get; } }", 2],
"#x3.37": ["Area", "Property", "Shapes.cs", 3, "public interface IShape { double Area { get; } }", 1],
"#x4.32": ["Radius", "Property", "Shapes.cs", 4, "public record Circle(double Radius) : IShape", 2],
"#x6.28": ["Pi", "Constant", "Shapes.cs", 6, "public const double Pi = 3.14159;", 1],
"#x11.42": ["Printed", "Event", "Shapes.cs", 11, "public static event System.Action Printed;", 1]}});
