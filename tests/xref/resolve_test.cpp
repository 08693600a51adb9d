// Where the merge places uses, on records made by hand (one record a line), so that the
// rules are tested apart from the scanners.
#include <gtest/gtest.h>

#include "xref/merge.h"
#include "xref/table.h"

using namespace quillon::xref;

namespace {

/// A file's records, one a line, written as the scanners would give them.
struct Source {
  FileScan scan;

  std::uint32_t def(std::string_view name, SymbolKind kind, std::string_view scope = "",
                    Role role = Role::Definition, std::uint8_t flags = 0,
                    std::string_view type = "") {
    Record r;
    r.name = scan.intern(name);
    r.kind = kind;
    r.scope = scan.intern(scope);
    r.role = role;
    r.flags = flags;
    r.qualifier = scan.intern(type);
    return add(r);
  }
  /// A use; `qualifier` is what stands before "::" or the type before ".".
  std::uint32_t use(std::string_view name, Role role = Role::Read, std::string_view scope = "",
                    std::uint8_t flags = 0, std::string_view qualifier = "",
                    std::uint32_t function = none, std::uint32_t local = none) {
    Record r;
    r.name = scan.intern(name);
    r.role = role;
    r.scope = scan.intern(scope);
    r.flags = flags;
    r.qualifier = scan.intern(qualifier);
    r.function = function;
    r.local = local;
    return add(r);
  }
  std::uint32_t add(Record r) {
    r.line = static_cast<std::uint32_t>(scan.records.size() + 1);
    scan.records.push_back(r);
    return r.line - 1;
  }
};

struct Tables {
  SymbolTable table;
  void add(Source source) { table.files.push_back(std::move(source.scan)); }
  /// Where the record on `line` of file `file` leads: "FILE:LINE" of its symbol's place,
  /// "anchor" for a symbol's own place, "chooser(n)" or "none".
  std::string at(std::uint32_t file, std::uint32_t line) const {
    for (const Link& link : table.links[file]) {
      if (link.line != line) continue;
      if (link.kind == Link::Kind::Anchor) return "anchor";
      if (link.kind == Link::Kind::Chooser)
        return "chooser(" + std::to_string(table.choosers[link.target].size()) + ")";
      const Symbol& s = table.symbols[link.target];
      return std::to_string(s.file) + ":" + std::to_string(table.recordOf(s).line);
    }
    return "none";
  }
};

}  // namespace

TEST(Merge, DefinitionsOverDeclarationsAndEachFileItsOwnStatics) {
  Tables t;
  Source header;  // file 0
  header.def("area", SymbolKind::Function, "", Role::Declaration);  // 1
  header.def("limit", SymbolKind::Variable, "", Role::Declaration);  // 2: extern
  Source a;  // file 1
  a.def("area", SymbolKind::Function);                                // 1
  a.def("helper", SymbolKind::Function, "", Role::Definition, FileLocal);  // 2
  a.use("helper", Role::Call);                                        // 3
  a.use("area", Role::Call);                                          // 4
  a.def("limit", SymbolKind::Variable);                               // 5
  Source b;  // file 2
  b.def("helper", SymbolKind::Function, "", Role::Definition, FileLocal);  // 1
  b.use("helper", Role::Call);                                        // 2
  b.use("limit", Role::Write);                                        // 3
  b.use("printf", Role::Call);                                        // 4: not in the workspace
  t.add(std::move(header));
  t.add(std::move(a));
  t.add(std::move(b));
  resolveSymbols(t.table);
  EXPECT_EQ(t.at(0, 1), "1:1");  // the prototype leads to the definition
  EXPECT_EQ(t.at(0, 2), "1:5");
  EXPECT_EQ(t.at(1, 1), "anchor");
  EXPECT_EQ(t.at(1, 3), "1:2");
  EXPECT_EQ(t.at(1, 4), "1:1");
  EXPECT_EQ(t.at(2, 2), "2:1");  // its own file's static, not the other one
  EXPECT_EQ(t.at(2, 3), "1:5");
  EXPECT_EQ(t.at(2, 4), "none");
  const Symbol& area = t.table.symbols[t.table.links[1][0].target];
  EXPECT_EQ(area.uses, 1u);  // the call; the prototype is no use
}

