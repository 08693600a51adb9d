#include "workspace/workspace.h"

#include <algorithm>
#include <new>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "classmodel/preprocess.h"
#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/page_jobs.h"
#include "engine/page_writer.h"
#include "engine/themes.h"
#include "platform/platform.h"
#include "workspace/assets.h"
#include "workspace/cross_references.h"
#include "workspace/disk_paths.h"
#include "workspace/page_names.h"
#include "workspace/project_file.h"
#include "workspace/search_index.h"
#include "workspace/text_index.h"
#include "workspace/tree_lines.h"
#include "workspace/incremental.h"
#include "workspace/tree_pages.h"
#include "workspace/xref_pages.h"

namespace quillon {

namespace {

/// Where a workspace goes and which template draws its source tree.
struct WorkspacePlan {
  std::string folderName;  ///< "Calc_HTML", "Project_HTML"
  std::string directory;   ///< the output directory joined with the folder name
  std::string sourceTreeTemplate;
};

WorkspacePlan planIn(const ConversionSettings& settings, std::string folderName,
                     const std::string& sourceTreeTemplate) {
  std::string directory = platform::joinPath(settings.outputDirectory, folderName);
  return {std::move(folderName), std::move(directory), sourceTreeTemplate};
}

bool createWorkspaceFolder(RunState& run, const WorkspacePlan& plan) {
  if (platform::createDirectory(plan.directory)) return true;
  addProblem(run, "<" + plan.folderName + " can't be created>");
  return false;
}

/// Copies a page of the program's own, made to follow a dark theme (the light theme's copy
/// is the file itself).
bool copyThemed(const ConversionSettings& settings, const std::string& from, const std::string& to) {
  if (settings.theme == Theme::Light) return platform::copyFileReplacing(from, to);
  std::string text;
  if (!readWholeFile(from, &text)) return false;
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  themeWorkspacePage(settings, text);
  return writeTextFile(to, text);
}

/// Copies the two tab pages, replacing those of an earlier run (the file tab is stamped
/// with the first page's name afterwards, so an old copy would carry two names).
void copyTabPages(RunContext& context, const WorkspacePlan& plan) {
  for (const char* name : {"Tabs.htm", "FileTab.htm"}) {
    const std::string from = platform::joinPath(context.settings.startupDirectory, name);
    if (!platform::fileExists(from)) {
      addProblem(context.run, "<" + std::string(name) + " can't be read>");
      continue;
    }
    if (!copyThemed(context.settings, from, platform::joinPath(plan.directory, name)))
      addProblem(context.run, "<" + std::string(name) + " can't be written>");
  }
}

/// The pages that includes in the workspace's files link to.
WorkspacePages workspacePages(const std::string& sourceDirectory, const ProjectModel& project) {
  WorkspacePages pages;
  pages.sourceDirectory = sourceDirectory;
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    for (const std::string& entry : *list) {
      if (isImageResource(entry)) continue;
      pages.add(entry, listedNameOf(project, entry).page);
    }
  }
  return pages;
}

/// The workspace's pages made on a thread of their own while the classes are gathered
/// (the project's lists no longer change then).
class PagesAhead {
 public:
  PagesAhead(std::string sourceDirectory, const ProjectModel& project)
      : sourceDirectory_(std::move(sourceDirectory)), project_(project) {
    try {
      thread_ = std::thread([this] {
        try {
          pages_ = workspacePages(sourceDirectory_, project_);
        } catch (const std::bad_alloc&) {
          pages_.reset();  // made again where the run can report it
        }
      });
    } catch (const std::system_error&) {
      // no thread to be had: made when needed
    }
  }
  ~PagesAhead() {
    if (thread_.joinable()) thread_.join();
  }
  PagesAhead(const PagesAhead&) = delete;
  PagesAhead& operator=(const PagesAhead&) = delete;
  WorkspacePages take() {
    if (thread_.joinable()) thread_.join();
    return pages_ ? std::move(*pages_) : workspacePages(sourceDirectory_, project_);
  }

