// The part of the per-file scan that every language shares: records put in order, placed
// by the occurrence of their name on the line, and the texts of their lines.
#include <gtest/gtest.h>

#include "xref/scan.h"
#include "xref/table.h"

using namespace quillon::xref;

namespace {

Record at(FileScan& scan, std::string_view name, std::uint32_t line, std::uint32_t column,
          Role role = Role::Read) {
  Record r;
  r.name = scan.intern(name);
  r.line = line;
  r.column = column;
  r.role = role;
  return r;
}

}  // namespace

TEST(FinishScan, OrdersRecordsCountsOccurrencesAndKeepsLineTexts) {
  const std::string text = "\tint a = a_b + a; // a\r\n  a$x = f(a);\nlast";
  FileScan scan;
  scan.records = {at(scan, "a", 2, 10), at(scan, "a", 1, 15), at(scan, "a", 1, 5, Role::Definition),
                  at(scan, "a", 1, 6),    // not a whole identifier there: dropped
                  at(scan, "a$x", 2, 2, Role::Write), at(scan, "last", 3, 0),
                  at(scan, "last", 3, 0, Role::Definition)};  // one place twice: the definition
  scan.records[0].local = 2;  // the use on line 2 is of the definition on line 1
  finishScan(text, scan);
  ASSERT_EQ(scan.records.size(), 5u);
  std::vector<std::uint32_t> ordinals;
  for (const Record& r : scan.records) ordinals.push_back(r.ordinal);
  EXPECT_EQ(ordinals, (std::vector<std::uint32_t>{0, 1, 0, 0, 0}));
  EXPECT_EQ(scan.records[3].line, 2u);
  EXPECT_EQ(scan.records[3].local, 0u);  // moved with its definition
  EXPECT_EQ(scan.lineText(1), "int a = a_b + a; // a");
  EXPECT_EQ(scan.lineText(2), "a$x = f(a);");
  EXPECT_EQ(scan.lineText(3), "last");
  EXPECT_EQ(scan.records[4].role, Role::Definition);
  EXPECT_EQ(scan.lineText(4), "");
}

TEST(FinishScan, CutsLongLineTextsWithinTheLimitAndNeverToNothing) {
  // A line of UTF-8 is cut before a character the limit would split; a line of 8-bit
  // bytes that are no UTF-8 (all of them continuation bytes) is cut at the limit.
  const std::string utf8 = "a " + std::string(lineTextLimit - 3, 'x') + "\xE2\x82\xAC tail";
  const std::string bytes = "b " + std::string(2 * lineTextLimit, '\x8B');
  const std::string text = utf8 + "\n" + bytes + "\n";
  FileScan scan;
  scan.records = {at(scan, "a", 1, 0), at(scan, "b", 2, 0)};
  finishScan(text, scan);
  EXPECT_EQ(scan.lineText(1), utf8.substr(0, lineTextLimit - 1));
  EXPECT_EQ(scan.lineText(2), bytes.substr(0, lineTextLimit));
}

// ---------------------------------------------------------------------------------------
// C and C++

namespace {

/// A record of `scan` by its name and line (the `nth` of them on the line, from 0).
const Record* find(const FileScan& scan, std::string_view name, std::uint32_t line, int nth = 0) {
  for (const Record& r : scan.records)
    if (r.line == line && scan.names[r.name] == name && nth-- == 0) return &r;
  return nullptr;
}

/// "Kind Role scope qualifier" of a record, or "none".
std::string describe(const FileScan& scan, const Record* r) {
  if (!r) return "none";
  static const char* const roles[] = {"Definition", "Declaration", "Read", "Call", "Write"};
  std::string s = std::string(kindName(r->kind)) + " " + roles[static_cast<int>(r->role)];
  s += " [" + scan.names[r->scope] + "]";
  if (r->qualifier) s += " :" + scan.names[r->qualifier];
  if (r->flags & FileLocal) s += " static";
  if (r->flags & AfterMember) s += " .";
  if (r->flags & AfterScope) s += " ::";
  return s;
}

std::string at(const FileScan& scan, std::string_view name, std::uint32_t line, int nth = 0) {
  return describe(scan, find(scan, name, line, nth));
}

std::uint32_t indexOf(const FileScan& scan, const Record* r) {
  return r ? static_cast<std::uint32_t>(r - scan.records.data()) : none;
}

}  // namespace

