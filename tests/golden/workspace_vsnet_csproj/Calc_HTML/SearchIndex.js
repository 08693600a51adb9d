// The names of this workspace for the search box of its trees. files: [name, target,
// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];
// members: [record, text, icon, target when not the record's].
quillonSearchIndex({
"files": [
["AssemblyInfo.cs","AssemblyInfo.cs.htm","AssemblyInfo.cs",""],
["Calculator.cs","Calculator.cs.htm","Calculator.cs",""],
["Tokenizer.cs","Tokenizer.cs.htm","Tokenizer.cs",""],
["AboutBox.cs","AboutBox.cs.htm","AboutBox.cs",""],
["MainForm.cs","MainForm.cs.htm","MainForm.cs",""],
["SharedVersion.cs","SharedVersion.cs.htm","SharedVersion.cs",""],
["App.ico","Images/App.ico","App.ico",""],
["AboutBox.resx","AboutBox.resx.htm","AboutBox.resx",""],
["MainForm.resx","MainForm.resx.htm","MainForm.resx",""],
["keypad.bmp","Images/keypad.bmp","keypad.bmp",""]
],
"records": [
[0,"AboutBox","AboutBox.cs.htm#AboutBox","AboutBox.cs.htm"],
[0,"Calculator","Calculator.cs.htm#Calculator","Calculator.cs.htm"],
[0,"MainForm","MainForm.cs.htm#MainForm","MainForm.cs.htm"],
[0,"SharedVersion","SharedVersion.cs.htm#SharedVersion","SharedVersion.cs.htm"],
[0,"Tokenizer","Tokenizer.cs.htm#Tokenizer","Tokenizer.cs.htm"]
],
"members": [
[0,"title",3],
[0,"AboutBox()",1],
[1,"memory",3],
[1,"ArrayList()",1],
[1,"Evaluate(string line)",1],
[1,"Sum(Tokenizer tokens)",1],
[1,"Product(Tokenizer tokens)",1],
[2,"display",3],
[2,"equals",3],
[2,"=null",3],
[2,"Calculator()",1],
[2,"MainForm()",1],
[2,"Dispose(bool disposing)",1],
[2,"InitializeComponent()",1],
[2,"Main()",1],
[2,"OnEquals(object sender, System.EventArgs e)",1],
[3,"=\"1.2\"",3],
[4,"text",3],
[4,"position",3],
[4,"Tokenizer(string text)",1],
[4,"Peek()",1],
[4,"Next()",1],
[4,"Number()",1],
[4,"SkipBlanks()",1]
]
});
