// What the scans of C#, Java and Visual Basic record for the shapes of their languages,
// that comments and strings hide names, that any bytes scan without harm, and that the
// records of two files meet in the merge.
#include <gtest/gtest.h>

#include <string>

#include "xref/scan.h"
#include "xref/table.h"

using namespace quillon;
using namespace quillon::xref;

namespace {

const char* roleWord(Role role) {
  static constexpr const char* words[] = {"def", "decl", "read", "call", "write"};
  return words[static_cast<int>(role)];
}

/// The `nth` record of `name` on `line`, told as "ROLE [KIND] [in SCOPE] [q=TYPE] [.|::]
/// [fn=FUNCTION] [local@LINE]"; "missing" when there is none.
std::string told(const FileScan& scan, std::string_view name, std::uint32_t line, int nth = 0) {
  for (const Record& r : scan.records) {
    if (r.line != line || scan.names[r.name] != name || nth-- > 0) continue;
    std::string s = roleWord(r.role);
    if (!isUse(r.role)) s += std::string(" ") + kindName(r.kind);
    if (!isUse(r.role) && r.scope) s += " in " + scan.names[r.scope];
    if (r.qualifier) s += " q=" + scan.names[r.qualifier];
    if (r.flags & AfterMember) s += " .";
    if (r.flags & AfterScope) s += " ::";
    if (r.function != none) s += " fn=" + scan.names[scan.records[r.function].name];
    if (r.local != none) s += " local@" + std::to_string(scan.records[r.local].line);
    return s;
  }
  return "missing";
}

std::string basesOf(const FileScan& scan) {
  std::string s;
  for (const BaseOf& b : scan.bases)
    s += scan.names[scan.records[b.record].name] + ":" + scan.names[b.base] + " ";
  return s;
}

/// Scans the files and tells where the `nth` use of `name` on `line` of file `file` leads:
/// "FILE:LINE" of its symbol, "chooser" or "none".
struct Workspace {
  SymbolTable table;
  void add(std::string_view text, SourceLanguage language) {
    table.files.push_back(scanSource(text, language));
  }
  std::string leads(std::uint32_t file, std::string_view name, std::uint32_t line) const {
    const FileScan& scan = table.files[file];
    for (const Link& link : table.links[file]) {
      if (link.line != line || scan.names[link.name] != name || link.kind == Link::Kind::Anchor)
        continue;
      if (link.kind == Link::Kind::Chooser) return "chooser";
      const Symbol& s = table.symbols[link.target];
      return std::to_string(s.file) + ":" + std::to_string(table.recordOf(s).line);
    }
    return "none";
  }
};

}  // namespace