 private:
  const std::string sourceDirectory_;
  const ProjectModel& project_;
  std::optional<WorkspacePages> pages_;
  std::thread thread_;
};

/// The plan of a listed file's page; nothing when an earlier entry named the same file.
std::optional<PagePlan> pagePlan(const ConversionSettings& settings, const ProjectModel& project,
                                 const std::string& entry, std::unordered_set<std::string>& planned) {
  std::string page = listedNameOf(project, entry).page;
  if (!planned.insert(page).second) return std::nullopt;
  return PagePlan{entry, settings.sourceDirectory, settings.outputDirectory, std::move(page),
                  diskPathOf(project, settings.sourceDirectory, entry)};
}

/// Converts `plans`; in an incremental run only the pages that changed.
void convertPlannedPages(RunContext& context, const std::vector<PagePlan>& plans,
                         IncrementalRun* incremental, const WorkspaceXref* xref,
                         const std::string& folder) {
  if (!incremental) {
    convertPages(context, plans);
    return;
  }
  std::function<std::uint64_t(const PagePlan&)> placedKey;
  if (xref)
    placedKey = [xref, &folder](const PagePlan& plan) {
      PagePlacedNames placed;
      return placeNamesOf(*xref, folder, plan.pageName, &placed) ? placedNamesKey(placed) : 0;
    };
  const std::vector<PagePlan> changed =
      incremental->pagesToConvert(plans, context.classModel, *context.pages, placedKey);
  std::vector<PageOutcome> outcomes;
  context.recordIncludes = true;  // where the includes lead is kept for the next run
  convertPages(context, changed, &outcomes);
  context.recordIncludes = false;
  incremental->converted(changed, outcomes);
}

/// Converts the source files and then the header files into the workspace, each file once.
void convertSourcesAndHeaders(RunContext& context, const ProjectModel& project,
                              std::unordered_set<std::string>& planned,
                              IncrementalRun* incremental, const WorkspaceXref* xref,
                              const std::string& folder) {
  std::vector<PagePlan> plans;
  for (const std::vector<std::string>* list : {&project.sourceFiles, &project.headerFiles})
    for (const std::string& entry : *list)
      if (std::optional<PagePlan> plan = pagePlan(context.settings, project, entry, planned))
        plans.push_back(std::move(*plan));
  convertPlannedPages(context, plans, incremental, xref, folder);
}

/// Marks the image resources that cannot be found, whose tree items then open the blank
/// page rather than a copy that will not be there. True when there is one.
bool markMissingImages(ProjectModel& project, const std::string& sourceDirectory) {
  bool any = false;
  for (const std::string& entry : project.resourceFiles) {
    if (!isImageResource(entry) || !diskPathOf(project, sourceDirectory, entry).empty()) continue;
    ListedName& named = project.listedNames[entry];
    if (named.page.empty()) named = listedNameOf(project, entry);
    named.missing = any = true;
  }
  return any;
}

void writeBlankPage(RunContext& context, const WorkspacePlan& plan) {
  writeTextFile(platform::joinPath(plan.directory, blankPageName),
                pageHeader(context.settings) + std::string(pageFooter()));
}

/// Copies an image resource into the workspace's Images folder under its name there,
/// replacing an earlier run's copy, which may be stale.
void copyImageResource(RunContext& context, const ProjectModel& project, const std::string& entry,
                       const std::string& copyName, const WorkspacePlan& plan) {
  const std::string from = diskPathOf(project, context.settings.sourceDirectory, entry);
  if (from.empty()) {
    addProblem(context.run, "<" + baseName(entry) + " can't be read>");
    return;
  }
  const std::string to = platform::joinPath(platform::joinPath(plan.directory, "Images"), copyName);
  // The file the project lists may be the copy itself (a project inside its workspace).
  if (platform::sameFile(from, to) || platform::copyFileReplacing(from, to))
    ++context.run.convertedFileCount;
  else
    addProblem(context.run, "<" + copyName + " can't be written>");
}

void convertResources(RunContext& context, const ProjectModel& project, const WorkspacePlan& plan,
                      std::unordered_set<std::string>& planned, IncrementalRun* incremental,
                      const WorkspaceXref* xref) {
  std::unordered_set<std::string> copied;
  for (const std::string& entry : project.resourceFiles) {
    if (context.run.stopRequested) return;
    if (isImageResource(entry)) {
      const std::string copyName = listedNameOf(project, entry).page;
      if (copied.insert(copyName).second) copyImageResource(context, project, entry, copyName, plan);
    } else if (std::optional<PagePlan> page = pagePlan(context.settings, project, entry, planned)) {
      convertPlannedPages(context, {*page}, incremental, xref, plan.folderName);
    }
  }
}

/// The first page of the workspace: what its source frame opens (relative to the index
/// page) and the name its file tab shows (empty: none).
struct FirstPage {
  std::string frameTarget;
  std::string tabName;
};

/// The first source file, else the first header, else the first resource; when there is
/// none, or its page or image is not in the workspace (a stop came first), a blank page.
FirstPage chooseFirstPage(RunContext& context, const ProjectModel& project,
                          const WorkspacePlan& plan) {
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    if (list->empty()) continue;
    const ListedName named = listedNameOf(project, list->front());
    const std::string relative =
        isImageResource(list->front()) ? "Images\\" + named.page : named.page;
    if (platform::fileExists(platform::resolvePath(plan.directory, relative)))
      return {plan.folderName + "\\" + relative, named.shown};
    break;
  }
  writeBlankPage(context, plan);
  return {plan.folderName + "\\" + blankPageName, ""};
}

