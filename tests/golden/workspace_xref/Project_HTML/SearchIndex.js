// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["shapes.cpp","shapes.cpp.htm","shapes.cpp",""],
["Shapes.cs","Shapes.cs.htm","Shapes.cs",""],
["Rectangle.java","Rectangle.java.htm","Rectangle.java",""],
["Shapes.vb","Shapes.vb.htm","Shapes.vb",""],
["shapes.h","shapes.h.htm","shapes.h",""]
],
"records": [
[0,"Unit","shapes.h.htm#Unit","shapes.h.htm"],
[0,"Shape","shapes.h.htm#Shape","shapes.h.htm"],
[0,"Square","shapes.h.htm#Square","shapes.h.htm"],
[0,"Report","Shapes.cs.htm#Report","Shapes.cs.htm"],
[0,"Rectangle","Rectangle.java.htm#Rectangle","Rectangle.java.htm"],
[1,"Point","shapes.h.htm#Point","shapes.h.htm"]
],
"members": [
[1,"~Shape()",0],
[1,"area()",0],
[2,"Square(int side) : side_(side)",0],
[2,"area() const override { return SQUARE(side_)",0],
[2,"side_",3],
[3,"Printed",3],
[3,"Describe(IShape shape)",1],
[4,"width",3],
[4,"height",3],
[4,"Rectangle(int width, int height)",1],
[4,"area()",1],
[4,"side(Side which)",1],
[4,"main(String[] args)",1]
]
});
