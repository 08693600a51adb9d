// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["Customer.cs","Customer.cs.htm","Customer.cs",""],
["Order.cs","Order.cs.htm","Order.cs",""],
["Program.cs","Program.cs.htm","Program.cs",""],
["Version.cs","Version.cs.htm","Version.cs",""]
],
"records": [
[0,"Customer","Customer.cs.htm#Customer","Customer.cs.htm"],
[0,"Program","Program.cs.htm#Program","Program.cs.htm"],
[0,"Version","Version.cs.htm#Version","Version.cs.htm"],
[1,"Order","Order.cs.htm#Order","Order.cs.htm"],
[2,"OrderState","Order.cs.htm#OrderState","Order.cs.htm"]
],
"members": [
[0,"Customer(string name)",1],
[0,"{get",3],
[1,"Main(string[] args)",1],
[2,"=\"1.2.0\"",3],
[3,"Number",2],
[3,"State",2]
]
});