/// Writes the index page into `parent` and records it as the page written last.
void writeIndexPage(RunContext& context, const std::string& parent, const ProjectModel& project,
                    const WorkspacePlan& plan, const FirstPage& first) {
  const std::string name = indexFileName(project.indexName);
  std::string text = indexPageText(project.displayName, plan.folderName, first.frameTarget);
  themeWorkspacePage(context.settings, text);  // the frames' borders
  if (writeTextFile(platform::joinPath(parent, name), text)) {
    context.run.lastOutputFileName = name;
  } else {
    context.run.lastOutputFileName.clear();
    addProblem(context.run, "<" + name + " can't be written>");
  }
}

/// The files of a text index, with the lines of each that hold a definition when the
/// workspace has cross-references.
std::vector<TextIndexFile> textIndexFilesOf(const ProjectModel& project, const std::string& sourceDirectory,
                                            const WorkspaceXref* xref, const std::string& folder) {
  std::vector<TextIndexFile> files = textIndexFiles(project, sourceDirectory);
  if (!xref) return files;
  for (TextIndexFile& file : files) {
    auto found = xref->fileOfPage.find(folder + "/" + file.page);
    if (found == xref->fileOfPage.end()) continue;
    for (const xref::Record& r : xref->table.files[found->second].records)
      if (r.role == xref::Role::Definition && r.kind != xref::SymbolKind::Parameter &&
          r.kind != xref::SymbolKind::Local && (file.definitions.empty() || file.definitions.back() < r.line))
        file.definitions.push_back(r.line);
  }
  return files;
}

/// What is known of a workspace's trees before it is built.
struct TreesPlan {
  bool missingImages = false;  ///< an image resource is missing: its items open the blank page
  bool kept = false;           ///< an incremental run keeps the trees and the search index
  bool utf8 = false;           ///< then: they declare UTF-8
};