TEST(ScanCSharp, DefinitionsWithTheirScopesAndBases) {
  const FileScan s = scanSource(
      "namespace Geo.Shapes {\n"                                      // 1
      "  public interface IShape { double Area(); }\n"                // 2
      "  [Serializable] public abstract class Shape : Base<int>, IShape {\n"  // 3
      "    public const int Sides = 0;\n"                             // 4
      "    protected Point origin, corner;\n"                         // 5
      "    public string Name { get; set; } = \"x\";\n"               // 6
      "    public event EventHandler Changed;\n"                      // 7
      "    public delegate void Handler(int code);\n"                 // 8
      "    public Shape(Point at) : base(at) { origin = at; }\n"      // 9
      "    public abstract double Area();\n"                          // 10
      "    public int this[int i] => i;\n"                            // 11
      "  }\n"
      "  public enum Color : byte { Red = 1, Green }\n"               // 13
      "  partial struct Point { public int X, Y; }\n"                 // 14
      "}\n",
      SourceLanguage::CSharp);
  EXPECT_EQ(told(s, "Geo", 1), "def Namespace");
  EXPECT_EQ(told(s, "Shapes", 1), "def Namespace in Geo");
  EXPECT_EQ(told(s, "IShape", 2), "def Interface in Geo::Shapes");
  EXPECT_EQ(told(s, "Area", 2), "def Function in Geo::Shapes::IShape");
  EXPECT_EQ(told(s, "Serializable", 3), "read");
  EXPECT_EQ(told(s, "Shape", 3), "def Class in Geo::Shapes");
  EXPECT_EQ(told(s, "Sides", 4), "def Constant in Geo::Shapes::Shape q=int");
  EXPECT_EQ(told(s, "origin", 5), "def Field in Geo::Shapes::Shape q=Point");
  EXPECT_EQ(told(s, "corner", 5), "def Field in Geo::Shapes::Shape q=Point");
  EXPECT_EQ(told(s, "Name", 6), "def Property in Geo::Shapes::Shape q=string");
  EXPECT_EQ(told(s, "Changed", 7), "def Event in Geo::Shapes::Shape q=EventHandler");
  EXPECT_EQ(told(s, "Handler", 8), "def Delegate in Geo::Shapes::Shape");
  EXPECT_EQ(told(s, "Shape", 9), "def Function in Geo::Shapes::Shape");
  EXPECT_EQ(told(s, "at", 9), "def Parameter in Geo::Shapes::Shape q=Point fn=Shape");
  EXPECT_EQ(told(s, "at", 9, 1), "read fn=Shape local@9");  // in the base call
  EXPECT_EQ(told(s, "origin", 9), "write fn=Shape");
  EXPECT_EQ(told(s, "Area", 10), "def Function in Geo::Shapes::Shape");
  EXPECT_EQ(told(s, "i", 11), "read");  // in the body: an indexer's parameter is no name
  EXPECT_EQ(told(s, "i", 11, 1), "missing");
  EXPECT_EQ(told(s, "Red", 13), "def Enumerator in Geo::Shapes::Color");
  EXPECT_EQ(told(s, "Green", 13), "def Enumerator in Geo::Shapes::Color");
  EXPECT_EQ(told(s, "Y", 14), "def Field in Geo::Shapes::Point q=int");
  EXPECT_EQ(basesOf(s), "Shape:Base Shape:IShape ");
  const FileScan flat = scanSource("namespace Flat;\nrecord Pair(int A, Pair B);\n", SourceLanguage::CSharp);
  EXPECT_EQ(told(flat, "Pair", 2), "def Record in Flat");
  EXPECT_EQ(told(flat, "B", 2), "def Property in Flat::Pair q=Pair");
}

