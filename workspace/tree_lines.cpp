#include "workspace/tree_lines.h"

#include "engine/file_kinds.h"
#include "engine/html_text.h"
#include "workspace/page_names.h"
#include "workspace/project_model.h"

namespace quillon {

namespace {

void folderBlock(ProjectModel& project, const FolderBlock& block) {
  std::vector<std::string>& lines = project.sourceTreeLines;
  folderHeaderLines(lines, block.name, block.number, block.lastNode);
  folderBlockFileLines(project, block, lines);
  lines.push_back("\t\t\t</div>\n");
}

/// Numbers the folders below `folder` in tree order, after `number`.
void numberFolders(DiskFolder& folder, int& number) {
  for (const auto& sub : folder.folders) {
    sub->number = ++number;
    numberFolders(*sub, number);
  }
}

}  // namespace

DiskFolder& DiskFolder::folder(const std::string& name) {
  auto found = byName.find(name);
  if (found != byName.end()) return *found->second;
  folders.push_back(std::make_unique<DiskFolder>());
  folders.back()->path = path.empty() ? name : path + "\\" + name;
  return *(byName[name] = folders.back().get());
}

int fillDiskFolders(DiskFolder& root, const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    DiskFolder* folder = &root;
    size_t start = 0;
    for (size_t end; (end = file.find_first_of("\\/", start)) != std::string::npos; start = end + 1)
      folder = &folder->folder(file.substr(start, end - start));
    folder->files.push_back(&file);
  }
  int number = 0;
  numberFolders(root, number);
  return number;
}

void diskFolderLines(const ProjectModel& project, std::vector<std::string>& lines,
                     const DiskFolder& folder, const std::string& prefix,
                     const FolderScripts* scripts) {
  const size_t count = folder.folders.size() + folder.files.size();
  size_t i = 0;
  for (const auto& sub : folder.folders) {
    const bool last = ++i == count;
    const std::string name = baseName(sub->path);
    const std::string source = scripts ? (*scripts)[sub->number - 1] : std::string();
    folderNodeLines(lines, {attributeUrl(sub->path), attributeText(sub->path), elementText(name), prefix},
                    sub->number, last, source);
    if (!scripts)
      diskFolderLines(project, lines, *sub, prefix + connectorImage(last ? "white.gif" : "I.gif"));
    lines.push_back("\t\t\t</div>\n");
  }
  for (const std::string* file : folder.files) {
    const ListedName named = listedNameOf(project, *file);
    lines.push_back(leafLine(prefix, "htmlicon.gif", fileItemLink(*file, named),
                             scriptString(named.shown), elementText(baseName(*file)), ++i == count));
  }
}

void buildNestedFolderTree(ProjectModel& project, const std::vector<std::string>& files) {
  DiskFolder root;
  fillDiskFolders(root, files);
  diskFolderLines(project, project.sourceTreeLines, root, "");
}

std::vector<FolderBlock> folderBlocks(const ProjectModel& project) {
  const bool noHeaders = project.headerFiles.empty();
  const bool noResources = project.resourceFiles.empty();
  std::vector<FolderBlock> blocks;
  for (const FolderBlock& block : {FolderBlock{"Source Files", 1, &project.sourceFiles, noHeaders && noResources},
                                   FolderBlock{"Header Files", 2, &project.headerFiles, noResources},
                                   FolderBlock{"Resource Files", 3, &project.resourceFiles, true}})
    if (!block.files->empty()) blocks.push_back(block);
  return blocks;
}

void folderBlockFileLines(const ProjectModel& project, const FolderBlock& block,
                          std::vector<std::string>& lines) {
  const std::vector<std::string>& files = *block.files;
  for (size_t i = 0; i < files.size(); ++i) {
    // A file name must not leave its attribute, tag or script string.
    const ListedName named = listedNameOf(project, files[i]);
    lines.push_back(treeLeafLine("htmlicon.gif", fileItemLink(files[i], named),
                                 scriptString(named.shown), elementText(named.shown),
                                 i + 1 == files.size(), block.lastNode));
  }
}