TEST(Merge, MembersAreFoundThroughTheTypeBeforeTheDotOrNotAtAll) {
  Tables t;
  Source s;  // file 0
  s.def("Point", SymbolKind::Struct);                           // 1
  s.def("x", SymbolKind::Field, "Point", Role::Definition, 0, "int");  // 2
  s.def("Size", SymbolKind::Struct);                            // 3
  s.def("x", SymbolKind::Field, "Size");                        // 4
  s.def("p", SymbolKind::Variable, "", Role::Definition, 0, "Point");  // 5
  s.use("x", Role::Read, "", AfterMember, "Point");             // 6: p.x
  s.use("x", Role::Read, "", AfterMember);                      // 7: q->x, q unknown
  s.use("x", Role::Read, "", AfterMember, "vector");            // 8: a library type's member
  s.use("x", Role::Read);                                       // 9: a plain x is no member
  s.use("x", Role::Read, "", AfterScope, "Size");               // 10: Size::x
  s.def("Node", SymbolKind::Typedef, "", Role::Definition, 0, "Point");  // 11
  s.use("x", Role::Read, "", AfterMember, "Node");              // 12: through the typedef
  s.def("w", SymbolKind::Field, "Size");                        // 13
  s.use("w", Role::Read, "", AfterMember);                      // 14: the only w, of q unknown
  s.def("Box", SymbolKind::Struct);                             // 15
  s.def("Size", SymbolKind::Field, "Box");                      // 16: "struct Size Size;"
  s.scan.records[s.use("Size", Role::Read, "Box")].kind = SymbolKind::Struct;  // 17: its tag
  t.add(std::move(s));
  resolveSymbols(t.table);
  EXPECT_EQ(t.at(0, 6), "0:2");
  EXPECT_EQ(t.at(0, 7), "chooser(2)");
  EXPECT_EQ(t.at(0, 8), "none");
  EXPECT_EQ(t.at(0, 9), "none");
  EXPECT_EQ(t.at(0, 10), "0:4");
  EXPECT_EQ(t.at(0, 12), "0:2");
  // Of a type the scanner does not know, even the one member of that name is only offered.
  EXPECT_EQ(t.at(0, 14), "chooser(1)");
  EXPECT_EQ(t.at(0, 17), "0:3");  // a tag names the struct, never the field it declares
}

TEST(Merge, NearestScopeFirstWithBasesLocalsMacrosAndOverloads) {
  Tables t;
  Source s;  // file 0
  s.def("run", SymbolKind::Function, "app");                   // 1: app::run
  s.def("Base", SymbolKind::Class, "app");                      // 2
  s.def("run", SymbolKind::Function, "app::Base");              // 3: Base::run
  s.def("Derived", SymbolKind::Class, "app");                   // 4
  s.scan.bases.push_back({3, s.scan.intern("Base")});
  const std::uint32_t go = s.def("go", SymbolKind::Function, "app::Derived");  // 5
  s.use("run", Role::Call, "app", 0, "", go);                   // 6: in Derived::go
  s.use("run", Role::Call, "app");                              // 7: in namespace app
  const std::uint32_t n = s.def("n", SymbolKind::Parameter);    // 8
  s.scan.records[n].function = go;
  s.use("n", Role::Read, "app", 0, "", go, n);                  // 9
  s.def("MAX", SymbolKind::Macro);                              // 10
  s.def("MAX", SymbolKind::Function, "app");                    // 11: the macro wins
  s.use("MAX", Role::Call, "app");                              // 12
  s.def("put", SymbolKind::Function, "app");                    // 13
  s.def("put", SymbolKind::Function, "app");                    // 14: an overload
  s.use("put", Role::Call, "app");                              // 15
  s.def("Base", SymbolKind::Class, "other");                    // 16
  s.use("Base", Role::Read, "elsewhere");                       // 17: two namespaces hold it
  s.def("Derived", SymbolKind::Function, "app::Derived");       // 18: its constructor
  s.use("Derived", Role::Read, "app::Derived");                 // 19: the class named inside it
  s.use("Derived", Role::Call, "app::Derived");                 // 20: a new one made
  s.def("Base", SymbolKind::Function, "app::Base");             // 21: its constructor
  s.def("Base", SymbolKind::Function, "app::Base");             // 22: its destructor
  s.use("Base", Role::Read, "app::Base");                       // 23: the class, in it
  t.add(std::move(s));
  resolveSymbols(t.table);
  EXPECT_EQ(t.at(0, 6), "0:3");  // the base's member, nearer than the namespace's
  EXPECT_EQ(t.at(0, 7), "0:1");
  EXPECT_EQ(t.at(0, 9), "0:8");
  EXPECT_EQ(t.at(0, 12), "0:10");
  EXPECT_EQ(t.at(0, 15), "chooser(2)");
  EXPECT_EQ(t.at(0, 17), "chooser(2)");
  EXPECT_EQ(t.at(0, 19), "0:4");
  EXPECT_EQ(t.at(0, 20), "0:18");
  EXPECT_EQ(t.at(0, 23), "0:2");  // not the constructor or destructor named as the class
}

