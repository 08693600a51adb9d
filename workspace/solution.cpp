#include "workspace/solution.h"

#include <map>
#include <set>
#include <tuple>

#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/encoding.h"
#include "engine/html_text.h"
#include "engine/themes.h"
#include "platform/platform.h"
#include "workspace/disk_paths.h"
#include "workspace/page_names.h"
#include "workspace/project_file.h"
#include "workspace/cross_references.h"
#include "workspace/project_model.h"
#include "workspace/workspace.h"

namespace quillon {

namespace {

/// The project type of a solution folder.
constexpr std::string_view solutionFolderKind = "{2150E333-8FDC-42A3-9474-1A3956D46DE8}";

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

/// The texts between pairs of double quotes, in order.
std::vector<std::string> quotedTexts(std::string_view line) {
  std::vector<std::string> texts;
  size_t open = line.find('"');
  while (open != std::string_view::npos) {
    const size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos) break;
    texts.emplace_back(line.substr(open + 1, close - open - 1));
    open = line.find('"', close + 1);
  }
  return texts;
}

std::vector<SolutionProject> readSolution(RunState& run, const std::string& file, bool* ok) {
  std::vector<SolutionProject> projects;
  LineReader reader;
  *ok = reader.open(file);
  std::string line;
  while (*ok && !run.stopRequested && reader.readLine(line))
    if (std::optional<SolutionProject> project = solutionProjectLine(line))
      projects.push_back(std::move(*project));
  *ok = *ok && !reader.failed();
  return projects;
}

/// The language of a project by the kind of its file.
std::string projectLanguage(const std::string& path) {
  if (endsWithIgnoreCase(path, ".csproj")) return "C#";
  if (endsWithIgnoreCase(path, ".vbproj")) return "Visual Basic";
  if (endsWithIgnoreCase(path, ".vjsproj")) return "J#";
  return "C/C++";
}

/// Fills in the entry of a project that was just converted (found at `path`): its index
/// page and counts, or why there is none.
void describeConverted(const RunContext& context, const SourceFileConverter& converter,
                       const std::string& path, SolutionEntry& entry) {
  entry.indexPage = context.run.lastOutputFileName;
  if (entry.indexPage.empty()) {
    entry.note = platform::fileExists(path) ? "could not be read" : "missing";
    return;
  }
  entry.language = projectLanguage(entry.path);
  std::set<std::string> files;
  const ProjectModel& project = converter.project;
  for (const auto* list : {&project.sourceFiles, &project.headerFiles, &project.resourceFiles})
    for (const std::string& listed : *list) files.insert(pathKey(listed));
  entry.files = files.size();
  const ClassModel& model = context.classModel;
  entry.classes = model.classRecords.size();
  entry.structs = model.structRecords.size();
  entry.enums = model.enumRecords.size();
}

/// Converts one listed project (found at `path`) into its workspace and fills in its
/// entry.
void convertListedProject(RunContext& context, const std::string& path,
                          const ProjectOrigin& origin, SolutionEntry& entry) {
  context.run.lastOutputFileName.clear();
  SourceFileConverter converter(context);
  convertProject(converter, path, origin);
  describeConverted(context, converter, path, entry);
}

/// A project of the solution of a kind that Quillon reads, and its workspace.
struct ProjectPlan {
  std::string file;  ///< where its project file is found
  ProjectOrigin origin;
};

/// A project read before any is written, with cross-references.
struct ReadProject {
  std::unique_ptr<SourceFileConverter> converter;
  ListedWorkspace workspace;
  bool read = false;
};

/// With cross-references the projects of a solution share one table, so that a call in
/// one project leads to its definition in another: every project is read and its files
/// scanned first, then the table is merged, and only then are the workspaces written.
std::vector<ReadProject> readProjects(RunContext& context, const std::vector<ProjectPlan>& plans,
                                      WorkspaceXref& shared) {
  std::vector<ReadProject> projects;
  for (const ProjectPlan& plan : plans) {
    ReadProject& project = projects.emplace_back();
    project.converter = std::make_unique<SourceFileConverter>(context);
    if (context.run.stopRequested) continue;
    project.read = readProjectWorkspace(*project.converter, plan.file, plan.origin, &project.workspace);
    if (project.read)
      addWorkspaceFiles(context, project.converter->project, project.workspace.sourceDirectory,
                        project.workspace.folderName, shared);
  }
  resolveCrossReferences(shared, context.settings.jobs);
  for (ReadProject& project : projects) project.workspace.xref = &shared;
  return projects;
}

/// Each name of `names` that would give an index page of an earlier one (letter case
/// aside, once made fit for a file name) gets "~2", "~3", ....
void separateIndexPages(std::vector<std::string>& names) {
  std::set<std::string> taken;
  for (std::string& name : names) {
    const std::string stem = name;
    for (int n = 2; !taken.insert(upper(indexFileName(name + "_Project"))).second; ++n)
      name = stem + "~" + std::to_string(n);
  }
}

/// The workspaces of the solution's projects (of those Quillon reads, in order), each
/// named as the solution names it (by its file when the solution gives no name); names
/// and folders still alike are told apart as pages are.
std::vector<ProjectPlan> planWorkspaces(const std::string& solutionFolder,
                                        const std::vector<SolutionProject>& projects) {
  std::vector<ProjectPlan> plans;
  std::vector<std::string> names, paths, stems;
  DiskLookup lookup;
  for (const SolutionProject& project : projects) {
    std::string file = findListedFile(lookup, solutionFolder, project.path);
    if (file.empty()) file = platform::resolvePath(solutionFolder, project.path);
    // The name the solution shows names the workspace, as the IDE shows the project.
    names.push_back(project.name.empty() ? projectOwnName(file) : project.name);
    paths.push_back(project.path);
    const std::string folder = projectFolderName(project.path);
    stems.push_back(folder.substr(0, folder.size() - 5));  // without "_HTML"
    plans.push_back({std::move(file), ProjectOrigin{solutionFolder}});
  }
  names = distinctNames(names, paths);
  separateIndexPages(names);
  const std::vector<std::string> folders = distinctNames(stems, paths);
  for (size_t i = 0; i < plans.size(); ++i) {
    plans[i].origin.name = names[i];
    plans[i].origin.folderName = folders[i] + "_HTML";
  }
  return plans;
}

/// "7 files", "1 class": a count and its noun.
std::string counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

/// What a row says of its project: language and counts, or why it was not converted.
std::string entryFacts(const SolutionEntry& entry) {
  if (entry.indexPage.empty()) return elementText(entry.path) + ": " + entry.note;
  std::string facts = entry.language + " &middot; " + counted(entry.files, "file", "files");
  std::string types;
  for (const auto& [n, one, many] : {std::tuple{entry.classes, "class", "classes"},
                                     std::tuple{entry.structs, "struct", "structs"},
                                     std::tuple{entry.enums, "enum", "enums"}})
    if (n) types += (types.empty() ? "" : ", ") + counted(n, one, many);
  return facts + " &middot; " + (types.empty() ? "no classes" : types);
}

/// The look of the workspaces' tree pages.
constexpr const char* solutionStyle =
    "<style>\n"
    "html, body { margin: 0; padding: 0; }\n"
    "body { background: #fbfcfe; color: #1f2937; font: 13px/18px \"Segoe UI\", Tahoma, Verdana, "
    "Arial, sans-serif; }\n"
    ".tree_header { background: #e9eef5; border-bottom: 1px solid #cbd4e1; color: #475569; "
    "font-size: 11px; font-weight: 600; letter-spacing: 0.06em; padding: 5px 10px; "
    "text-transform: uppercase; }\n"
    ".tree { padding: 8px 6px 16px 8px; }\n"
    ".tree_root, .project { height: 22px; line-height: 18px; white-space: nowrap; }\n"
    ".tree_root { color: #0f172a; font-weight: 600; }\n"
    ".project { margin-left: 18px; }\n"
    ".tree img { border: 0; margin-right: 3px; vertical-align: top; }\n"
    ".tree_pitem { border-radius: 3px; color: #1f2937; font-weight: 600; padding: 1px 4px; "
    "text-decoration: none; }\n"
    "a.tree_pitem:hover { background: #e3ebf8; color: #1d4ed8; }\n"
    ".absent .tree_pitem { color: #64748b; font-weight: normal; }\n"
    ".facts { color: #64748b; margin-left: 8px; }\n"
    "</style>\n";

}  // namespace