TEST(FinishScan, NamesKeepTheirIdsWhetherTheIndexIsKeptOrLetGo) {
  FileScan scan;
  EXPECT_EQ(scan.intern(""), 0u);
  std::vector<NameId> ids;
  for (int i = 0; i < 500; ++i) ids.push_back(scan.intern("n" + std::to_string(i)));
  for (int i = 0; i < 500; ++i) EXPECT_EQ(ids[i], static_cast<NameId>(i + 1));
  scan.releaseNameIndex();
  for (int i = 499; i >= 0; --i) EXPECT_EQ(scan.intern("n" + std::to_string(i)), ids[i]);
  EXPECT_EQ(scan.intern("new"), 501u);
  scan.names.push_back("pushed");  // a name added to the list directly is found too
  EXPECT_EQ(scan.intern("pushed"), 502u);
  EXPECT_EQ(scan.intern("N0"), 503u);
  EXPECT_EQ(scan.names.size(), 504u);
}

TEST(CppScan, FindsEachKindOfDefinitionWithItsScope) {
  const std::string text =
      "#define LIMIT 10\n"                                     // 1
      "namespace geo { namespace {\n"                          // 2
      "int hidden;\n"                                          // 3
      "}\n"                                                    // 4
      "class Shape;\n"                                         // 5
      "struct Point { int x, y; double length() const { return x; } };\n"  // 6
      "class Box : public Shape, private ns::Base<int> {\n"    // 7
      " public:\n"                                             // 8
      "  enum Side { Left, Right = LIMIT };\n"                 // 9
      "  enum class Mode : char { On };\n"                     // 10
      "  Box(int w);\n"                                        // 11
      "  ~Box();\n"                                            // 12
      "  static Point corner;\n"                               // 13
      "  Q_OBJECT\n"                                           // 14
      "};\n"                                                   // 15
      "typedef Point Pair;  using Alias = std::vector<Point>;\n"  // 16
      "}  // namespace geo\n"                                  // 17
      "static int counter = 0; extern int shared;\n"           // 18
      "int area(int w, int h);\n"                              // 19
      "static int twice(int v) { return v * 2; }\n"            // 20
      "geo::Box::Box(int w) : width(w) {}\n"                   // 21
      "geo::Box::~Box() {}\n"                                  // 22
      "typedef struct { int r; } Color, *ColorRef;\n"          // 23
      "union Value { int i; float f; } value;\n"               // 24
      "template <class T> T biggest(const T& a, T b) { return a; }\n"  // 25
      "geo::Point geo::Box::corner = {};\n";                    // 26
  const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
  EXPECT_EQ(at(scan, "LIMIT", 1), "Macro Definition []");
  EXPECT_EQ(at(scan, "geo", 2), "Namespace Definition []");
  EXPECT_EQ(at(scan, "hidden", 3), "Variable Definition [geo] :int static");
  EXPECT_EQ(at(scan, "Shape", 5), "Class Declaration [geo]");
  EXPECT_EQ(at(scan, "Point", 6), "Struct Definition [geo]");
  EXPECT_EQ(at(scan, "y", 6), "Field Definition [geo::Point] :int");
  EXPECT_EQ(at(scan, "length", 6), "Function Definition [geo::Point]");
  EXPECT_EQ(at(scan, "x", 6, 1), "Unknown Read [geo::Point]");  // return x
  EXPECT_EQ(at(scan, "Box", 7), "Class Definition [geo]");
  EXPECT_EQ(at(scan, "Left", 9), "Enumerator Definition [geo::Box]");
  EXPECT_EQ(at(scan, "LIMIT", 9), "Unknown Read [geo::Box]");
  EXPECT_EQ(at(scan, "On", 10), "Enumerator Definition [geo::Box::Mode]");
  EXPECT_EQ(at(scan, "Box", 11), "Function Declaration [geo::Box]");
  EXPECT_EQ(at(scan, "Box", 12), "Function Declaration [geo::Box]");
  EXPECT_EQ(at(scan, "corner", 13), "Field Declaration [geo::Box] :Point");
  EXPECT_EQ(at(scan, "corner", 26), "Field Definition [geo::Box] :geo::Point");
  EXPECT_EQ(at(scan, "Pair", 16), "Typedef Definition [geo] :Point");
  EXPECT_EQ(at(scan, "Alias", 16), "Typedef Definition [geo] :std::vector");
  EXPECT_EQ(at(scan, "counter", 18), "Variable Definition [] :int static");
  EXPECT_EQ(at(scan, "shared", 18), "Variable Declaration [] :int");
  EXPECT_EQ(at(scan, "area", 19), "Function Declaration []");
  EXPECT_EQ(at(scan, "w", 19), "none");  // a prototype's parameters are nothing
  EXPECT_EQ(at(scan, "twice", 20), "Function Definition [] static");
  EXPECT_EQ(at(scan, "Box", 21, 1), "Function Definition [geo::Box]");
  EXPECT_EQ(at(scan, "width", 21), "Unknown Call [geo::Box]");
  EXPECT_EQ(at(scan, "Box", 22, 1), "Function Definition [geo::Box]");
  EXPECT_EQ(at(scan, "Color", 23), "Struct Definition []");
  EXPECT_EQ(at(scan, "r", 23), "Field Definition [Color] :int");
  EXPECT_EQ(at(scan, "ColorRef", 23), "Typedef Definition [] :Color");
  EXPECT_EQ(at(scan, "value", 24), "Variable Definition [] :Value");
  EXPECT_EQ(at(scan, "biggest", 25), "Function Definition []");
  EXPECT_EQ(at(scan, "T", 25), "none");  // a template's parameter
  EXPECT_EQ(at(scan, "a", 25), "Parameter Definition []");
  // The bases as written.
  ASSERT_EQ(scan.bases.size(), 2u);
  EXPECT_EQ(scan.names[scan.bases[0].base], "Shape");
  EXPECT_EQ(scan.names[scan.bases[1].base], "ns::Base");
  EXPECT_EQ(indexOf(scan, find(scan, "Box", 7)), scan.bases[1].record);
}

