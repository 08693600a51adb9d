#include "workspace/workspace.h"

#include <algorithm>

#include "engine/encoding.h"
#include "engine/file_kinds.h"
#include "engine/html_text.h"
#include "engine/line_reader.h"
#include "engine/page_writer.h"

// The fixed texts of a workspace that are not pages of sources: the tree pages filled
// from their templates, the stamped file tab, the frameset index page and the names of
// the workspace folder and the index page.

namespace quillon {

bool fillFromTemplate(const std::string& templatePath, const std::string& programName,
                      std::vector<std::string>& lines, std::string_view placeholder,
                      const BlockProducer& produce) {
  LineReader reader;
  if (!reader.open(templatePath)) return false;
  std::string line;
  while (reader.readLine(line)) {
    size_t name = line.find("<ProgramName>");
    if (name != std::string::npos) {
      lines.push_back(line.substr(0, name) + elementText(programName));
    } else if (line.find(placeholder) != std::string::npos) {
      produce(lines);
    } else {
      lines.push_back(line);
    }
  }
  return !reader.failed();
}

namespace {
/// Where a line declares the windows-1252 charset: the name's position, or npos.
size_t windows1252Declared(const std::string& line) {
  const size_t name = line.find("windows-1252");
  return name != std::string::npos && line.find("charset") < name ? name : std::string::npos;
}
}  // namespace

bool holdUtf8Names(const std::vector<std::string>& sourceTree,
                   const std::vector<std::string>& classTree) {
  Utf8Check check;
  for (const std::vector<std::string>* lines : {&sourceTree, &classTree})
    for (const std::string& line : *lines) check.add(line);
  return check.isUtf8();
}

void declareUtf8(std::vector<std::string>& lines) {
  for (std::string& line : lines) {
    const size_t name = windows1252Declared(line);
    if (name == std::string::npos) continue;
    line.replace(name, 12, "utf-8");
    return;
  }
}

void stampFileTab(const std::string& path, const std::string& name, bool utf8) {
  std::string text;
  if (!readWholeFile(path, &text)) return;
  LineReader reader;
  reader.openText(std::move(text));
  std::string stamped, line;
  bool declared = !utf8;
  while (reader.readLine(line)) {
    const size_t charset = declared ? std::string::npos : windows1252Declared(line);
    if (charset != std::string::npos) {
      line.replace(charset, 12, "utf-8");
      declared = true;
    }
    size_t marker = line.find("theFile");
    // The name belongs five characters after the marker (past its attribute's end).
    if (marker != std::string::npos)
      line.insert(std::min(marker + 12, line.size()), elementText(name));
    stamped += line + "\n";
  }
  writeTextFile(path, stamped);
}

std::string indexPageText(const std::string& title, const std::string& folder,
                          const std::string& sourcePage) {
  // Names from project files and file names are text from outside: the title cannot
  // hold a tag, and the frame addresses can only name files.
  const std::string frames = fileNameLinkTarget(folder);
  const std::string charset =
      isUtf8Text(title) ? "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n" : "";
  return "<HTML>\n<HEAD>\n" + charset + "<TITLE>" + elementText(title) +
         " HTML Workspace</TITLE>\n</HEAD>\n\n<FRAMESET cols=\"20%, 80%\">\n"
         "<FRAMESET rows=\"96, 4\">\n\t<FRAME name=\"tree_frame\" src=\"" +
         frames + "/SourceTree.htm\">\n<FRAME name=\"project_tabs_frame\" src=\"" + frames +
         "/Tabs.htm\" frameborder=\"0\" scrolling=\"no\">\n</FRAMESET>\n"
         "<FRAMESET rows=\"32, *\">\n<FRAME name=\"tab_frame\" src=\"" +
         frames + "/FileTab.htm\" frameborder=\"0\">\n<FRAME name=\"source_frame\" src=\"" +
         fileNameLinkTarget(sourcePage) + "\" frameborder=\"0\">\n</FRAMESET>\n</FRAMESET>\n</HTML>";
}

std::string projectFolderName(const std::string& path) {
  std::string name = baseName(path);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + "_HTML";
}

std::string indexFileName(const std::string& indexName) {
  std::string name = indexName + ".htm";
  bool leading = true;  // a name that begins with "." would be hidden
  for (char& c : name) {
    const bool control = static_cast<unsigned char>(c) < 0x20;
    leading = leading && c == '.';
    if (control || leading || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  }
  return name;
}

}  // namespace quillon
