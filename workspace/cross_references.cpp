#include "workspace/cross_references.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "engine/converter.h"
#include "engine/encoding.h"
#include "engine/html_text.h"
#include "engine/parallel.h"
#include "workspace/disk_paths.h"
#include "workspace/incremental.h"
#include "workspace/page_names.h"
#include "workspace/xref_pages.h"
#include "xref/scan.h"

namespace quillon {

namespace {

/// A listed file with a page of its own, to be scanned.
struct Listed {
  std::string page, shown, path;
  SourceLanguage language;
};

std::vector<Listed> filesToScan(const ProjectModel& project, const std::string& directory) {
  std::vector<Listed> files;
  std::unordered_map<std::string, bool> seen;
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    for (const std::string& entry : *list) {
      const SourceLanguage language = languageOf(entry);
      if (language == SourceLanguage::None) continue;
      const ListedName named = listedNameOf(project, entry);
      if (!seen.emplace(named.page, true).second) continue;
      files.push_back({named.page, named.shown,
                       diskPathOf(project, directory, entry), language});
    }
  }
  return files;
}

/// What one file's scan came to.
struct Scanned {
  xref::FileScan scan;
  bool utf8 = false;
};

/// Scans `files` on up to `jobs` threads. A file that cannot be read, or whose scan runs
/// out of memory, gives an empty scan.
std::vector<Scanned> scanAll(const std::vector<Listed>& files, int jobs, const std::atomic<bool>& stop) {
  std::vector<Scanned> scans(files.size());
  forEachOnThreads(files.size(), jobs, [&](size_t i) {
    if (stop) return;
    std::string text;
    try {
      if (!xref::readSourceText(files[i].path, &text)) return;
      scans[i].utf8 = isUtf8Text(text);
      scans[i].scan = xref::scanSource(text, files[i].language);
    } catch (const std::bad_alloc&) {
      scans[i] = Scanned();
    }
  });
  return scans;
}

}  // namespace

std::string symbolAnchor(const xref::SymbolTable& table, const xref::Symbol& symbol) {
  const xref::Record& r = table.recordOf(symbol);
  std::string anchor("x");
  appendDecimal(anchor, r.line);
  anchor += '.';
  appendDecimal(anchor, r.column);
  return anchor;
}

void addWorkspaceFiles(RunContext& context, const ProjectModel& project, const std::string& directory,
                       const std::string& folder, WorkspaceXref& xref) {
  const std::vector<Listed> files = filesToScan(project, directory);
  std::vector<Scanned> scans = scanAll(files, context.settings.jobs, context.run.stopRequested);
  for (size_t i = 0; i < files.size(); ++i) {
    const auto file = static_cast<std::uint32_t>(xref.table.files.size());
    if (!xref.fileOfPage.emplace(folder + "/" + files[i].page, file).second) continue;
    xref.pages.push_back(files[i].page);
    xref.folders.push_back(folder);
    xref.shown.push_back(files[i].shown);
    xref.utf8.push_back(scans[i].utf8);
    xref.table.files.push_back(std::move(scans[i].scan));
  }
}

void resolveCrossReferences(WorkspaceXref& xref, int threads) {
  try {
    xref::resolveSymbols(xref.table, threads);
  } catch (const std::bad_alloc&) {
    xref::SymbolTable& table = xref.table;
    table.links.assign(table.files.size(), {});
    table.symbols.clear();
    table.choosers.clear();
    table.uses.clear();
    xref.outOfMemory = true;
  }
}

bool placeNamesOf(const WorkspaceXref& xref, const std::string& folder, const std::string& pageName,
                  PagePlacedNames* placed) {
  auto found = xref.fileOfPage.find(folder + "/" + pageName);
  if (found == xref.fileOfPage.end()) return false;
  const std::uint32_t file = found->second;
  const xref::SymbolTable& table = xref.table;
  const xref::FileScan& scan = table.files[file];
  placed->names.clear();
  placed->next = 0;
  placed->headLine = xrefHeadLine(file);
  placed->names.reserve(table.links[file].size());
  placed->texts.clear();
  // Many names of a page lead to one place: each place's link is made once.
  std::unordered_map<std::uint32_t, std::string_view> hrefs, choosers;
  for (const xref::Link& link : table.links[file]) {
    PlacedName name;
    name.line = link.line;
    name.ordinal = link.ordinal;
    name.name = scan.names[link.name];
    const bool chooser = link.kind == xref::Link::Kind::Chooser;
    auto [at, added] = (chooser ? choosers : hrefs).try_emplace(link.target);
    if (added)
      at->second = placed->texts.emplace_back(
          chooser ? "xref/c" + std::to_string(link.target / choosersPerPage) + ".htm#c" +
                        std::to_string(link.target)
                  : symbolHref(xref, folder, file, link.target));
    name.href = at->second;
    if (link.kind == xref::Link::Kind::Anchor)
      name.anchor = placed->texts.emplace_back(symbolAnchor(table, table.symbols[link.target]));
    placed->names.push_back(name);
  }
  // The links come in the order of their places already; the sort keeps it so.
  auto byLine = [](const PlacedName& a, const PlacedName& b) { return a.line < b.line; };
  if (!std::is_sorted(placed->names.begin(), placed->names.end(), byLine))
    std::stable_sort(placed->names.begin(), placed->names.end(), byLine);
  return true;
}

std::uint64_t placedNamesKey(const PagePlacedNames& placed) {
  std::string all = placed.headLine;
  for (const PlacedName& name : placed.names) {
    all += std::to_string(name.line) + " " + std::to_string(name.ordinal) + " ";
    all.append(name.name).append("\t").append(name.href).append("\t").append(name.anchor) += '\n';
  }
  return contentHash(all);
}

std::function<bool(const PagePlan&, PagePlacedNames*)> pagePlacer(const WorkspaceXref& xref,
                                                                 const std::string& folder) {
  return [&xref, folder](const PagePlan& plan, PagePlacedNames* placed) {
    return placeNamesOf(xref, folder, plan.pageName, placed);
  };
}

}  // namespace quillon
