// The source tree block: folder nodes, their connectors and the file items' links.
#include "workspace/tree_lines.h"

#include <gtest/gtest.h>

#include "workspace/project_model.h"

using namespace quillon;

namespace {

std::string folderLine(const char* connector) {
  return std::string("\t\t\t\t<nobr><a name=\"Folder1a\" href=\"#Source Files\" "
                     "onClick=\"tree_iconclick('Folder1')\"><img name=\"Folder1_o\" "
                     "src=\"images/") +
         connector +
         "\" align=\"absmiddle\" border=\"0\"><img src=\"images/foldericon.gif\" "
         "class=\"tree_icon\" align=\"absmiddle\" border=\"0\"></a><a name=\"Source Files\" "
         "HREF=\"#Source Files\" ID=\"Folder1a\" onClick=\"tree_iconclick('Folder1')\" "
         "class=\"tree_pitem\">Source Files</a></nobr>";
}

// Connectors (first, second) and the link of each leaf line, in order.
std::vector<std::string> leaves(const ProjectModel& p) {
  std::vector<std::string> out;
  for (const std::string& line : p.sourceTreeLines) {
    if (line.find("<DIV>") == std::string::npos) continue;
    auto image = [&](size_t n) {
      size_t at = 0;
      for (size_t i = 0; i <= n; ++i) at = line.find("images/", at) + 7;
      return line.substr(at, line.find('"', at) - at);
    };
    size_t href = line.find("HREF=\"") + 6;
    out.push_back(image(0) + " " + image(1) + " " + line.substr(href, line.find('"', href) - href));
  }
  return out;
}

}  // namespace

TEST(FolderTree, FolderHeaderLinesAreTheFourFixedLines) {
  std::vector<std::string> lines;
  folderHeaderLines(lines, "Source Files", 1, false);
  folderHeaderLines(lines, "Source Files", 1, true);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "\t\t\t<div ID=\"Folder1\" class=\"tree_parent\">", folderLine("Tplus.gif"),
                       "\t\t\t</div>\n", "\t\t\t<div ID=\"Folder1Child\" CLASS=\"tree_child\">",
                       "\t\t\t<div ID=\"Folder1\" class=\"tree_parent\">", folderLine("Lplus.gif"),
                       "\t\t\t</div>\n", "\t\t\t<div ID=\"Folder1Child\" CLASS=\"tree_child\">"}));
}

TEST(FolderTree, ConnectorsFollowTheFoldersThatArePresent) {
  ProjectModel p;
  p.sourceFiles = {"src\\calc.cpp", "main.cpp"};
  p.headerFiles = {"calc.h"};
  buildFolderTree(p);
  EXPECT_EQ(leaves(p), (std::vector<std::string>{"I.gif T.gif calc.cpp.htm",
                                                 "I.gif L.gif main.cpp.htm",
                                                 "white.gif L.gif calc.h.htm"}));
  EXPECT_EQ(p.sourceTreeLines.size(), 13u);
  EXPECT_EQ(p.sourceTreeLines[12], "\t\t\t</div>\n");

  ProjectModel headersOnly;
  headersOnly.headerFiles = {"a.h", "b.h"};
  buildFolderTree(headersOnly);
  EXPECT_EQ(headersOnly.sourceTreeLines[0], "\t\t\t<div ID=\"Folder2\" class=\"tree_parent\">");
  EXPECT_NE(headersOnly.sourceTreeLines[1].find("images/Lplus.gif"), std::string::npos);
  EXPECT_EQ(leaves(headersOnly),
            (std::vector<std::string>{"white.gif T.gif a.h.htm", "white.gif L.gif b.h.htm"}));

  ProjectModel empty;
  buildFolderTree(empty);
  EXPECT_TRUE(empty.sourceTreeLines.empty());
}

TEST(FolderTree, ImagesLinkToTheirCopyAndResourceScriptsToTheirPage) {
  ProjectModel p;
  p.sourceFiles = {"a.cpp"};
  p.resourceFiles = {"logo.bmp", "app.rc", "res\\logo2.bmp", "..\\art\\x.PNG", "Form1.resx"};
  buildFolderTree(p);
  EXPECT_NE(p.sourceTreeLines[1].find("images/Tplus.gif"), std::string::npos);
  EXPECT_EQ(leaves(p), (std::vector<std::string>{
                           "I.gif L.gif a.cpp.htm", "white.gif T.gif Images/logo.bmp",
                           "white.gif T.gif app.rc.htm", "white.gif T.gif Images/logo2.bmp",
                           "white.gif T.gif Images/x.PNG", "white.gif L.gif Form1.resx.htm"}));
  EXPECT_NE(p.sourceTreeLines[12].find("SendTabText('logo2.bmp');\" class=tree_citem>logo2.bmp<"),
            std::string::npos);
}

TEST(FolderTree, FileNamesCannotBecomeScriptMarkupOrAScheme) {
  ProjectModel p;
  p.sourceFiles = {"a&#39;+alert(1)+&#39;.cpp", "javascript&colon;alert(1).cpp",
                   "x\" onmouseover=\"y<b>.cpp"};
  buildFolderTree(p);
  EXPECT_EQ(leaves(p), (std::vector<std::string>{
                           "white.gif T.gif a%26%2339;+alert(1)+%26%2339;.cpp.htm",
                           "white.gif T.gif javascript%26colon;alert(1).cpp.htm",
                           "white.gif L.gif x%22 onmouseover=%22y%3Cb%3E.cpp.htm"}));
  // The browser decodes the attribute before the script reads it, and the shown text:
  // both show the name, not a quote for each "&#39;".
  EXPECT_NE(p.sourceTreeLines[4].find("SendTabText('a&amp;#39;+alert(1)+&amp;#39;.cpp');\" "
                                      "class=tree_citem>a&amp;#39;+alert(1)+&amp;#39;.cpp</a>"),
            std::string::npos);
  EXPECT_NE(p.sourceTreeLines[6].find("SendTabText('x&quot; onmouseover=&quot;y&lt;b&gt;.cpp')"),
            std::string::npos);
}
