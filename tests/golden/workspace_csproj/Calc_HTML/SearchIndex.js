// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["Form1.cs","Form1.cs.htm","Form1.cs",""],
["AssemblyInfo.cs","AssemblyInfo.cs.htm","AssemblyInfo.cs",""],
["Form1.resx","Form1.resx.htm","Form1.resx",""]
],
"records": [
[0,"Form1","Form1.cs.htm#Form1","Form1.cs.htm"]
],
"members": [
]
});
