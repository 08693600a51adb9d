// Trees whose nodes load on demand: the page holds the top level alone, and a node's
// script holds exactly the lines its child division holds in the whole page (nested
// nodes in turn lazy), with the whole page's IDs and links; the scripts are ASCII alone,
// whatever the names hold.
#include "workspace/lazy_trees.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "classmodel/class_tree.h"
#include "classmodel/records.h"
#include "engine/encoding.h"
#include "tests/support/temp_dir.h"
#include "workspace/project_model.h"
#include "workspace/tree_lines.h"
#include "workspace/tree_scripts.h"
#include "workspace/workspace.h"

using namespace quillon;
using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;
using Nodes = std::map<std::string, Lines>;

void appendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

/// A script string of one line of a script ("...", or "...",) as the bytes it stands for,
/// its \u escapes as UTF-8.
std::string decodeString(const std::string& line) {
  std::string out;
  const size_t end = line.rfind('"');
  for (size_t i = 1; i < end; ++i) {
    if (line[i] != '\\') {
      out += line[i];
    } else if (line[++i] == 'x') {
      out += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else if (line[i] == 'u') {
      appendUtf8(out, static_cast<unsigned>(std::stoi(line.substr(i + 1, 4), nullptr, 16)));
      i += 4;
    } else {
      out += line[i];
    }
  }
  return out;
}

/// Every node of every script of the workspace folder `directory`, read as a browser would
/// run them; each script's bytes are checked to be ASCII with CR LF line ends.
Nodes readScripts(const std::string& directory, size_t* files = nullptr) {
  Nodes nodes;
  if (files) *files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory + "/trees")) {
    const std::string text = readFile(entry.path().string());
    if (files) ++*files;
    EXPECT_EQ(text.rfind("quillonTreeNodes({\r\n", 0), 0u) << entry.path();
    EXPECT_EQ(text.substr(text.size() - 8), "\r\n]});\r\n") << entry.path();
    size_t bad = 0;
    for (size_t i = 0; i < text.size() && !bad; ++i) {
      const auto b = static_cast<unsigned char>(text[i]);
      if (!(b < 0x7F && (b >= 0x20 || (b == '\r' && text[i + 1] == '\n') || (b == '\n' && text[i - 1] == '\r'))))
        bad = i + 1;
    }
    EXPECT_EQ(bad, 0u) << entry.path() << ": a byte that is not printable ASCII";
    std::string id;
    size_t at = 0;
    for (size_t next; (next = text.find("\r\n", at)) != std::string::npos; at = next + 2) {
      const std::string line = text.substr(at, next - at);
      if (line.size() > 4 && line.compare(line.size() - 4, 4, "\": [") == 0)
        id = decodeString(line.substr(0, line.size() - 3));
      else if (!line.empty() && line[0] == '"')
        nodes[id].push_back(decodeString(line));
      else if (line.rfind("]", 0) == 0 && !nodes.count(id))
        nodes[id] = {};
    }
  }
  return nodes;
}