TEST(CppScan, LocalsAndParametersLeadTheirUsesWithinTheirFunction) {
  const std::string text =
      "struct Point { int x; };\n"                              // 1
      "int walk(Point* p, int n) {\n"                           // 2
      "  int total = 0, i = n;\n"                               // 3
      "  for (int k = 0; k < n; ++k) { total += p->x; }\n"      // 4
      "  { double total = 1.5; total++; }\n"                    // 5
      "  Point q{1}; q.x = go(i);\n"                            // 6
      "  std::sort(p, p + n, [](const Point& a, int b) { return a.x < b; });\n"  // 7
      "  geo::Box::make(total);\n"                              // 8
      "  return total;\n"                                       // 9
      "}\n"
      "void link(struct node* node) {\n"                        // 11
      "  struct node* next = node;\n"                           // 12
      "}\n";
  const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
  const std::uint32_t walk = indexOf(scan, find(scan, "walk", 2));
  const Record* p = find(scan, "p", 2);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(describe(scan, p), "Parameter Definition [] :Point");
  EXPECT_EQ(p->function, walk);
  const Record* total = find(scan, "total", 3);
  EXPECT_EQ(describe(scan, total), "Local Definition [] :int");
  EXPECT_EQ(at(scan, "i", 3), "Local Definition [] :int");
  EXPECT_EQ(find(scan, "n", 3)->local, indexOf(scan, find(scan, "n", 2)));
  EXPECT_EQ(at(scan, "k", 4), "Local Definition [] :int");
  EXPECT_EQ(at(scan, "k", 4, 2), "Unknown Write []");  // ++k
  const Record* sum = find(scan, "total", 4);
  EXPECT_EQ(describe(scan, sum), "Unknown Write []");
  EXPECT_EQ(sum->local, indexOf(scan, total));
  EXPECT_EQ(sum->function, walk);
  EXPECT_EQ(at(scan, "x", 4), "Unknown Read [] :Point .");  // p->x
  // The inner block's own total, and the outer one again after it.
  EXPECT_EQ(find(scan, "total", 5, 1)->local, indexOf(scan, find(scan, "total", 5)));
  EXPECT_EQ(find(scan, "total", 8)->local, indexOf(scan, total));
  EXPECT_EQ(at(scan, "q", 6), "Local Definition [] :Point");
  EXPECT_EQ(at(scan, "x", 6), "Unknown Write [] :Point .");
  EXPECT_EQ(at(scan, "go", 6), "Unknown Call []");
  EXPECT_EQ(find(scan, "go", 6)->local, none);
  // A lambda's parameters are its own.
  EXPECT_EQ(at(scan, "a", 7), "Parameter Definition [] :Point");
  EXPECT_EQ(find(scan, "b", 7, 1)->local, indexOf(scan, find(scan, "b", 7)));
  EXPECT_EQ(at(scan, "sort", 7), "Unknown Call [] :std ::");
  EXPECT_EQ(at(scan, "make", 8), "Unknown Call [] :geo::Box ::");
  EXPECT_EQ(at(scan, "Box", 8), "Unknown Read [] :geo ::");
  EXPECT_EQ(find(scan, "total", 9)->local, indexOf(scan, total));
  // "struct node* node": the tag is never the parameter or local of its name.
  const std::uint32_t node = indexOf(scan, find(scan, "node", 11, 1));
  EXPECT_EQ(find(scan, "node", 11)->local, none);
  EXPECT_EQ(find(scan, "node", 12)->local, none);
  EXPECT_EQ(find(scan, "node", 12, 1)->local, node);
}

