#include "workspace/tree_lines.h"

#include "engine/file_kinds.h"
#include "engine/html_text.h"
#include "workspace/page_names.h"
#include "workspace/project_model.h"

namespace quillon {

namespace {

void folderBlock(ProjectModel& project, const std::vector<std::string>& files,
                 const char* name, int number, bool lastNode) {
  if (files.empty()) return;
  std::vector<std::string>& lines = project.sourceTreeLines;
  folderHeaderLines(lines, name, number, lastNode);
  for (size_t i = 0; i < files.size(); ++i) {
    // A file's page, or for an image the copy in the workspace's Images folder. Its name
    // is text from outside: it must not leave its attribute, tag or script string, and a
    // link made of it can only name a file.
    const ListedName named = listedNameOf(project, files[i]);
    const std::string link = named.missing                 ? blankPageName
                             : isImageResource(files[i]) ? "Images/" + named.page
                                                         : named.page;
    lines.push_back(treeLeafLine("htmlicon.gif", fileNameLinkTarget(link),
                                 scriptString(named.shown), elementText(named.shown),
                                 i + 1 == files.size(), lastNode));
  }
  lines.push_back("\t\t\t</div>\n");
}

}  // namespace

bool isImageResource(const std::string& entry) {
  return isResourceFile(entry) && !endsWithIgnoreCase(entry, ".rc") &&
         !endsWithIgnoreCase(entry, ".resx");
}

std::string treeLeafLine(const std::string& icon, const std::string& linkTarget,
                         const std::string& tabText, const std::string& shownText,
                         bool lastItem, bool underLastNode) {
  // The link target, the tab text and the shown text each go into their own place, so a
  // name that holds "Source.cpp" or "SOURCE_FILE" cannot land inside another field.
  std::string line;
  line.reserve(200 + icon.size() + linkTarget.size() + tabText.size() + shownText.size());
  line += "\t\t\t\t<DIV><nobr><img src=\"images/";
  line += underLastNode ? "white.gif" : "I.gif";
  line += "\" align=\"absmiddle\"><img src=\"images/";
  line += lastItem ? "L.gif" : "T.gif";
  line += "\" align=\"absmiddle\"><img src=\"images/";
  line += icon;
  line += "\" align=\"absmiddle\" class=\"tree_icon\" border=0><a HREF=\"";
  line += linkTarget;
  line += "\" target=\"source_frame\" onClick=\"SendTabText('";
  line += tabText;
  line += "');\" class=tree_citem>";
  line += shownText;
  line += "</a></nobr></DIV>";
  return line;
}

void buildFolderTree(ProjectModel& project) {
  const bool noHeaders = project.headerFiles.empty();
  const bool noResources = project.resourceFiles.empty();
  folderBlock(project, project.sourceFiles, "Source Files", 1, noHeaders && noResources);
  folderBlock(project, project.headerFiles, "Header Files", 2, noResources);
  folderBlock(project, project.resourceFiles, "Resource Files", 3, true);
}

void folderHeaderLines(std::vector<std::string>& lines, const std::string& name, int number,
                       bool lastNode) {
  const std::string id = "Folder" + std::to_string(number);
  lines.push_back("\t\t\t<div ID=\"" + id + "\" class=\"tree_parent\">");
  lines.push_back("\t\t\t\t<nobr><a name=\"" + id + "a\" href=\"#" + name +
                  "\" onClick=\"tree_iconclick('" + id + "')\"><img name=\"" + id +
                  "_o\" src=\"images/" + (lastNode ? "Lplus.gif" : "Tplus.gif") +
                  "\" align=\"absmiddle\" border=\"0\"><img src=\"images/foldericon.gif\" "
                  "class=\"tree_icon\" align=\"absmiddle\" border=\"0\"></a><a name=\"" +
                  name + "\" HREF=\"#" + name + "\" ID=\"" + id +
                  "a\" onClick=\"tree_iconclick('" + id + "')\" class=\"tree_pitem\">" + name +
                  "</a></nobr>");
  lines.push_back("\t\t\t</div>\n");
  lines.push_back("\t\t\t<div ID=\"" + id + "Child\" CLASS=\"tree_child\">");
}

}  // namespace quillon