TEST(ScanCSharp, BodiesLocalsMembersCallsAndWrites) {
  const FileScan s = scanSource(
      "class Shape {\n"                                               // 1
      "  Point origin;\n"                                             // 2
      "  void Move(int dx, Point[] marks) {\n"                        // 3
      "    var p = new Point(dx, 0); // dx origin\n"                  // 4
      "    origin.X += p.X; p.Y++;\n"                                 // 5
      "    this.origin = Offset(p, \"origin.Y\" + @\"dx\"\"\" + $\"{dx}\");\n"  // 6
      "    foreach (Shape s in All) { s.Area(); }\n"                  // 7
      "    Func<int, int> twice = n => n * 2, other = (a) => a;\n"    // 8
      "    if (marks[0] is Point q && q.X == Math.Max(dx, 1)) Geo.Util.Log<int>(q);\n"  // 9
      "    /* dx */ int dx2 = dx; { int dx3; }\n"                     // 10
      "    this.origin.X = base.Move(); Shape.Make().X = 1;\n"      // 11
      "    Log($\"{p.X:N2} {(dx > 0 ? dx : -dx),4} {{origin}} {\"s\" + p}\", $@\"{marks}\");\n"  // 12
      "  }\n"
      "}\n",
      SourceLanguage::CSharp);
  EXPECT_EQ(told(s, "dx", 3), "def Parameter in Shape q=int fn=Move");
  EXPECT_EQ(told(s, "marks", 3), "def Parameter in Shape q=Point[] fn=Move");
  EXPECT_EQ(told(s, "p", 4), "def Local in Shape q=Point fn=Move");
  EXPECT_EQ(told(s, "Point", 4), "call fn=Move");
  EXPECT_EQ(told(s, "dx", 4), "read fn=Move local@3");
  EXPECT_EQ(told(s, "dx", 4, 1), "missing");  // in a comment
  EXPECT_EQ(told(s, "origin", 5), "read fn=Move");
  EXPECT_EQ(told(s, "X", 5), "write q=Point . fn=Move");
  EXPECT_EQ(told(s, "X", 5, 1), "read q=Point . fn=Move");
  EXPECT_EQ(told(s, "Y", 5), "write q=Point . fn=Move");
  EXPECT_EQ(told(s, "origin", 6), "write q=Shape . fn=Move");
  EXPECT_EQ(told(s, "Offset", 6), "call fn=Move");
  EXPECT_EQ(told(s, "origin", 6, 1), "missing");  // in strings
  EXPECT_EQ(told(s, "s", 7), "def Local in Shape q=Shape fn=Move");
  EXPECT_EQ(told(s, "Area", 7), "call q=Shape . fn=Move");
  EXPECT_EQ(told(s, "twice", 8), "def Local in Shape q=Func fn=Move");
  EXPECT_EQ(told(s, "n", 8), "def Local in Shape fn=Move");
  EXPECT_EQ(told(s, "n", 8, 1), "read fn=Move local@8");
  EXPECT_EQ(told(s, "other", 8), "def Local in Shape q=Func fn=Move");
  EXPECT_EQ(told(s, "a", 8, 1), "read fn=Move local@8");
  EXPECT_EQ(told(s, "q", 9), "def Local in Shape q=Point fn=Move");
  EXPECT_EQ(told(s, "X", 9), "read q=Point . fn=Move");
  EXPECT_EQ(told(s, "Max", 9), "call q=Math :: fn=Move");
  EXPECT_EQ(told(s, "Log", 9), "call q=Geo::Util :: fn=Move");
  EXPECT_EQ(told(s, "dx2", 10), "def Local in Shape q=int fn=Move");
  EXPECT_EQ(told(s, "dx", 10), "read fn=Move local@3");
  EXPECT_EQ(told(s, "dx3", 10), "def Local in Shape q=int fn=Move");
  EXPECT_EQ(told(s, "X", 11), "write q=Point . fn=Move");     // of the field's type
  EXPECT_EQ(told(s, "Move", 11), "call q=object . fn=Move");  // not the class's own Move
  EXPECT_EQ(told(s, "X", 11, 1), "write . fn=Move");          // after a call: not known
  // The holes of interpolated strings hold uses; their formats and the text do not.
  EXPECT_EQ(told(s, "X", 12), "read q=Point . fn=Move");
  EXPECT_EQ(told(s, "N2", 12), "missing");
  EXPECT_EQ(told(s, "dx", 12, 2), "read fn=Move local@3");
  EXPECT_EQ(told(s, "origin", 12), "missing");
  EXPECT_EQ(told(s, "s", 12), "missing");
  EXPECT_EQ(told(s, "p", 12, 1), "read fn=Move local@4");
  EXPECT_EQ(told(s, "marks", 12), "read fn=Move local@3");
}