TEST(CppScan, TellsStatementsThatDeclareFromThoseThatDoNot) {
  const std::string text =
      "void body(Map& m) {\n"                                   // 1
      "  a = b * c; std::cout << d; e < f; g(h); i->j = k;\n"     // 2
      "  for (auto& [key, value] : m) use(key);\n"              // 3
      "  try { } catch (const Error& err) { log(err); }\n"       // 4
      "  if (auto* p = find(m)) p->go();\n"                     // 5
      "  std::map<int, Item> items; Item* one = nullptr, *two;\n"  // 6
      "  unsigned long long n = sizeof(Item), *q = &n;\n"       // 7
      "  return {items, two};\n"                                // 8
      "}\n";
  const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"})
    EXPECT_EQ(find(scan, name, 2)->kind, SymbolKind::Unknown) << name;
  EXPECT_EQ(at(scan, "a", 2), "Unknown Write []");
  EXPECT_EQ(at(scan, "key", 3), "Local Definition []");
  EXPECT_EQ(find(scan, "key", 3, 1)->local, indexOf(scan, find(scan, "key", 3)));
  EXPECT_EQ(at(scan, "err", 4), "Local Definition [] :Error");
  EXPECT_EQ(at(scan, "p", 5), "Local Definition []");
  EXPECT_EQ(at(scan, "go", 5), "Unknown Call [] .");  // "auto": its type is not known
  EXPECT_EQ(at(scan, "items", 6), "Local Definition [] :std::map");
  EXPECT_EQ(at(scan, "Item", 6), "Unknown Read []");
  EXPECT_EQ(at(scan, "one", 6), "Local Definition [] :Item");
  EXPECT_EQ(at(scan, "two", 6), "Local Definition [] :Item");
  EXPECT_EQ(at(scan, "n", 7), "Local Definition [] :long");
  EXPECT_EQ(at(scan, "q", 7), "Local Definition [] :long");
  EXPECT_EQ(find(scan, "two", 8)->local, indexOf(scan, find(scan, "two", 6)));
}