std::optional<SolutionProject> solutionProjectLine(std::string_view line) {
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  std::string_view text = line.substr(start);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.substr(0, 9) != "Project(\"") return std::nullopt;
  std::vector<std::string> texts = quotedTexts(text);
  if (texts.size() < 3) return std::nullopt;
  return SolutionProject{std::move(texts[0]), std::move(texts[1]), std::move(texts[2])};
}

bool isSolutionFolder(const SolutionProject& project) {
  return upper(project.kind) == solutionFolderKind;
}

std::string solutionPageText(const std::string& solutionName,
                             const std::vector<SolutionEntry>& entries, bool utf8) {
  const std::string title = elementText(solutionName) + " Solution";
  // The pictures are those every workspace carries; any converted one lends them.
  std::string images;
  for (const SolutionEntry& entry : entries)
    if (!entry.indexPage.empty() && images.empty())
      images = fileNameLinkTarget(entry.folder) + "/Images/";
  auto picture = [&](const char* name) {
    return images.empty() ? std::string()
                          : "<img src=\"" + images + name + "\" width=\"18\" height=\"18\" alt=\"\">";
  };
  std::string text = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
                     std::string(pageCharset(utf8)) + "\">\n<title>" + title + "</title>\n" +
                     solutionStyle + "</head>\n<body>\n<div class=\"tree_header\">Solution</div>\n" +
                     "<div class=\"tree\">\n<div class=\"tree_root\">" + picture("ZADide.gif") + title +
                     "</div>\n";
  if (entries.empty()) text += "<div class=\"project absent\">No project was converted.</div>\n";
  for (const SolutionEntry& entry : entries) {
    const bool converted = !entry.indexPage.empty();
    text += std::string("<div class=\"project") + (converted ? "" : " absent") + "\">" +
            picture("foldericon.gif");
    text += converted ? "<a href=\"" + fileNameLinkTarget(entry.indexPage) +
                            "\" class=\"tree_pitem\">" + elementText(entry.name) + "</a>"
                      : "<span class=\"tree_pitem\">" + elementText(entry.name) + "</span>";
    text += "<span class=\"facts\">" + entryFacts(entry) + "</span></div>\n";
  }
  return text + "</div>\n</body>\n</html>\n";
}