TEST(ScanJava, PackagesTypesEnumsRecordsAndBodies) {
  const FileScan s = scanSource(
      "package org.demo;\n"                                            // 1
      "import java.util.List;\n"                                       // 2
      "public class Zoo extends Place implements Runnable, Comparable<Zoo> {\n"  // 3
      "  enum Kind { CAT(\"c\"), DOG(\"d\") { void bark() {} };\n"     // 4
      "    private final String code; Kind(String c) { code = c; } }\n"  // 5
      "  private List<Animal> animals;\n"                              // 6
      "  static final int MAX = 10;\n"                                 // 7
      "  public Zoo(int size) { super(size); }\n"                      // 8
      "  @Override public void run() {\n"                              // 9
      "    for (Animal a : animals) a.feed(MAX);\n"                    // 10
      "    int count = 0, limit = MAX; count++;\n"                     // 11
      "    String s = \"\"\"\n      a.feed() // count\n      \"\"\";\n"  // 12-14
      "    animals.forEach(x -> x.feed(count));\n"                     // 15
      "  }\n"
      "  record Cage(int width, Animal animal) {}\n"                   // 17
      "}\n",
      SourceLanguage::Java);
  EXPECT_EQ(told(s, "org", 1), "def Namespace");
  EXPECT_EQ(told(s, "demo", 1), "def Namespace in org");
  EXPECT_EQ(told(s, "List", 2), "missing");
  EXPECT_EQ(told(s, "Zoo", 3), "def Class in org::demo");
  EXPECT_EQ(basesOf(s), "Zoo:Place Zoo:Runnable Zoo:Comparable ");
  EXPECT_EQ(told(s, "Kind", 4), "def Enum in org::demo::Zoo");
  EXPECT_EQ(told(s, "CAT", 4), "def Enumerator in org::demo::Zoo::Kind");
  EXPECT_EQ(told(s, "DOG", 4), "def Enumerator in org::demo::Zoo::Kind");
  EXPECT_EQ(told(s, "bark", 4), "def Function in org::demo::Zoo::Kind");
  EXPECT_EQ(told(s, "code", 5), "def Field in org::demo::Zoo::Kind q=String");
  EXPECT_EQ(told(s, "Kind", 5), "def Function in org::demo::Zoo::Kind");
  EXPECT_EQ(told(s, "c", 5, 1), "read fn=Kind local@5");
  EXPECT_EQ(told(s, "animals", 6), "def Field in org::demo::Zoo q=List");
  EXPECT_EQ(told(s, "MAX", 7), "def Field in org::demo::Zoo q=int");
  EXPECT_EQ(told(s, "Zoo", 8), "def Function in org::demo::Zoo");
  EXPECT_EQ(told(s, "size", 8, 1), "read fn=Zoo local@8");
  EXPECT_EQ(told(s, "Override", 9), "read");
  EXPECT_EQ(told(s, "run", 9), "def Function in org::demo::Zoo");
  EXPECT_EQ(told(s, "a", 10), "def Local in org::demo::Zoo q=Animal fn=run");
  EXPECT_EQ(told(s, "feed", 10), "call q=Animal . fn=run");
  EXPECT_EQ(told(s, "MAX", 10), "read fn=run");
  EXPECT_EQ(told(s, "limit", 11), "def Local in org::demo::Zoo q=int fn=run");
  EXPECT_EQ(told(s, "count", 11, 1), "write fn=run local@11");
  EXPECT_EQ(told(s, "feed", 13), "missing");  // in a text block
  EXPECT_EQ(told(s, "x", 15), "def Local in org::demo::Zoo fn=run");
  EXPECT_EQ(told(s, "feed", 15), "call . fn=run");
  EXPECT_EQ(told(s, "count", 15), "read fn=run local@11");
  EXPECT_EQ(told(s, "Cage", 17), "def Record in org::demo::Zoo");
  EXPECT_EQ(told(s, "width", 17), "def Field in org::demo::Zoo::Cage q=int");
}