/// The lines of a lazy tree with every node's lines put into its child division, as a
/// browser shows them once every node was opened: what the whole page holds.
Lines expand(const Lines& lines, const Nodes& nodes, size_t* loaded = nullptr) {
  static const std::regex child("^(\t\t\t<div ID=\"(\\w+)Child\" CLASS=\"tree_child\") data-src=\"trees/[sc][0-9]+\\.js\">$");
  Lines out;
  for (const std::string& line : lines) {
    std::smatch m;
    if (!std::regex_match(line, m, child)) {
      out.push_back(line);
      continue;
    }
    out.push_back(m[1].str() + ">");
    const auto found = nodes.find(m[2].str());
    EXPECT_NE(found, nodes.end()) << m[2];
    if (found == nodes.end()) continue;
    if (loaded) ++*loaded;
    const Lines inner = expand(found->second, nodes, loaded);
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

ProjectModel folderProject() {
  ProjectModel p;
  p.folderFiles = {"app\\gui\\main.cpp", "app\\gui\\view.h", "app\\Form \"1\".cs", "lib\\x\\y\\deep.c",
                   "lib\\util.h", "top.cpp"};
  p.sourceFiles = {"app\\gui\\main.cpp", "app\\Form \"1\".cs", "lib\\x\\y\\deep.c", "top.cpp"};
  p.headerFiles = {"app\\gui\\view.h", "lib\\util.h"};
  return p;
}

ClassRecord record(const std::string& name, const std::string& page, std::vector<std::string> members) {
  ClassRecord r{name, page + "#" + name, page, {}};
  for (size_t i = 0; i < members.size(); ++i)
    r.members.push_back({members[i], i % 2 ? "membericon_private.gif" : "functionicon_public.gif", i % 2 == 0,
                         i % 2 == 0, 3 + i});
  return r;
}

/// Each record's node lines and member lines by its node's id, connectors aside (a lazy
/// tree draws its records one level deeper, under their letters).
std::map<std::string, Lines> recordBlocks(const Lines& lines) {
  static const std::regex levels("<img src=\"images/(I|white)\\.gif\" align=\"absmiddle\">");
  static const std::regex connectors("(T|L|Tplus|Lplus)\\.gif");
  std::map<std::string, Lines> blocks;
  std::string id;
  int closed = 0;
  for (const std::string& line : lines) {
    const size_t at = line.find("<div ID=\"ClassItem");
    if (at != std::string::npos && line.find("Child") == std::string::npos) {
      id = line.substr(at + 9, line.find('"', at + 9) - at - 9);
      closed = 0;
    }
    if (id.empty()) continue;
    blocks[id].push_back(std::regex_replace(std::regex_replace(line, levels, ""), connectors, "~"));
    // A node's block ends with its second closing line: after its own, its child division's.
    if (line == "\t\t\t</div>\n" && ++closed == 2) id.clear();
  }
  return blocks;
}

}  // namespace

TEST(LazyTrees, SourceTreeNodesHoldTheWholeTreesLinesAndThePageTheTopLevel) {
  TempDir dir;
  for (bool fromDisk : {true, false}) {
    ProjectModel whole = folderProject();
    if (!fromDisk) whole.folderFiles.clear();
    const ProjectModel project = whole;
    if (fromDisk)
      buildNestedFolderTree(whole, whole.folderFiles);
    else
      buildFolderTree(whole);
    EXPECT_EQ(sourceTreeLineCount(project), whole.sourceTreeLines.size());

    const std::string out = dir.mkdir(fromDisk ? "disk" : "project");
    Lines top;
    ASSERT_TRUE(buildLazySourceTree(project, top, out, false));
    size_t loaded = 0;
    EXPECT_EQ(expand(top, readScripts(out), &loaded), whole.sourceTreeLines);
    // Disk: app, gui, lib, x, y, each folder a node whose lines load; a project: two.
    EXPECT_EQ(loaded, fromDisk ? 5u : 2u);
    // The page: the top level's nodes and files, none of what is inside them.
    const std::string page = [&] { std::string t; for (const auto& l : top) t += l; return t; }();
    EXPECT_EQ(page.find("main.cpp"), std::string::npos);
    EXPECT_EQ(top.size(), fromDisk ? 2 * 5 + 1u : 2 * 5u);
    EXPECT_EQ(page.find("top.cpp.htm") != std::string::npos, fromDisk);
  }
}

TEST(LazyTrees, ClassTreeGroupsRecordsByLetterKeepingTheWholeTreesIdsAndLinks) {
  ClassModel model;
  model.classRecords = {record("Zeta", "z.h.htm", {"run()", "count"}), record("alpha", "a.h.htm", {"go()"}),
                        record("Beta", "b.h.htm", {})};
  model.structRecords = {record("_Tag", "t.h.htm", {"x"}), record("Alpha2", "a.h.htm", {"y", "z"})};
  model.enumRecords = {record("9Lives", "n.h.htm", {"One"})};
  // Enough records of one beginning to be split where their names part.
  for (int i = 0; i < 1200; ++i)
    model.classRecords.push_back(record("Widget" + std::to_string(i), "w.h.htm", {"get()", "value"}));
  for (bool memberLines : {false, true}) {
    Lines whole;
    buildClassTree(model, whole, memberLines);
    EXPECT_EQ(classTreeLineCount(model), whole.size());

    TempDir dir;
    Lines top;
    ASSERT_TRUE(buildLazyClassTree(model, top, dir.path(), false, memberLines));
    size_t files = 0;
    const Nodes nodes = readScripts(dir.path(), &files);
    const Lines shown = expand(top, nodes);
    // Every record once, each with the whole tree's id, links, handlers and members.
    EXPECT_EQ(recordBlocks(shown), recordBlocks(whole));
    EXPECT_EQ(recordBlocks(shown).size(), model.classRecords.size() + 3);
    // The page: the letters, as folders, in order; "Other" last.
    std::string letters;
    for (const std::string& line : top) {
      EXPECT_EQ(line.find("ClassItem"), std::string::npos);
      const size_t at = line.find("class=\"tree_pitem\">");
      if (at != std::string::npos) letters += line.substr(at + 19, line.find('<', at) - at - 19) + " ";
    }
    EXPECT_EQ(letters, "A B W Z _ Other ");
    EXPECT_NE(top[1].find("images/foldericon.gif"), std::string::npos);
    // No node lists more than 500 records or groups, and the scripts are few.
    for (const auto& [id, lines] : nodes) EXPECT_LE(lines.size(), 5u * 500) << id;
    EXPECT_NE(nodes.find("ClassItem1"), nodes.end());
    EXPECT_EQ(nodes.count("ClassItem3"), 0u);  // Beta has no members: nothing to load
    EXPECT_LE(files, 8u);
  }
}

TEST(LazyTrees, HostileNamesStayInsideTheirStringsAndTheCharsetFollowsTheNames) {
  const std::string hostile = "go(\"</script><script>alert(1)</script>\", '\\\\', \x01\x7F, \xE2\x80\xA8)";
  ClassModel model;
  model.classRecords = {record("Gr\xC3\xB6\xC3\x9F" "e", "g.h.htm", {hostile})};
  ProjectModel project;
  project.folderFiles = {"\xC3\x9C" "ber\\a\"b\\</script>.h"};
  for (bool utf8 : {true, false}) {
    TempDir dir;
    Lines top, classTop, wholeClasses;
    ASSERT_TRUE(buildLazySourceTree(project, top, dir.path(), utf8));
    ASSERT_TRUE(buildLazyClassTree(model, classTop, dir.path(), utf8, false));
    ProjectModel built = project;
    buildNestedFolderTree(built, built.folderFiles);
    buildClassTree(model, wholeClasses);
    // ASCII alone, CR LF, whatever the charset; read as UTF-8, the bytes of the names.
    const Nodes nodes = readScripts(dir.path());
    if (!utf8) continue;
    EXPECT_EQ(expand(top, nodes), built.sourceTreeLines);
    EXPECT_EQ(recordBlocks(expand(classTop, nodes)), recordBlocks(wholeClasses));
  }
  // The names decide the charset as the whole page's lines do.
  for (const std::string& name : {std::string("Plain"), std::string("Gr\xC3\xB6\xC3\x9F" "e"), std::string("Caf\xE9"),
                                  std::string("Cut\xC3")}) {
    ClassModel m;
    m.classRecords = {record(name, "p.htm", {"m"})};
    ProjectModel p;
    p.sourceFiles = {name + ".cpp"};
    buildFolderTree(p);
    Lines classes;
    buildClassTree(m, classes);
    Utf8Check check;
    addSourceTreeNames(check, p);
    addClassTreeNames(check, m);
    EXPECT_EQ(check.isUtf8(), holdUtf8Names(p.sourceTreeLines, classes)) << name;
  }
}

TEST(LazyTrees, ScriptsTakeNodesUntilTheyHoldEnoughLines) {
  EXPECT_EQ(planTreeScripts({1500, 600, 10, 3000, 1}), (std::vector<int>{0, 0, 1, 1, 2}));
  EXPECT_EQ(planTreeScripts({5, 5, 5}, 10), (std::vector<int>{0, 0, 1}));
  EXPECT_TRUE(planTreeScripts({}).empty());
  EXPECT_EQ(nodeScriptName('c', 12), "trees/c12.js");
}