/// Everything after the project's lists and class records are complete: images, tree
/// pages, tab pages, the pages of the files, the file tab and the index page.
void buildWorkspace(SourceFileConverter& converter, const WorkspacePlan& plan,
                    const WorkspaceXref* xref, std::thread* resolving,
                    IncrementalRun* incremental, const TreesPlan& trees, PagesAhead& pagesAhead) {
  RunContext& context = converter.context;
  ConversionSettings& settings = context.settings;
  ProjectModel& project = converter.project;
  copyWorkspaceImages(settings.startupDirectory, plan.directory);
  if (trees.missingImages) writeBlankPage(context, plan);
  // The text index is made on a thread of its own while the trees and the pages are made;
  // with cross-references it waits for them (it marks the definitions' lines). It takes the
  // sources' texts from the pages as they read them; an incremental run, which converts
  // few pages, leaves it to read them itself.
  bool textIndexWritten = true;
  std::unique_ptr<TextIndexFeed> feed;  // outlives the thread that waits on it
  std::thread textIndex;
  auto startTextIndex = [&] {
    if (!settings.textSearch || textIndex.joinable()) return;
    std::vector<TextIndexFile> files =
        textIndexFilesOf(project, settings.sourceDirectory, xref, plan.folderName);
    if (!incremental) feed = std::make_unique<TextIndexFeed>(files);
    textIndex = std::thread([&, directory = plan.directory, data = settings.startupDirectory,
                             files = std::move(files), fed = feed.get()] {
      try {
        textIndexWritten = writeTextIndex(directory, data, files, nullptr,
                                          [&] { return context.run.stopRequested.load(); }, fed,
                                          settings.jobs);
      } catch (const std::bad_alloc&) {
        textIndexWritten = false;  // a line too long for the memory there is
      }
    });
  };
  if (!resolving || !resolving->joinable()) startTextIndex();
  bool utf8 = trees.utf8;
  // The trees and the search index need the class records alone: they are written on a
  // thread of their own, beside the merge of the cross-references and the pages.
  bool treesWritten = true;
  std::thread treeWriter;
  if (!trees.kept)
    treeWriter = std::thread([&] {
      try {
        treesWritten = writeTreePages(
            context, project, {plan.directory, plan.folderName, plan.sourceTreeTemplate}, &utf8);
        if (treesWritten &&
            !writeSearchIndex(plan.directory, project, context.classModel, settings.lineNumbers, utf8))
          addProblem(context.run, "<" + std::string(searchIndexName) + " can't be written>");
      } catch (const std::bad_alloc&) {
        treesWritten = false;
        addProblem(context.run, "<" + plan.folderName + ": the trees ran out of memory>");
      }
    });
  copyTabPages(context, plan);
  copyDataScript(context, plan.directory, treeScriptName);

  // The pages need the cross-references complete.
  if (resolving && resolving->joinable()) resolving->join();
  if (xref && xref->outOfMemory)
    addProblem(context.run, "<" + plan.folderName + ": the cross-references ran out of memory>");
  const std::string parent = settings.outputDirectory;
  settings.outputDirectory = plan.directory;
  const WorkspacePages pages = pagesAhead.take();
  context.pages = &pages;
  if (xref) context.placeNames = pagePlacer(*xref, plan.folderName);
  startTextIndex();
  if (feed)
    context.takeSourceText = [&feed](const PagePlan& page, std::string&& text, bool utf8) {
      feed->take(page.pageName, std::move(text), utf8);
    };
  std::unordered_set<std::string> planned;
  convertSourcesAndHeaders(context, project, planned, incremental, xref, plan.folderName);
  convertResources(context, project, plan, planned, incremental, xref);
  context.takeSourceText = nullptr;
  if (feed) feed->close();
  context.pages = nullptr;
  context.placeNames = nullptr;
  settings.outputDirectory = parent;
  if (treeWriter.joinable()) treeWriter.join();
  if (!treesWritten) {
    if (textIndex.joinable()) textIndex.join();
    return;
  }
  if (incremental) incremental->treesWritten(utf8);
  if (xref && !context.run.stopRequested)
    writeXrefFiles(settings, context.run, *xref, plan.folderName, plan.directory);
  if (textIndex.joinable()) textIndex.join();
  if (!textIndexWritten) addProblem(context.run, "<the text index can't be written>");

  const FirstPage first = chooseFirstPage(context, project, plan);
  if (!first.tabName.empty())
    stampFileTab(platform::joinPath(plan.directory, "FileTab.htm"), first.tabName, utf8);
  writeIndexPage(context, parent, project, plan, first);
  if (incremental) incremental->finish();
  context.run.currentDirectory = settings.startupDirectory;
  // A stop request ends this workspace only; a Stop the user confirmed ends the run.
  context.run.stopRequested = context.run.cancelled.load();
}

}  // namespace

bool haveWorkspaceData(RunContext& context) {
  const std::string& data = context.settings.startupDirectory;
  std::string missing;
  for (const char* name : {"SourceTree_Template.htm", "ProjectTree_Template.htm",
                           "ClassTree_Template.htm", treeScriptName, "Tabs.htm", "FileTab.htm"})
    if (!platform::fileExists(platform::joinPath(data, name))) missing += std::string(", ") + name;
  if (!platform::directoryExists(platform::joinPath(data, "Images"))) missing += ", Images";
  if (missing.empty()) return true;
  addProblem(context.run, "<no workspace can be made: " + data + " lacks " + missing.substr(2) +
                              " (give the folder of the program's data with --data)>");
  return false;
}