TEST(ScanVisualBasic, BlocksDeclarationsAndUsesWithoutRegardToCase) {
  const FileScan s = scanSource(
      "Namespace App.Core\n"                                           // 1
      "    Public Module Helpers\n"                                    // 2
      "        Public Const Limit As Integer = 10\n"                   // 3
      "        Private cache As New Dictionary(Of String, Shape)\n"    // 4
      "        Public Function Twice(ByVal n As Integer) As Integer\n"  // 5
      "            Dim result As Integer = n * 2 ' n is \"doubled\"\n"  // 6
      "            REM Twice(n) here is a comment\n"                   // 7
      "            RESULT += _\n"                                      // 8
      "                Limit : Return result\n"                        // 9
      "        End Function\n"
      "    End Module\n"
      "    Public Class Shape\n"                                       // 12
      "        Inherits Base\n"
      "        Implements IShape\n"
      "        Public Event Changed(ByVal sender As Object)\n"         // 15
      "        Private mArea As Double, label, title As String\n"      // 16
      "        Public Property Area() As Double\n"                     // 17
      "            Get\n"
      "                Return mArea\n"                                 // 19
      "            End Get\n"
      "            Set(ByVal value As Double)\n"                       // 21
      "                mArea = value\n"                                // 22
      "            End Set\n"
      "        End Property\n"
      "        Public Sub Grow(ByVal s As Shape)\n"                    // 25
      "            s.Area = Me.Area * 2 : s.Grow(\"s.Area\")\n"        // 26
      "            With s\n"
      "                .Grow(Nothing)\n"                               // 28
      "            End With\n"
      "            Dim shape As Shape = New Shape : Dim run As Action = Sub()\n"  // 30
      "                    shape.Grow(s)\n"                           // 31
      "                End Sub\n"
      "        End Sub\n"
      "        Private Declare Function Beep Lib \"kernel32\" (ByVal freq As Integer) As Integer\n"  // 34
      "    End Class\n"
      "    Enum Color\n"
      "        Red = 1\n"                                              // 37
      "    End Enum\n"
      "End Namespace\n",
      SourceLanguage::VB);
  EXPECT_TRUE(s.caseInsensitive);
  EXPECT_EQ(told(s, "Core", 1), "def Namespace in App");
  EXPECT_EQ(told(s, "Helpers", 2), "def Module in App::Core");
  EXPECT_EQ(told(s, "Limit", 3), "def Constant in App::Core::Helpers q=Integer");
  EXPECT_EQ(told(s, "cache", 4), "def Field in App::Core::Helpers q=Dictionary");
  EXPECT_EQ(told(s, "Shape", 4), "read");
  EXPECT_EQ(told(s, "Twice", 5), "def Function in App::Core::Helpers");
  EXPECT_EQ(told(s, "n", 5), "def Parameter in App::Core::Helpers q=Integer fn=Twice");
  EXPECT_EQ(told(s, "result", 6), "def Local in App::Core::Helpers q=Integer fn=Twice");
  EXPECT_EQ(told(s, "n", 6), "read fn=Twice local@5");
  EXPECT_EQ(told(s, "n", 6, 1), "missing");  // in the comment
  EXPECT_EQ(told(s, "Twice", 7), "missing");
  EXPECT_EQ(told(s, "RESULT", 8), "write fn=Twice local@6");
  EXPECT_EQ(told(s, "Limit", 9), "read fn=Twice");  // continued from line 8
  EXPECT_EQ(told(s, "result", 9), "read fn=Twice local@6");
  EXPECT_EQ(told(s, "Shape", 12), "def Class in App::Core");
  EXPECT_EQ(basesOf(s), "Shape:Base Shape:IShape ");
  EXPECT_EQ(told(s, "Changed", 15), "def Event in App::Core::Shape");
  EXPECT_EQ(told(s, "label", 16), "def Field in App::Core::Shape q=String");
  EXPECT_EQ(told(s, "Area", 17), "def Property in App::Core::Shape q=Double");
  EXPECT_EQ(told(s, "mArea", 19), "read fn=Area");
  EXPECT_EQ(told(s, "value", 21), "def Parameter in App::Core::Shape q=Double fn=Area");
  EXPECT_EQ(told(s, "mArea", 22), "write fn=Area");
  EXPECT_EQ(told(s, "value", 22), "read fn=Area local@21");
  EXPECT_EQ(told(s, "Area", 26), "write q=Shape . fn=Grow");
  EXPECT_EQ(told(s, "Area", 26, 1), "read q=App::Core::Shape . fn=Grow");
  EXPECT_EQ(told(s, "Grow", 26), "call q=Shape . fn=Grow");
  EXPECT_EQ(told(s, "Grow", 28), "call q=Shape . fn=Grow");
  EXPECT_EQ(told(s, "Shape", 30, 1), "read fn=Grow");  // a type, though a local is "shape"
  EXPECT_EQ(told(s, "shape", 31), "read fn=Grow local@30");  // in the lambda's block
  EXPECT_EQ(told(s, "s", 31), "read fn=Grow local@25");
  // The lambda's End Sub closed the lambda, Grow's its body: the class goes on.
  EXPECT_EQ(told(s, "Beep", 34), "def Function in App::Core::Shape");
  EXPECT_EQ(told(s, "Red", 37), "def Enumerator in App::Core::Color");
}