TEST(Merge, VisualBasicNamesMeetWithoutRegardToCaseAndNoNameLeadsIntoAnotherLanguage) {
  Tables t;
  Source m;
  m.scan.caseInsensitive = true;
  m.scan.family = 1;
  m.def("Helpers", SymbolKind::Module);                          // 1
  m.def("Compute", SymbolKind::Function, "Helpers");             // 2
  Source c;
  c.scan.caseInsensitive = true;
  c.scan.family = 1;
  c.use("COMPUTE", Role::Call, "Form1");                         // 1: a module's member
  c.use("i", Role::Read, "Form1");                               // 2: Java's I is not seen
  Source cs;  // C#: names keep their case
  cs.scan.family = 1;
  cs.use("compute", Role::Call);                                 // 1
  cs.use("Compute", Role::Call, "", AfterMember, "Helpers");     // 2
  Source java;
  java.scan.family = 2;
  java.def("I", SymbolKind::Interface);                          // 1
  java.def("Helpers", SymbolKind::Class);                        // 2: a class of its own
  Source cpp;
  cpp.use("I", Role::Read);                                      // 1
  cpp.use("Compute", Role::Call, "", AfterScope, "Helpers");     // 2
  t.add(std::move(m));
  t.add(std::move(c));
  t.add(std::move(cs));
  t.add(std::move(java));
  t.add(std::move(cpp));
  resolveSymbols(t.table);
  EXPECT_EQ(t.at(1, 1), "0:2");
  EXPECT_EQ(t.at(1, 2), "none");
  EXPECT_EQ(t.at(2, 1), "none");
  EXPECT_EQ(t.at(2, 2), "0:2");
  EXPECT_EQ(t.at(3, 2), "anchor");  // not one symbol with the module of the same name
  EXPECT_EQ(t.at(4, 1), "none");
  EXPECT_EQ(t.at(4, 2), "none");
}

TEST(Merge, GivesTheSameTableOnSeveralThreadsAsOnOne) {
  auto build = [](int threads) {
    Tables t;
    for (int f = 0; f < 7; ++f) {
      Source s;
      s.def("put", SymbolKind::Function, "app");
      s.def("Item" + std::to_string(f % 3), SymbolKind::Struct);
      s.def("x", SymbolKind::Field, "Item" + std::to_string(f % 3));
      s.use("put", Role::Call, "app");                 // an overload in every file: choosers
      s.use("x", Role::Read, "", AfterMember);         // members of several structs
      s.use("x", Role::Write, "", AfterMember, "Item1");
      s.use("Item2", Role::Read);
      t.add(std::move(s));
    }
    resolveSymbols(t.table, threads);
    std::string all;
    for (std::uint32_t f = 0; f < 7; ++f)
      for (std::uint32_t line = 1; line <= 7; ++line) all += t.at(f, line) + " ";
    for (const auto& chooser : t.table.choosers) all += std::to_string(chooser.size()) + ";";
    for (const auto& uses : t.table.uses)
      for (const Use& u : uses) all += std::to_string(u.file) + "." + std::to_string(u.record) + ",";
    return all;
  };
  const std::string one = build(1);
  EXPECT_NE(one.find("chooser"), std::string::npos);
  EXPECT_EQ(build(3), one);
  EXPECT_EQ(build(2), one);
}

TEST(Merge, NumbersTextsInTheOrderOfTheirFirstPlacesOnAnyNumberOfThreads) {
  // Lists with texts repeated within and across them, numbered one by one as the
  // reference, then all at once on several threads (over enough texts that every table
  // grows), then asked for texts old and new.
  std::vector<std::vector<std::string>> owned(5);
  for (size_t l = 0; l < owned.size(); ++l)
    for (size_t i = 0; i < 4000; ++i)
      owned[l].push_back(i % 97 == 0 ? "" : "n" + std::to_string((i * 7919 + l * 131) % 6007));
  std::vector<std::vector<std::string_view>> lists;
  for (const std::vector<std::string>& list : owned) lists.emplace_back(list.begin(), list.end());
  merge::Texts one;
  std::vector<std::vector<std::uint32_t>> expected(lists.size());
  for (size_t l = 0; l < lists.size(); ++l)
    for (std::string_view text : lists[l]) expected[l].push_back(one.id(text));
  for (int threads : {1, 2, 3}) {
    merge::Texts many;
    EXPECT_EQ(many.id("n5"), 1u);  // a text numbered before is found again
    std::vector<std::vector<std::uint32_t>> numbers;
    many.number(lists, numbers, threads);
    ASSERT_EQ(many.size(), one.size() + (one.find("n5") == none ? 1 : 0));
    for (size_t l = 0; l < lists.size(); ++l)
      for (size_t i = 0; i < lists[l].size(); ++i) {
        ASSERT_EQ(many.text(numbers[l][i]), lists[l][i]);
        if (lists[l][i] != "n5") {
          EXPECT_EQ(many.find(lists[l][i]), numbers[l][i]);
        }
      }
    EXPECT_EQ(many.id("n5"), 1u);
    EXPECT_EQ(many.find("absent"), none);
    const std::uint32_t added = many.id("absent");
    EXPECT_EQ(added, many.size() - 1);
    EXPECT_EQ(many.find("absent"), added);
    const std::uint32_t joined = many.join(many.find("n12"), added);
    EXPECT_EQ(many.text(joined), "n12::absent");
    EXPECT_EQ(many.find("n12::absent"), joined);
  }
  // Without a text numbered first, the numbers are those of one by one.
  merge::Texts fresh;
  std::vector<std::vector<std::uint32_t>> numbers;
  fresh.number(lists, numbers, 2);
  EXPECT_EQ(numbers, expected);
}
