#pragma once
// The script files of tree pages whose nodes load their lines when first opened: the
// lines of a node's child division are written into a script of the workspace's folder
// "trees" ("trees/s0.js" for the source tree, "trees/c0.js" for the class tree) as a
// plain call, one line of the node a line of the script:
//
//   quillonTreeNodes({
//   "Folder2": [
//   "\t\t\t\t<DIV><nobr>...</nobr></DIV>",
//   ...
//   ],
//   "Folder5": [
//   ...
//   ]});
//
// The tree pages' script TreeNodes.js defines quillonTreeNodes and loads a script with a
// script element, so the trees work from disk without reading files by script. The
// strings are written in ASCII alone (search_index.h), so no name can end them.
#include <string>
#include <string_view>
#include <vector>

#include "engine/page_writer.h"

namespace quillon {

/// The script that the tree pages of a workspace with such nodes load beside Tree.js.
inline constexpr const char* treeNodesScriptName = "TreeNodes.js";

/// The lines of a node that shows no items of its own: its four opening lines
/// (tree_lines.h `treeNodeLines`) and its closing one.
inline constexpr size_t nodeLineCount = 5;
inline constexpr const char* nodeClosingLine = "\t\t\t</div>\n";

/// The folder of the workspace that holds the nodes' scripts.
inline constexpr const char* treeScriptFolder = "trees";

/// About how many lines a script holds: a node's lines are never split, and a script
/// takes the next node while it holds fewer.
inline constexpr size_t treeScriptLines = 2000;

/// The script `number` of a tree, as the tree page names it: "trees/<kind><number>.js".
std::string nodeScriptName(char kind, int number);

/// The script of each node's lines, for nodes whose lines are written in this order and
/// `lineCounts[i]` long: a script takes nodes one after the other until it holds
/// `scriptLines` lines or more.
std::vector<int> planTreeScripts(const std::vector<size_t>& lineCounts,
                                 size_t scriptLines = treeScriptLines);

/// The scripts of one tree page, written one after the other as the nodes' lines come.
struct TreeScripts {
  std::string directory;  ///< the workspace folder
  char kind = 's';        ///< 's': the source tree's, 'c': the class tree's
  bool utf8 = false;      ///< the trees' bytes are UTF-8 (else windows-1252)
  PageWriter writer;
  int number = -1;        ///< the script being written; -1 before the first
  bool firstLine = true;  ///< of the node being written
  bool ok = true;
  std::string text;       ///< the piece being written (kept for its room)
};

/// Starts the lines of the node `id` in the script `number`, which is the one being
/// written or a later one (the one being written is then completed).
void beginTreeNode(TreeScripts& scripts, int number, std::string_view id);

/// Adds a line to the node begun last.
void addTreeNodeLine(TreeScripts& scripts, std::string_view line);

/// Starts the node `id` in the script `number` with `lines`.
void writeTreeNode(TreeScripts& scripts, int number, std::string_view id,
                   const std::vector<std::string>& lines);

/// Completes the script being written. False when any of the scripts could not be
/// written.
bool finishTreeScripts(TreeScripts& scripts);

}  // namespace quillon