TEST(CppScan, PlacesNamesAfterLiteralsAndCommentsOfSeveralLines) {
  const std::string text =
      "const char* s = R\"--(one\n"                             // 1
      "two)\" still)--\"; int a;\n"                            // 2
      "/* x\r\n"                                               // 3
      " y */ int b; // c \\\n"                                 // 4
      "int c;\n"                                                // 5: still the comment
      "char* t = \"d\\\n"                                     // 6
      "e\"; int\\\n"                                          // 7
      "  d = 1'000'000; char q = u8'\\'';\n"                  // 8
      "int f;\n";                                               // 9
  const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
  EXPECT_EQ(at(scan, "a", 2), "Variable Definition [] :int");
  EXPECT_EQ(find(scan, "a", 2)->column, 21u);
  EXPECT_EQ(at(scan, "b", 4), "Variable Definition [] :int");
  EXPECT_EQ(at(scan, "c", 4), "none");
  EXPECT_EQ(at(scan, "c", 5), "none");
  EXPECT_EQ(at(scan, "t", 6), "Variable Definition [] :char");
  EXPECT_EQ(at(scan, "e", 7), "none");
  EXPECT_EQ(at(scan, "d", 8), "Variable Definition [] :int");  // "int" ends the line before
  EXPECT_EQ(find(scan, "d", 8)->column, 2u);
  EXPECT_EQ(at(scan, "q", 8), "Variable Definition [] :char");
  EXPECT_EQ(at(scan, "f", 9), "Variable Definition [] :int");
}

