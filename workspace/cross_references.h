#pragma once
// The cross-references of a workspace: every text file it lists scanned on the run's
// threads, the scans merged into one symbol table, and each page's names placed from it.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/placed_names.h"
#include "xref/table.h"

namespace quillon {

struct PagePlan;
struct ProjectModel;
struct RunContext;

/// The table of a workspace (or of all the workspaces of a solution) and which page each
/// of its files has.
struct WorkspaceXref {
  xref::SymbolTable table;
  std::vector<std::string> pages;    ///< per file of the table: its page's file name
  std::vector<std::string> folders;  ///< per file: its workspace folder ("Calc_HTML")
  std::vector<std::string> shown;    ///< per file: what the trees call it
  std::vector<bool> utf8;            ///< per file: whether its page is UTF-8
  /// The file of each page, by its workspace folder, "/" and its file name.
  std::unordered_map<std::string, std::uint32_t> fileOfPage;
  /// The merge ran out of memory: the table places nothing.
  bool outOfMemory = false;
};

/// The anchor of a symbol's own place on its page: "x" + line + "." + column.
std::string symbolAnchor(const xref::SymbolTable& table, const xref::Symbol& symbol);

/// Scans the files of the project that have pages (each once, in the order of the lists:
/// sources, headers, resources; read from `directory` as the pages are), on the run's
/// threads, and adds them to the table as files of the workspace folder `folder`.
void addWorkspaceFiles(RunContext& context, const ProjectModel& project, const std::string& directory,
                       const std::string& folder, WorkspaceXref& xref);

/// Merges the files added into one table and places every name, on up to `threads`
/// threads. When the memory runs out, the table places nothing and says so.
void resolveCrossReferences(WorkspaceXref& xref, int threads);

/// The placed names of the page `pageName` of the workspace folder `folder`: a link for
/// each name the table places, the symbol's anchor on its own place. False when the page
/// has no file in the table.
bool placeNamesOf(const WorkspaceXref& xref, const std::string& folder, const std::string& pageName,
                  PagePlacedNames* placed);

/// A key of what `placed` puts on a page: equal for pages whose names lead alike.
std::uint64_t placedNamesKey(const PagePlacedNames& placed);

/// `placeNamesOf` for the pages of a workspace's run (see `RunContext::placeNames`).
std::function<bool(const PagePlan&, PagePlacedNames*)> pagePlacer(const WorkspaceXref& xref,
                                                                 const std::string& folder);

}  // namespace quillon
