quillonXref({"page": "Shapes.vb.htm",
"defs": {
"x4.38": ["value", "Parameter", 1, [
 ["Shapes.vb", "", [[5, "read"]]]]],
"x5.16": ["result", "Local", 1, [
 ["Shapes.vb", "", [[6, "read"]]]]],
"x1.10": ["Geometry", "Namespace", 0, []],
"x2.18": ["Sizes", "Module", 0, []],
"x10.17": ["Triangle", "Class", 0, []],
"x3.21": ["Scale", "Constant", 1, [
 ["Shapes.vb", "", [[5, "read"]]]]],
"x4.24": ["Doubled", "Function", 1, [
 ["Shapes.vb", "", [[14, "read"]]]]],
"x11.24": ["Base", "Property", 2, [
 ["Shapes.vb", "", [[14, "write"], [14, "read"]]]]],
"x12.21": ["Changed", "Event", 1, [
 ["Shapes.vb", "", [[16, "read"]]]]],
"x13.19": ["Grow", "Function", 0, []]},
"targets": {
"#x4.38": ["value", "Parameter", "Shapes.vb", 4, "Public Function Doubled(ByVal value As Integer) As Integer", 1],
"#x5.16": ["result", "Local", "Shapes.vb", 5, "Dim result As Integer = value * SCALE", 1],
"#x3.21": ["Scale", "Constant", "Shapes.vb", 3, "Public Const Scale As Integer = 2", 1],
"#x4.24": ["Doubled", "Function", "Shapes.vb", 4, "Public Function Doubled(ByVal value As Integer) As Integer", 1],
"#x11.24": ["Base", "Property", "Shapes.vb", 11, "Public Property Base As Integer", 2],
"#x12.21": ["Changed", "Event", "Shapes.vb", 12, "Public Event Changed()", 1]}});