TEST(ScanLanguages, MoreShapesOfEachLanguage) {
  const FileScan cs = scanSource(
      "interface IShape { double Area { get; } }\n"                  // 1
      "class Box<T> where T : IShape {\n"                            // 2
      "  T item; public double Area => item.Area;\n"                 // 3
      "  static U Make<U>(U u) => Make<U>(u);\n"                      // 4
      "  void Run() { int Add(int a, int b) => a + b; Box<T> box = null; box.item = item; }\n"  // 5
      "}\n",
      SourceLanguage::CSharp);
  EXPECT_EQ(told(cs, "Area", 1), "def Property in IShape q=double");
  EXPECT_EQ(told(cs, "Area", 3), "def Property in Box q=double");
  EXPECT_EQ(told(cs, "Area", 3, 1), "read q=T . fn=Area");
  EXPECT_EQ(told(cs, "Make", 4, 1), "call fn=Make");
  EXPECT_EQ(told(cs, "u", 4, 1), "read fn=Make local@4");
  EXPECT_EQ(told(cs, "a", 5, 1), "read fn=Run local@5");  // a local function's parameter
  EXPECT_EQ(told(cs, "box", 5), "def Local in Box q=Box fn=Run");
  EXPECT_EQ(told(cs, "item", 5), "write q=Box . fn=Run");

  const FileScan java = scanSource(
      "interface Shape { default double area() { return 0; } }\n"   // 1
      "class Util<T extends Shape> {\n"                              // 2
      "  static <S> void each(java.util.List<S> list, String... tags) {\n"  // 3
      "    list.forEach(Util::show); new Thread(() -> show(tags)).start();\n"  // 4
      "    try (var in = open()) { in.read(); } catch (java.io.IOException e) { e.print(); }\n"  // 5
      "  }\n"
      "}\n",
      SourceLanguage::Java);
  EXPECT_EQ(told(java, "area", 1), "def Function in Shape");
  EXPECT_EQ(told(java, "Util", 2), "def Class");
  EXPECT_EQ(told(java, "list", 3), "def Parameter in Util q=java::util::List fn=each");
  EXPECT_EQ(told(java, "tags", 3), "def Parameter in Util q=String[] fn=each");
  EXPECT_EQ(told(java, "show", 4), "read q=Util :: fn=each");  // a method reference
  EXPECT_EQ(told(java, "tags", 4), "read fn=each local@3");
  EXPECT_EQ(told(java, "in", 5), "def Local in Util fn=each");
  EXPECT_EQ(told(java, "e", 5), "def Local in Util q=java::io::IOException fn=each");
  EXPECT_EQ(told(java, "e", 5, 1), "read fn=each local@5");

  const FileScan vb = scanSource(
      "Class Shop\n"                                                  // 1
      "  Public Custom Event Sold As EventHandler\n"                 // 2
      "    AddHandler(ByVal value As EventHandler)\n"                // 3
      "    End AddHandler\n"
      "  End Event\n"
      "  Sub Run(ByVal items() As String)\n"                         // 6
      "    For Each item As String In items : Next\n"                // 7
      "    For n As Integer = 1 To 3 : n = n + 1 : Next\n"           // 8
      "    Using r As New Reader(items(0)) : items(0) = \"\" : Run(items)\n"  // 9
      "    End Using\n"
      "    Try\n    Catch ex As Exception\n"                        // 11-12
      "    End Try\n"
      "  End Sub\n"
      "End Class\n",
      SourceLanguage::VB);
  EXPECT_EQ(told(vb, "Sold", 2), "def Event in Shop q=EventHandler");
  EXPECT_EQ(told(vb, "value", 3), "def Parameter in Shop q=EventHandler fn=Sold");
  EXPECT_EQ(told(vb, "items", 6), "def Parameter in Shop q=String[] fn=Run");
  EXPECT_EQ(told(vb, "item", 7), "def Local in Shop q=String fn=Run");
  EXPECT_EQ(told(vb, "items", 7), "read fn=Run local@6");
  EXPECT_EQ(told(vb, "n", 8, 1), "write fn=Run local@8");
  EXPECT_EQ(told(vb, "r", 9), "def Local in Shop q=Reader fn=Run");
  EXPECT_EQ(told(vb, "items", 9, 1), "write fn=Run local@6");  // an element written
  EXPECT_EQ(told(vb, "Run", 9), "call fn=Run");
  EXPECT_EQ(told(vb, "ex", 12), "def Local in Shop q=Exception fn=Run");
}