TEST(CppScan, ReadsTemplatesOperatorsAndMembersOfTheirClass) {
  const std::string text =
      "namespace a::b { extern \"C\" { int plain(void); } }\n"     // 1
      "template <typename K, int N = 4> class Table {\n"           // 2
      "  Q_OBJECT\n"                                               // 3
      " public:\n"                                                 // 4
      "  int count() const { return items.size() + this->spare; }\n"  // 5
      "  bool operator==(const Table& o) const { return o.spare == spare; }\n"  // 6
      "  Table() = default;\n"                                     // 7
      "  List<K> items; int spare;\n"                              // 8
      "  friend class Helper; friend void swap(Table&, Table&);\n"  // 9
      "};\n"                                                       // 10
      "template <typename K, int N> void Table<K, N>::grow(K key) { items.add(key); }\n"  // 11
      "typedef void (*Handler)(int code);\n"                       // 12
      "struct Table t, *u = nullptr;  Widget::Widget() : base{1}, size(2) { size = 3; }\n"  // 13
      "typedef enum { Red, Green } Colour;\n"                      // 14
      "std::vector<std::pair<int, Colour>> pairs;\n";              // 15
  const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
  EXPECT_EQ(at(scan, "a", 1), "Namespace Definition []");
  EXPECT_EQ(at(scan, "b", 1), "Namespace Definition [a]");
  EXPECT_EQ(at(scan, "plain", 1), "Function Declaration [a::b]");
  EXPECT_EQ(at(scan, "K", 2), "none");
  EXPECT_EQ(at(scan, "Table", 2), "Class Definition []");
  EXPECT_EQ(at(scan, "Q_OBJECT", 3), "Unknown Read [Table]");
  EXPECT_EQ(at(scan, "count", 5), "Function Definition [Table]");
  // A field declared after the function that uses it, and "this->".
  EXPECT_EQ(at(scan, "size", 5), "Unknown Call [Table] :List .");
  EXPECT_EQ(at(scan, "spare", 5), "Unknown Read [Table] :Table .");
  EXPECT_EQ(at(scan, "o", 6), "Parameter Definition [Table] :Table");  // an operator: no record
  EXPECT_EQ(at(scan, "spare", 6), "Unknown Read [Table] :Table .");
  EXPECT_EQ(at(scan, "Table", 7), "Function Declaration [Table]");
  EXPECT_EQ(at(scan, "items", 8), "Field Definition [Table] :List");
  EXPECT_EQ(at(scan, "Helper", 9), "Struct Read [Table]");  // a friend declares nothing here: a tag
  EXPECT_EQ(at(scan, "swap", 9), "Unknown Call [Table]");
  EXPECT_EQ(at(scan, "grow", 11), "Function Definition [Table]");
  EXPECT_EQ(at(scan, "key", 11), "Parameter Definition [Table]");
  EXPECT_EQ(at(scan, "add", 11), "Unknown Call [Table] :List .");
  EXPECT_EQ(at(scan, "Handler", 12), "Typedef Definition []");
  EXPECT_EQ(at(scan, "code", 12), "none");
  EXPECT_EQ(at(scan, "Table", 13), "Struct Read []");  // after "struct": a tag, only a type
  EXPECT_EQ(at(scan, "t", 13), "Variable Definition [] :Table");
  EXPECT_EQ(at(scan, "u", 13), "Variable Definition [] :Table");
  EXPECT_EQ(at(scan, "Widget", 13, 1), "Function Definition [Widget]");
  EXPECT_EQ(at(scan, "base", 13), "Unknown Read [Widget]");
  EXPECT_EQ(at(scan, "size", 13, 1), "Unknown Write [Widget]");
  EXPECT_EQ(at(scan, "Colour", 14), "Enum Definition []");
  EXPECT_EQ(at(scan, "Green", 14), "Enumerator Definition []");
  EXPECT_EQ(at(scan, "pairs", 15), "Variable Definition [] :std::vector");
  EXPECT_EQ(at(scan, "Colour", 15), "Unknown Read []");
}

TEST(CppScan, CommentsLiteralsAndDirectivesHoldNoUses) {
  const std::string text =
      "#include <vector> // vector\n"                           // 1
      "#define MAX(a, b) ((a) > (b) ? (a) : limit)\n"           // 2
      "#ifdef FEATURE\n"                                        // 3
      "/* hidden\n"                                             // 4
      "   still */ int shown = 'x';\n"                          // 5
      "const char* s = \"not \\\" here\" u8\"nor\" R\"d(raw )\" inside)d\";\n"  // 6
      "int after = MAX(shown, \\\n"                             // 7
      "  shown);  // shown\n"                                   // 8
      "#endif\n"                                                // 9
      "#if 0\nint skipped;\n#else\nint kept;\n#endif\n"          // 10-14
      "#ifdef WIDE\nint pick(int a) {\n#else\nint pick() {\n#endif\n"  // 15-19
      "  return 0;\n}\nint last;\n";                            // 20-22
  const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
  EXPECT_EQ(at(scan, "vector", 1), "none");
  EXPECT_EQ(at(scan, "MAX", 2), "Macro Definition []");
  EXPECT_EQ(at(scan, "a", 2), "none");  // the macro's parameters
  EXPECT_EQ(at(scan, "limit", 2), "Unknown Read []");
  EXPECT_EQ(at(scan, "FEATURE", 3), "Unknown Read []");
  EXPECT_EQ(at(scan, "hidden", 4), "none");
  EXPECT_EQ(at(scan, "shown", 5), "Variable Definition [] :int");
  for (const char* word : {"not", "here", "nor", "raw", "inside", "u8"}) EXPECT_EQ(at(scan, word, 6), "none") << word;
  EXPECT_EQ(at(scan, "s", 6), "Variable Definition [] :char");
  EXPECT_EQ(at(scan, "after", 7), "Variable Definition [] :int");
  EXPECT_EQ(at(scan, "MAX", 7), "Unknown Call []");
  EXPECT_EQ(at(scan, "shown", 8), "Unknown Read []");  // after the line continuation
  EXPECT_EQ(at(scan, "shown", 8, 1), "none");
  EXPECT_EQ(at(scan, "skipped", 11), "none");
  EXPECT_EQ(at(scan, "kept", 13), "Variable Definition [] :int");
  // Two ways of opening one body: the first is read, and the braces stay in step.
  EXPECT_EQ(at(scan, "pick", 16), "Function Definition []");
  EXPECT_EQ(at(scan, "pick", 18), "none");
  EXPECT_EQ(at(scan, "last", 22), "Variable Definition [] :int");
}

