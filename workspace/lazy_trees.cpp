#include "workspace/lazy_trees.h"

#include "classmodel/records.h"
#include "engine/encoding.h"
#include "workspace/page_names.h"
#include "workspace/project_model.h"
#include "workspace/tree_lines.h"
#include "workspace/tree_scripts.h"

namespace quillon {

namespace {

void addName(Utf8Check& check, const std::string& name) {
  check.add(name);
  check.add("\n");
}

void sourceFolderBlocks(const ProjectModel& project, std::vector<std::string>& lines,
                        TreeScripts& scripts) {
  const std::vector<FolderBlock> blocks = folderBlocks(project);
  std::vector<size_t> counts;
  for (const FolderBlock& block : blocks) counts.push_back(block.files->size());
  const std::vector<int> numbers = planTreeScripts(counts);
  for (size_t i = 0; i < blocks.size(); ++i) {
    folderNodeLines(lines, {blocks[i].name, blocks[i].name, blocks[i].name, ""}, blocks[i].number,
                    blocks[i].lastNode, nodeScriptName(scripts.kind, numbers[i]));
    lines.push_back(nodeClosingLine);
  }
  std::vector<std::string> files;
  for (size_t i = 0; i < blocks.size(); ++i) {
    files.clear();
    folderBlockFileLines(project, blocks[i], files);
    writeTreeNode(scripts, numbers[i], "Folder" + std::to_string(blocks[i].number), files);
  }
}

/// The lines of each folder below `folder` by its number (from 1, at `number - 1`).
void countFolderLines(const DiskFolder& folder, std::vector<size_t>& counts) {
  for (const auto& sub : folder.folders) {
    counts[sub->number - 1] = nodeLineCount * sub->folders.size() + sub->files.size();
    countFolderLines(*sub, counts);
  }
}

/// Writes the lines of the folders below `folder`, in the order of their numbers.
void writeFolderContents(const ProjectModel& project, const DiskFolder& folder,
                         const std::string& prefix, const std::vector<int>& numbers,
                         const FolderScripts& names, TreeScripts& scripts) {
  std::vector<std::string> lines;
  const size_t count = folder.folders.size() + folder.files.size();
  for (size_t i = 0; i < folder.folders.size(); ++i) {
    const DiskFolder& sub = *folder.folders[i];
    const std::string inner = prefix + connectorImage(i + 1 == count ? "white.gif" : "I.gif");
    lines.clear();
    diskFolderLines(project, lines, sub, inner, &names);
    writeTreeNode(scripts, numbers[sub.number - 1], "Folder" + std::to_string(sub.number), lines);
    writeFolderContents(project, sub, inner, numbers, names, scripts);
  }
}

void sourceDiskFolders(const ProjectModel& project, std::vector<std::string>& lines,
                       TreeScripts& scripts) {
  DiskFolder root;
  std::vector<size_t> counts(static_cast<size_t>(fillDiskFolders(root, project.folderFiles)));
  countFolderLines(root, counts);
  const std::vector<int> numbers = planTreeScripts(counts);
  FolderScripts names;
  for (int number : numbers) names.push_back(nodeScriptName(scripts.kind, number));
  diskFolderLines(project, lines, root, "", &names);
  writeFolderContents(project, root, "", numbers, names, scripts);
}

}  // namespace

size_t sourceTreeLineCount(const ProjectModel& project) {
  size_t count = 0;
  if (project.folderFiles.empty()) {
    for (const FolderBlock& block : folderBlocks(project)) count += nodeLineCount + block.files->size();
    return count;
  }
  DiskFolder root;
  const int folders = fillDiskFolders(root, project.folderFiles);
  return nodeLineCount * static_cast<size_t>(folders) + project.folderFiles.size();
}

size_t classTreeLineCount(const ClassModel& model) {
  size_t count = 0;
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum})
    for (const ClassRecord& record : recordsOf(model, kind)) count += nodeLineCount + record.members.size();
  return count;
}

void addSourceTreeNames(Utf8Check& check, const ProjectModel& project) {
  // A tree read from disk shows its folders' paths and its files' names; a project's
  // tree the names its files are shown by.
  for (const std::string& entry : project.folderFiles) addName(check, entry);
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles})
    for (const std::string& entry : *list) addName(check, listedNameOf(project, entry).shown);
}

void addClassTreeNames(Utf8Check& check, const ClassModel& model) {
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    for (const ClassRecord& record : recordsOf(model, kind)) {
      addName(check, record.name);
      addName(check, record.page);
      for (const MemberRecord& member : record.members) addName(check, member.text);
    }
  }
}

bool buildLazySourceTree(const ProjectModel& project, std::vector<std::string>& lines,
                         const std::string& directory, bool utf8) {
  TreeScripts scripts;
  scripts.directory = directory;
  scripts.kind = 's';
  scripts.utf8 = utf8;
  if (project.folderFiles.empty())
    sourceFolderBlocks(project, lines, scripts);
  else
    sourceDiskFolders(project, lines, scripts);
  return finishTreeScripts(scripts);
}

}  // namespace quillon
