// The class tree whose nodes load on demand: its records grouped by their names' first
// letters, a group of many records split further where their names begin to differ.
#include <map>

#include "classmodel/class_tree.h"
#include "classmodel/records.h"
#include "engine/html_text.h"
#include "workspace/lazy_trees.h"
#include "workspace/tree_lines.h"
#include "workspace/tree_scripts.h"

namespace quillon {

namespace {

/// The most records a group shows as nodes of its own; a group of more is split.
constexpr size_t groupRecords = 500;

/// A group of the class tree, shown as a folder: records whose names begin alike (letter
/// case aside), or the groups that tell them apart further.
struct RecordGroup {
  std::string shown;
  std::vector<TreeRecord> records;  ///< the records of a group that is not split
  std::vector<RecordGroup> groups;  ///< the groups of one that is
  int id = 0;                       ///< its node is "Letter<id>", counted in tree order
  size_t place = 0;                 ///< its place among the nodes whose lines are written
};

/// The byte at `i` of `name` with ASCII letters in upper case; 0 past its end.
unsigned char foldedAt(const std::string& name, size_t i) {
  const unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : 0;
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

/// The first place from `from` where the group's names differ; npos when they do not.
size_t firstDifference(const std::vector<TreeRecord>& records, size_t from) {
  const std::string& first = records.front().record->name;
  for (size_t at = from;; ++at) {
    for (const TreeRecord& item : records)
      if (foldedAt(item.record->name, at) != foldedAt(first, at)) return at;
    if (at >= first.size()) return std::string::npos;
  }
}

/// The first `length` bytes of `name`, and the rest of a UTF-8 character they would cut.
std::string namePrefix(const std::string& name, size_t length) {
  while (length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) ++length;
  return name.substr(0, length);
}

/// Splits a group of too many records (whose names are alike before `from`) by the byte
/// where their names first differ, and each part again while it holds too many.
void splitGroup(RecordGroup& group, size_t from) {
  if (group.records.size() <= groupRecords) return;
  const size_t at = firstDifference(group.records, from);
  if (at == std::string::npos) return;
  std::map<unsigned char, RecordGroup> parts;
  for (const TreeRecord& item : group.records) parts[foldedAt(item.record->name, at)].records.push_back(item);
  for (auto& [key, part] : parts) {
    part.shown = namePrefix(part.records.front().record->name, at + 1);
    splitGroup(part, at + 1);
    group.groups.push_back(std::move(part));
  }
  std::vector<TreeRecord>().swap(group.records);  // its parts hold them now
}

/// The top level: a group for each first letter (A to Z, "_", then all others), each
/// split as it needs.
std::vector<RecordGroup> letterGroups(const ClassModel& model) {
  std::vector<RecordGroup> letters(28);
  forEachTreeRecord(model, [&](const TreeRecord& item) {
    const unsigned char c = foldedAt(item.record->name, 0);
    letters[c >= 'A' && c <= 'Z' ? c - 'A' : c == '_' ? 26 : 27].records.push_back(item);
  });
  std::vector<RecordGroup> groups;
  for (size_t g = 0; g < letters.size(); ++g) {
    if (letters[g].records.empty()) continue;
    letters[g].shown = g < 26 ? std::string(1, static_cast<char>('A' + g)) : g == 26 ? "_" : "Other";
    splitGroup(letters[g], g < 27 ? 1 : 0);
    groups.push_back(std::move(letters[g]));
  }
  return groups;
}

/// Numbers the groups in tree order and counts, in the order they are written, the lines
/// of each node: a group's, then those of its groups or of its records' members.
void planGroups(std::vector<RecordGroup>& groups, int& id, std::vector<size_t>& counts) {
  for (RecordGroup& group : groups) {
    group.id = ++id;
    group.place = counts.size();
    counts.push_back(nodeLineCount * (group.groups.empty() ? group.records.size() : group.groups.size()));
    planGroups(group.groups, id, counts);
    for (const TreeRecord& item : group.records)
      if (!item.record->members.empty()) counts.push_back(item.record->members.size());
  }
}

/// What the groups' and records' lines need besides themselves.
struct ClassScripts {
  TreeScripts scripts;
  std::vector<int> numbers;  ///< the script of each written node, by its place
  bool memberLines = false;
};

std::string groupScript(const ClassScripts& out, size_t place) {
  return nodeScriptName(out.scripts.kind, out.numbers[place]);
}

/// Appends the node lines of groups at the depth `prefix` draws.
void groupNodeLines(const ClassScripts& out, const std::vector<RecordGroup>& groups,
                    const std::string& prefix, std::vector<std::string>& lines) {
  for (size_t g = 0; g < groups.size(); ++g) {
    const std::string& shown = groups[g].shown;
    treeNodeLines(lines, {attributeUrl(shown), attributeText(shown), elementText(shown), prefix},
                  "Letter" + std::to_string(groups[g].id), g + 1 == groups.size(),
                  groupScript(out, groups[g].place));
    lines.push_back(nodeClosingLine);
  }
}

/// Appends the node lines of a group's records, numbered as the whole tree numbers them.
void recordNodeLines(const ClassScripts& out, const RecordGroup& group, const std::string& prefix,
                     std::vector<std::string>& lines) {
  size_t place = group.place;
  for (size_t r = 0; r < group.records.size(); ++r) {
    const TreeRecord& item = group.records[r];
    const ClassRecord& record = *item.record;
    classNodeLines(lines, record.name, record.link, record.page, item.icon, r + 1 == group.records.size(),
                   record.members.size(), item.itemNumber, prefix,
                   record.members.empty() ? std::string() : groupScript(out, ++place));
    lines.push_back(nodeClosingLine);
  }
}

/// Writes the lines of `groups` (shown at the depth `prefix` draws) and all below them.
void writeGroups(ClassScripts& out, const std::vector<RecordGroup>& groups, const std::string& prefix) {
  std::vector<std::string> lines;
  for (size_t g = 0; g < groups.size(); ++g) {
    const RecordGroup& group = groups[g];
    const std::string inner = prefix + connectorImage(g + 1 == groups.size() ? "white.gif" : "I.gif");
    lines.clear();
    groupNodeLines(out, group.groups, inner, lines);
    recordNodeLines(out, group, inner, lines);
    writeTreeNode(out.scripts, out.numbers[group.place], "Letter" + std::to_string(group.id), lines);
    writeGroups(out, group.groups, inner);
    size_t place = group.place;
    for (size_t r = 0; r < group.records.size(); ++r) {
      const ClassRecord& record = *group.records[r].record;
      if (record.members.empty()) continue;
      lines.clear();
      memberItemLines(lines, record,
                      inner + connectorImage(r + 1 == group.records.size() ? "white.gif" : "I.gif"),
                      out.memberLines);
      writeTreeNode(out.scripts, out.numbers[++place],
                    "ClassItem" + std::to_string(group.records[r].itemNumber), lines);
    }
  }
}

}  // namespace

bool buildLazyClassTree(const ClassModel& model, std::vector<std::string>& lines,
                        const std::string& directory, bool utf8, bool memberLines) {
  std::vector<RecordGroup> groups = letterGroups(model);
  std::vector<size_t> counts;
  int id = 0;
  planGroups(groups, id, counts);
  ClassScripts out;
  out.scripts.directory = directory;
  out.scripts.kind = 'c';
  out.scripts.utf8 = utf8;
  out.numbers = planTreeScripts(counts);
  out.memberLines = memberLines;
  groupNodeLines(out, groups, "", lines);
  writeGroups(out, groups, "");
  return finishTreeScripts(out.scripts);
}

}  // namespace quillon