std::string fileItemLink(const std::string& entry, const ListedName& named) {
  // The name is text from outside: a link made of it can only name a file.
  if (named.missing) return blankPageName;
  return fileNameLinkTarget(isImageResource(entry) ? "Images/" + named.page : named.page);
}

bool isImageResource(const std::string& entry) {
  return isResourceFile(entry) && !endsWithIgnoreCase(entry, ".rc") &&
         !endsWithIgnoreCase(entry, ".resx");
}

std::string treeLeafLine(const std::string& icon, const std::string& linkTarget,
                         const std::string& tabText, const std::string& shownText,
                         bool lastItem, bool underLastNode) {
  return leafLine(connectorImage(underLastNode ? "white.gif" : "I.gif"), icon, linkTarget,
                  tabText, shownText, lastItem);
}

std::string connectorImage(const char* image) {
  return std::string("<img src=\"images/") + image + "\" align=\"absmiddle\">";
}

std::string leafLine(const std::string& prefix, const std::string& icon,
                     const std::string& linkTarget, const std::string& tabText,
                     const std::string& shownText, bool lastItem) {
  // The link target, the tab text and the shown text each go into their own place, so a
  // name that holds "Source.cpp" or "SOURCE_FILE" cannot land inside another field.
  std::string line;
  line.reserve(200 + prefix.size() + icon.size() + linkTarget.size() + tabText.size() +
               shownText.size());
  line += "\t\t\t\t<DIV><nobr>";
  line += prefix;
  line += connectorImage(lastItem ? "L.gif" : "T.gif");
  line += "<img src=\"images/";
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
  for (const FolderBlock& block : folderBlocks(project)) folderBlock(project, block);
}

void folderHeaderLines(std::vector<std::string>& lines, const std::string& name, int number,
                       bool lastNode) {
  folderNodeLines(lines, {name, name, name, ""}, number, lastNode);
}

void folderNodeLines(std::vector<std::string>& lines, const FolderNode& node, int number,
                     bool lastNode, const std::string& childSource) {
  treeNodeLines(lines, node, "Folder" + std::to_string(number), lastNode, childSource);
}

void treeNodeLines(std::vector<std::string>& lines, const FolderNode& node, const std::string& id,
                   bool lastNode, const std::string& childSource) {
  lines.push_back("\t\t\t<div ID=\"" + id + "\" class=\"tree_parent\">");
  lines.push_back("\t\t\t\t<nobr>" + node.prefix + "<a name=\"" + id + "a\" href=\"#" +
                  node.fragment + "\" onClick=\"tree_iconclick('" + id + "')\"><img name=\"" + id +
                  "_o\" src=\"images/" + (lastNode ? "Lplus.gif" : "Tplus.gif") +
                  "\" align=\"absmiddle\" border=\"0\"><img src=\"images/foldericon.gif\" "
                  "class=\"tree_icon\" align=\"absmiddle\" border=\"0\"></a><a name=\"" +
                  node.anchor + "\" HREF=\"#" + node.fragment + "\" ID=\"" + id +
                  "a\" onClick=\"tree_iconclick('" + id + "')\" class=\"tree_pitem\">" +
                  node.shown + "</a></nobr>");
  lines.push_back("\t\t\t</div>\n");
  lines.push_back(childDivisionLine(id, childSource));
}

std::string childDivisionLine(const std::string& id, const std::string& childSource) {
  std::string line = "\t\t\t<div ID=\"" + id + "Child\" CLASS=\"tree_child\"";
  // The script's name is the program's own: letters, digits, "/" and ".".
  if (!childSource.empty()) line += " data-src=\"" + childSource + "\"";
  return line + ">";
}

}  // namespace quillon