std::string solutionPageName(const std::string& solutionName) {
  return indexFileName(solutionName + "_Solution");
}

void convertSolution(RunContext& context, const std::string& path) {
  RunState& run = context.run;
  if (run.stopRequested || !haveWorkspaceData(context)) return;
  const std::string file = platform::resolvePath(run.currentDirectory, path);
  const std::string outputDirectory = context.settings.outputDirectory;
  bool readable = false;
  const std::vector<SolutionProject> projects = readSolution(run, file, &readable);
  if (!readable) {
    addProblem(run, "<" + baseName(path) + " can't be read>");
    return;
  }
  std::vector<SolutionProject> convertible;
  for (const SolutionProject& project : projects)
    if (!isSolutionFolder(project) && isProjectFile(project.path)) convertible.push_back(project);
  const std::vector<ProjectPlan> plans = planWorkspaces(directoryOf(file), convertible);
  WorkspaceXref shared;
  std::vector<ReadProject> read;
  if (context.settings.crossReferences) read = readProjects(context, plans, shared);
  std::vector<SolutionEntry> entries;
  size_t next = 0;  // the plan of the next project Quillon reads
  for (const SolutionProject& project : projects) {
    if (run.stopRequested) break;
    if (isSolutionFolder(project)) continue;
    SolutionEntry entry;
    entry.name = project.name;
    entry.path = project.path;
    if (!isProjectFile(project.path)) {
      addProblem(run, "<" + project.path + " can't be converted>");
      entry.note = "not a kind of project that Quillon reads";
    } else {
      const ProjectPlan& plan = plans[next++];
      entry.folder = plan.origin.folderName;
      if (read.empty()) {
        convertListedProject(context, plan.file, plan.origin, entry);
      } else {
        ReadProject& project = read[next - 1];
        context.run.lastOutputFileName.clear();
        if (project.read) convertListedFiles(*project.converter, project.workspace);
        describeConverted(context, *project.converter, plan.file, entry);
      }
    }
    entries.push_back(std::move(entry));
  }

  std::string name = baseName(file);
  name = name.substr(0, name.rfind('.'));
  const std::string page = solutionPageName(name);
  context.settings.outputDirectory = outputDirectory;
  std::string text = solutionPageText(name, entries, isUtf8File(file));
  themeWorkspacePage(context.settings, text);
  if (writeTextFile(platform::joinPath(outputDirectory, page), text)) {
    run.lastOutputFileName = page;
  } else {
    addProblem(run, "<" + page + " can't be written>");
  }
  run.currentDirectory = context.settings.startupDirectory;
}

}  // namespace quillon
