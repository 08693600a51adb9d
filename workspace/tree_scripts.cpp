#include "workspace/tree_scripts.h"

#include <cassert>

#include "platform/platform.h"
#include "workspace/search_index.h"

namespace quillon {

namespace {

std::string scriptFileName(char kind, int number) {
  return kind + std::to_string(number) + ".js";
}

void completeScript(TreeScripts& scripts) {
  if (scripts.number < 0) return;
  scripts.writer.write("\n]});\n");
  scripts.ok = scripts.writer.commit() && scripts.ok;
}

void startScript(TreeScripts& scripts, int number) {
  completeScript(scripts);
  scripts.number = number;
  const std::string folder = platform::joinPath(scripts.directory, treeScriptFolder);
  if (!platform::createDirectory(folder) ||
      !scripts.writer.open(platform::joinPath(folder, scriptFileName(scripts.kind, number))))
    scripts.ok = false;
  scripts.writer.write("quillonTreeNodes({\n");
}

}  // namespace

std::string nodeScriptName(char kind, int number) {
  return std::string(treeScriptFolder) + "/" + scriptFileName(kind, number);
}

std::vector<int> planTreeScripts(const std::vector<size_t>& lineCounts, size_t scriptLines) {
  std::vector<int> numbers;
  numbers.reserve(lineCounts.size());
  int number = 0;
  size_t held = 0;
  for (size_t count : lineCounts) {
    if (held >= scriptLines) {
      ++number;
      held = 0;
    }
    numbers.push_back(number);
    held += count;
  }
  return numbers;
}

void beginTreeNode(TreeScripts& scripts, int number, std::string_view id) {
  assert(number >= scripts.number);  // a script once completed is never reopened
  if (number != scripts.number)
    startScript(scripts, number);
  else
    scripts.writer.write("\n],\n");
  scripts.text.clear();
  appendScriptString(scripts.text, id);
  scripts.text += ": [";
  scripts.writer.write(scripts.text);
  scripts.firstLine = true;
}

void addTreeNodeLine(TreeScripts& scripts, std::string_view line) {
  scripts.text = scripts.firstLine ? "\n" : ",\n";
  scripts.firstLine = false;
  appendScriptString(scripts.text, line, scripts.utf8);
  scripts.writer.write(scripts.text);
}

void writeTreeNode(TreeScripts& scripts, int number, std::string_view id,
                   const std::vector<std::string>& lines) {
  beginTreeNode(scripts, number, id);
  for (const std::string& line : lines) addTreeNodeLine(scripts, line);
}

bool finishTreeScripts(TreeScripts& scripts) {
  completeScript(scripts);
  scripts.number = -1;
  return scripts.ok;
}

}  // namespace quillon
