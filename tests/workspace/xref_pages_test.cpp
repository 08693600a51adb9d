// The chooser pages and uses scripts of the cross-references, from a table of records
// made by hand (the merge places them; the scanners are tested on their own), and a
// workspace run with cross-references on.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/settings.h"
#include "tests/workspace/workspace_fixture.h"
#include "workspace/cross_references.h"
#include "workspace/xref_pages.h"

using namespace quillon;
using namespace quillon::xref;
using testing_support::WorkspaceFixture;

namespace {

/// A file's records, one a line, each with the text of its line.
struct Source {
  FileScan scan;
  std::uint32_t add(std::string_view name, SymbolKind kind, Role role, std::string_view text,
                    std::string_view scope = "", std::uint8_t flags = 0,
                    std::string_view qualifier = "") {
    Record r;
    r.name = scan.intern(name);
    r.kind = kind;
    r.role = role;
    r.scope = scan.intern(scope);
    r.flags = flags;
    r.qualifier = scan.intern(qualifier);
    r.line = static_cast<std::uint32_t>(scan.records.size() + 1);
    r.column = static_cast<std::uint32_t>(text.find(name));
    scan.records.push_back(r);
    scan.keepLineText(r.line, text);
    return r.line;
  }
};

/// a.c, b.c and d.c of the workspace Calc_HTML, c.c of Lib_HTML, as a solution shares them.
struct Solution {
  WorkspaceXref xref;
  void file(Source source, const std::string& folder, const std::string& page, bool utf8) {
    xref.fileOfPage[folder + "/" + page] = static_cast<std::uint32_t>(xref.pages.size());
    xref.pages.push_back(page);
    xref.folders.push_back(folder);
    xref.shown.push_back(page.substr(0, page.size() - 4));
    xref.utf8.push_back(utf8);
    xref.table.files.push_back(std::move(source.scan));
  }
  Solution() {
    Source a;
    a.add("area", SymbolKind::Function, Role::Definition, "int area(int w) {");
    a.add("area", SymbolKind::Unknown, Role::Call,
          "return area(1) + \"</script>\\\"'\xE2\x80\xA8\";");
    a.add("area", SymbolKind::Unknown, Role::Write, "area = 0; /* \xC3\xA9t\xC3\xA9 */");
    a.add("x", SymbolKind::Unknown, Role::Read, "q->x <b>&amp;</b>", "", AfterMember);
    file(std::move(a), "Calc_HTML", "a.c.htm", true);
    Source b;
    b.add("Point", SymbolKind::Struct, Role::Definition, "struct Point {");
    b.add("x", SymbolKind::Field, Role::Definition, "int x; // <tab>\t\x01", "Point", 0, "int");
    file(std::move(b), "Calc_HTML", "b.c.htm", false);
    Source c;
    c.add("Size", SymbolKind::Struct, Role::Definition, "struct Size {");
    c.add("x", SymbolKind::Field, Role::Definition, "int x; // \x80 \xE9", "Size", 0, "int");
    c.add("area", SymbolKind::Unknown, Role::Call, "n = area(2);");
    file(std::move(c), "Lib_HTML", "c.c.htm", false);
    Source d;  // lines of hostile text, shown by the uses script of another page
    d.add("area", SymbolKind::Unknown, Role::Call, "return area(1) + \"</script>\\\"'\xE2\x80\xA8\";");
    d.add("area", SymbolKind::Unknown, Role::Write, "area = 0; /* \xC3\xA9t\xC3\xA9 */");
    file(std::move(d), "Calc_HTML", "d.c.htm", true);
    resolveCrossReferences(xref, 1);
  }
};

bool isAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x80 && (b >= 0x20 || c == '\n');
  });
}

}  // namespace

TEST(XrefPages, ChooserListsEveryCandidateWithItsLineAndALinkToItsPlace) {
  Solution s;
  ASSERT_EQ(s.xref.table.choosers.size(), 1u);
  PagePlacedNames placed;
  ASSERT_TRUE(placeNamesOf(s.xref, "Calc_HTML", "a.c.htm", &placed));
  EXPECT_EQ(placed.headLine,
            "<style>a[href*=\"#x\"],a[href^=\"xref/\"]{color:inherit;text-decoration:none}"
            "a[name^=x]{cursor:pointer}</style>\n"
            "<script src=\"Xref.js\" data-uses=\"xref/u0.js\"></script>\n");
  EXPECT_EQ(placed.names.back().href, "xref/c0.htm#c0");

  ConversionSettings settings;
  const std::string page = chooserPageText(settings, s.xref, "Calc_HTML", 0);
  EXPECT_TRUE(isAscii(page));
  EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(page.find("<div id=\"c0\">\n<p><b>x</b>: 2 candidates</p>\n"), std::string::npos);
  // From xref/ to a page of the folder and to a page of the solution's other workspace;
  // the line's text escaped, windows-1252 as its characters.
  EXPECT_NE(page.find("<li><a href=\"../b.c.htm#x2.4\">b.c line 2</a> "
                      "<code>int x; // &lt;tab&gt;  </code></li>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<li><a href=\"../../Lib_HTML/c.c.htm#x2.4\">c.c line 2</a> "
                      "<code>int x; // &#8364; &#233;</code></li>"),
            std::string::npos)
      << page;
}