TEST(CppScan, AnyInputEndsWithoutHarm) {
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
  const std::string deep = std::string(100000, '{') + "int x;" + std::string(50000, '}') +
                           std::string(100000, '(') + std::string(3000, '<');
  std::string longLine = "int f() { ";
  for (int i = 0; i < 100000; ++i) longLine += "a<b<c, x[";
  const std::string cases[] = {junk, deep, longLine, "/* open", "\"open\n", "R\"x(open", "#define",
                               "}}} class A : { enum { int f(", "template<<<>>> operator", "a::~::*",
                               "typedef struct {", "x ->", "'", "#", "\\"};
  for (const std::string& text : cases) {
    const FileScan scan = scanSource(text, quillon::SourceLanguage::Cpp);
    for (const Record& r : scan.records) {
      ASSERT_LT(r.name, scan.names.size());
      ASSERT_TRUE(r.function == none || r.function < scan.records.size());
      ASSERT_TRUE(r.local == none || r.local < scan.records.size());
    }
  }
}

TEST(CppScan, UsesLeadToTheirDefinitionsAcrossFiles) {
  const std::string shapes =
      "struct Circle { void draw(); };\n"                       // 1
      "struct Square { void draw(); };\n"                       // 2
      "void helper();\n";                                       // 3
  const std::string main =
      "void Circle::draw() {}\n"                                // 1
      "void Square::draw() { helper(); }\n"                     // 2
      "void run(Square* s, Circle c) {\n"                       // 3
      "  s->draw();\n"                                          // 4
      "  c.draw();\n"                                           // 5
      "  helper();\n"                                           // 6
      "}\n";
  const std::string other = "static int count;\nvoid helper() { count++; }\n";
  SymbolTable table;
  for (const std::string* text : {&shapes, &main, &other})
    table.files.push_back(scanSource(*text, quillon::SourceLanguage::Cpp));
  resolveSymbols(table);
  // Where the use on `line` of `file` leads: "FILE:LINE:COLUMN" of its symbol.
  auto leads = [&](std::uint32_t file, std::uint32_t line, std::string_view name) {
    for (const Link& link : table.links[file]) {
      if (link.line != line || table.files[file].names[link.name] != name || link.kind == Link::Kind::Anchor)
        continue;
      if (link.kind == Link::Kind::Chooser) return std::string("chooser");
      const Symbol& s = table.symbols[link.target];
      const Record& r = table.recordOf(s);
      return std::to_string(s.file) + ":" + std::to_string(r.line) + ":" + std::to_string(r.column);
    }
    return std::string("none");
  };
  EXPECT_EQ(leads(1, 4, "draw"), "1:2:13");  // Square::draw, not Circle's
  EXPECT_EQ(leads(1, 5, "draw"), "1:1:13");
  EXPECT_EQ(leads(1, 6, "helper"), "2:2:5");
  EXPECT_EQ(leads(1, 2, "helper"), "2:2:5");
  EXPECT_EQ(leads(1, 3, "Square"), "0:2:7");
  EXPECT_EQ(leads(0, 1, "draw"), "1:1:13");  // the declaration leads to its definition
  EXPECT_EQ(leads(2, 2, "count"), "2:1:11");
}