bool readProjectWorkspace(SourceFileConverter& converter, const std::string& path,
                          const ProjectOrigin& origin, ListedWorkspace* workspace) {
  RunState& run = converter.context.run;
  if (!readProjectFile(converter, path, origin)) return false;
  if (!origin.name.empty()) setProjectName(converter.project, origin.name);
  // The listed paths are relative to the project file.
  *workspace = {origin.folderName.empty() ? projectFolderName(path) : origin.folderName,
                "SourceTree_Template.htm",
                directoryOf(platform::resolvePath(run.currentDirectory, path)), true};
  nameListedFiles(converter.project);
  findListedFiles(run, converter.project, workspace->sourceDirectory);
  return true;
}

void convertProject(SourceFileConverter& converter, const std::string& path,
                    const ProjectOrigin& origin) {
  if (converter.context.run.stopRequested) return;  // a stopped run starts no new workspace
  if (!haveWorkspaceData(converter.context)) return;
  ListedWorkspace workspace;
  if (readProjectWorkspace(converter, path, origin, &workspace))
    convertListedFiles(converter, workspace);
}

void convertFileSet(SourceFileConverter& converter, const std::vector<std::string>& paths) {
  RunState& run = converter.context.run;
  ProjectModel& project = converter.project;
  if (run.stopRequested || !haveWorkspaceData(converter.context)) return;
  clearProject(project);
  project.displayName = "Project";
  project.indexName = "Source_Project";
  // Each file keeps its full path, so files from several folders are all read.
  for (const std::string& path : paths) {
    if (run.stopRequested) break;
    addListedFile(project, path);
  }
  convertListedFiles(converter, {"Project_HTML", "ProjectTree_Template.htm", run.currentDirectory,
                                 false});
}

void convertListedFiles(SourceFileConverter& converter, const ListedWorkspace& workspace) {
  ConversionSettings& settings = converter.context.settings;
  RunState& run = converter.context.run;
  const WorkspacePlan plan = planIn(settings, workspace.folderName, workspace.sourceTreeTemplate);
  if (!createWorkspaceFolder(run, plan)) return;
  // The class-tree preprocessing reads from the current directory, as the pages do.
  settings.sourceDirectory = run.currentDirectory = workspace.sourceDirectory;
  // An incremental run reads the last manifest while the files are named and found.
  std::optional<ManifestReading> reading;
  ManifestReading* manifest = workspace.manifest;
  if (settings.incremental && !manifest)
    manifest = &reading.emplace(plan.directory, optionsKey(converter.context));
  nameListedFiles(converter.project);
  findListedFiles(run, converter.project, workspace.sourceDirectory);
  TreesPlan trees;
  trees.missingImages = markMissingImages(converter.project, settings.sourceDirectory);
  // From here on the project's lists and names stay as they are.
  PagesAhead pagesAhead(settings.sourceDirectory, converter.project);
  std::unique_ptr<IncrementalRun> incremental;
  if (settings.incremental)
    incremental = std::make_unique<IncrementalRun>(converter.context, converter.project, plan.directory,
                                                   manifest);
  preprocessClassTree(converter, incremental ? &incremental->gathering() : nullptr);
  // An incremental run keeps the trees and the search index when nothing they show changed.
  trees.kept = incremental && incremental->treesCurrent(converter.context.classModel,
                                                        plan.sourceTreeTemplate,
                                                        workspace.sortRecords, &trees.utf8);
  if (workspace.sortRecords) sortClassRecords(converter.context.classModel);
  // A solution's projects share one table, gathered before any of them is written.
  WorkspaceXref own;
  const WorkspaceXref* xref = workspace.xref;
  std::thread resolving;
  if (settings.crossReferences && !xref) {
    // The scan and the merge run beside the trees and the search index, which need the
    // class records alone: the trees fill the cores that the merge's serial part leaves.
    resolving = std::thread([&converter, &workspace, &own, jobs = settings.jobs] {
      try {
        addWorkspaceFiles(converter.context, converter.project, workspace.sourceDirectory,
                          workspace.folderName, own);
      } catch (const std::bad_alloc&) {
        own = WorkspaceXref();
        own.outOfMemory = true;
        return;
      }
      resolveCrossReferences(own, jobs);
    });
    xref = &own;
  }
  buildWorkspace(converter, plan, settings.crossReferences ? xref : nullptr, &resolving,
                 incremental.get(), trees, pagesAhead);
  if (resolving.joinable()) resolving.join();  // a workspace that ended early
}

}  // namespace quillon