TEST(XrefPages, UsesScriptGroupsUsesByFileAndNoSourceTextCanLeaveItsStrings) {
  Solution s;
  const std::string a = usesScriptText(s.xref, 0);
  EXPECT_TRUE(isAscii(a));
  EXPECT_EQ(a.find("</"), std::string::npos);  // no "</script>" ends the element
  // Kinds, roles and files are named by their place in the script's lists (the page's
  // own file first); the uses on the page itself have no text: the page shows it.
  EXPECT_NE(a.find("words:[\"Function\",\"call\",\"write\"],\n"
                   "files:[\n[\"a.c\",\"\"],\n[\"c.c\",\"../Lib_HTML/c.c.htm\"],\n"
                   "[\"d.c\",\"d.c.htm\"]],\n"
                   "defs:{\n\"x1.4\":[0,5,[[0,[[2,1],[3,2]]],[1,[[3,1,\"n = area(2);\"]]],"
                   "[2,[[1,1,\"return area(1) + \\\"\\x3C/script\\x3E\\\\\\\"'\\u2028\\\";\"],"
                   "[2,2,\"area = 0; /* \\u00E9t\\u00E9 */\"]]]]]},\n"),
            std::string::npos)
      << a;
  // Definitions used nowhere by kind; a use of another workspace's page: the tooltip's
  // data, by the link the page has (the name is the link's text, the line in its anchor).
  EXPECT_EQ(usesScriptText(s.xref, 2),
            "quillonXref({page:\"c.c.htm\",\nwords:[\"Struct\",\"Field\",\"Function\"],\n"
            "files:[\n[\"c.c\",\"\"],\n[\"a.c\",\"../Calc_HTML/a.c.htm\"]],\n"
            "defs:{},\nunused:[\n[0,\"x1.7\"],\n[1,\"x2.4\"]],\n"
            "targets:{\n\"../Calc_HTML/a.c.htm#x1.4\":[2,5,1,\"int area(int w) {\"]}});\n");
  PagePlacedNames placed;
  ASSERT_TRUE(placeNamesOf(s.xref, "Lib_HTML", "c.c.htm", &placed));
  EXPECT_EQ(placed.names.back().href, "../Calc_HTML/a.c.htm#x1.4");
}

TEST(XrefPages, WorkspaceWithCrossReferencesGetsTheScriptAndAUsesScriptForEachPage) {
  WorkspaceFixture f;
  f.dir.write("data/Xref.js", "// the pages' script\n");
  f.source("a.c", "int area(int w) { return w; }\n");
  f.source("b.c", "int main(void) { return area(2); }\n");
  f.settings.crossReferences = true;
  f.fileSet({"a.c", "b.c"});
  EXPECT_TRUE(testing_support::problemLines().empty());
  EXPECT_EQ(f.output("Project_HTML/Xref.js"), "// the pages' script\r\n");
  const std::string page = f.output("Project_HTML/b.c.htm");
  EXPECT_NE(page.find("<script src=\"Xref.js\" data-uses=\"xref/u1.js\"></script>\r\n</head>"),
            std::string::npos);
  EXPECT_EQ(f.output("Project_HTML/xref/u1.js").rfind("quillonXref({page:\"b.c.htm\",", 0),
            0u);

  // Without the script in the data folder the workspace is still written, and says so.
  WorkspaceFixture bare;
  bare.source("a.c", "int a;\n");
  platform::removeFile(platform::joinPath(bare.data, "Xref.js"));
  bare.settings.crossReferences = true;
  bare.fileSet({"a.c"});
  EXPECT_TRUE(bare.exists("Project_HTML/a.c.htm"));
  EXPECT_EQ(testing_support::problemLines(), std::vector<std::string>{"<Xref.js can't be read>"});
}