TEST(ScanLanguages, AnyBytesScanWithoutHarmAndRecordsStayConsistent) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  const std::string hostile[] = {
      junk,
      "class A { void f() { /* never closed",
      "class A { string s = \"never closed\n; char c = '\\",
      "class A { string s = @\"never\n closed",
      "var s = \"\"\"\nnever closed",
      "}}}} ) ] class { { ( < < void f( int",
      std::string(200000, '{') + std::string(100000, '('),
      std::string(100000, '<') + "a" + std::string(100000, '>'),
      "class A { void f() { " + std::string(300000, 'a') + std::string(1, '.') + "}}",
      [] {
        std::string line = "x";
        for (int i = 0; i < 100000; ++i) line += ".a(b";
        return line;
      }(),
      "End End Sub End\nSub\nFunction f(\nProperty p\n  Get\n_",
      std::string(50000, '_') + " _\n_",
      [] {
        std::string nested;
        for (int i = 0; i < 20000; ++i) nested += "Namespace A\nClass B\nSub C(x As T)\n";
        return nested + "End Foo\n";
      }(),
      "Dim a(((((((, b As New\n#If\n\"never closed\n[escaped",
      "class A { void f() { var s = $\"{{{{{ {$\"{$@\"{(((\" ; } } $\"{x:",
      [] {
        std::string nested;
        for (int i = 0; i < 20000; ++i) nested += "namespace A { class B { void C(T x) { ";
        return nested;
      }(),
  };
  for (const std::string& text : hostile)
    for (SourceLanguage language : {SourceLanguage::CSharp, SourceLanguage::Java, SourceLanguage::VB}) {
      const FileScan scan = scanSource(text, language);
      for (const Record& r : scan.records) {
        ASSERT_LT(r.name, scan.names.size());
        ASSERT_LT(r.scope, scan.names.size());
        ASSERT_LT(r.qualifier, scan.names.size());
        ASSERT_TRUE(r.function == none || r.function < scan.records.size());
        ASSERT_TRUE(r.local == none || (r.local < scan.records.size() &&
                                        !isUse(scan.records[r.local].role)));
      }
    }
}

TEST(ScanLanguages, CallsOfOneFileLeadToDefinitionsInAnotherByTheVariablesType) {
  Workspace cs;
  cs.add("namespace Geo { class Circle { public double Area() { return 1; } }\n"
         "class Square { public double Area() { return 2; } }\n"
         "static class Util { public static void Log() {} } }\n",
         SourceLanguage::CSharp);
  cs.add("namespace Geo.App { class Run {\n"
         "  void Go(Square s) { s.Area(); Util.Log(); Helper(); }\n"
         "  void Helper() {} } }\n",
         SourceLanguage::CSharp);
  resolveSymbols(cs.table);
  EXPECT_EQ(cs.leads(1, "Area", 2), "0:2");
  EXPECT_EQ(cs.leads(1, "Log", 2), "0:3");
  EXPECT_EQ(cs.leads(1, "Helper", 2), "1:3");
  EXPECT_EQ(cs.leads(1, "Square", 2), "0:2");

  Workspace java;
  java.add("package zoo;\nclass Animal { void feed() {} }\nclass Plant { void feed() {} }\n",
           SourceLanguage::Java);
  java.add("package zoo;\nclass Keeper {\n  void work(Plant p) { p.feed(); }\n}\n",
           SourceLanguage::Java);
  resolveSymbols(java.table);
  EXPECT_EQ(java.leads(1, "feed", 3), "0:3");
  EXPECT_EQ(java.leads(1, "Plant", 3), "0:3");

  Workspace vb;
  vb.add("Module Tools\n  Function Twice(n As Integer) As Integer\n    Return n\n  End Function\nEnd Module\n"
         "Class Circle\n  Sub Grow()\n  End Sub\nEnd Class\nClass Square\n  Sub Grow()\n  End Sub\nEnd Class\n",
         SourceLanguage::VB);
  vb.add("Class Form1\n  Sub Click(sq As Square)\n    TWICE(2)\n    sq.grow()\n  End Sub\nEnd Class\n",
         SourceLanguage::VB);
  resolveSymbols(vb.table);
  EXPECT_EQ(vb.leads(1, "TWICE", 3), "0:2");
  EXPECT_EQ(vb.leads(1, "grow", 4), "0:11");
}
