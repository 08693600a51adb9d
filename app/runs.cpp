#include "app/runs.h"

#include <cstdio>
#include <map>

#include "engine/page_jobs.h"
#include "reflinks/url_safety.h"
#include "workspace/folder_workspace.h"
#include "workspace/page_names.h"
#include "workspace/solution.h"
#include "workspace/workspace.h"

namespace quillon {

namespace {

/// A run starts with the stop flag reset, unless the user already confirmed Stop, and
/// lists the warnings found before its dialog opened.
void beginRunBody(RunState& run) {
  run.stopRequested = run.cancelled.load();
  for (const std::string& warning : run.pendingWarnings)
    platform::addWarningLine(run.outputWindow, warning);
  run.pendingWarnings.clear();
}

std::string joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += (out.empty() ? "" : ", ") + word;
  return out;
}

/// The steps that end every completed run. A run the user stopped ends silently: the
/// dialog lists the cancel line itself once the worker has returned.
void closingSteps(RunContext& context) {
  RunState& run = context.run;
  if (run.cancelled) return;
  addProgressLine(run, "Successfully converted files: " + std::to_string(run.convertedFileCount));
  platform::enableButton(run.outputWindow, stopButton, false);
  offerToOpenResult(context);
  platform::enableButton(run.outputWindow, okButton, true);
}

/// Pages of files of one name written into one folder must not replace each other: the
/// first keeps NAME.htm, a later one carries its folders.
void nameSeparatePages(std::vector<PagePlan>& plans) {
  std::map<std::string, std::vector<PagePlan*>> byFolder;
  for (PagePlan& plan : plans) byFolder[plan.outputDirectory].push_back(&plan);
  for (auto& [folder, inFolder] : byFolder) {
    std::vector<std::string> paths;
    for (const PagePlan* plan : inFolder) paths.push_back(plan->path);
    const std::vector<std::string> pages = separatePageNames(paths);
    for (size_t i = 0; i < inFolder.size(); ++i) inFolder[i]->pageName = pages[i];
  }
}

}  // namespace

std::string findStartupDirectory(const std::string& current, const std::string& program) {
  auto holdsData = [](const std::string& dir) {
    return platform::fileExists(platform::joinPath(dir, "SourceTree_Template.htm"));
  };
  for (const std::string& dir : {current, program, platform::joinPath(program, "data")})
    if (holdsData(dir)) return dir;
  return current;
}

std::string referenceLinksPath(const ConversionSettings& settings, const RunState& run) {
  if (!settings.referenceLinksFile.empty()) return settings.referenceLinksFile;
  return platform::resolvePath(run.currentDirectory, referenceLinksFileName);
}

std::vector<std::string> loadRunLinks(RunContext& context) {
  ReferenceLinkTable& table = context.referenceLinks;
  clearReferenceLinks(table);
  const std::string path = referenceLinksPath(context.settings, context.run);
  const std::string without = ", so the pages have no reference links";
  std::string text;
  if (platform::directoryExists(path))
    return {path + " is a folder, not a reference links file" + without};
  if (!platform::fileExists(path)) return {};  // a table nobody made yet: no links
  if (!readWholeFile(path, &text)) return {path + " cannot be read" + without};
  if (!holdsReferenceLinks(text)) return {path + " is not a reference links file" + without};
  parseReferenceLinks(table, text);
  const std::vector<std::string> left = removeCodeLinks(table);
  if (left.empty()) return {};
  return {path + ": the links of " + joined(left) +
          " are left out of the pages, since their URLs would run code"};
}

ReferenceLinksHome findReferenceLinksHome(const std::string& programDirectory,
                                          const std::string& userDirectory) {
  if (userDirectory.empty() ||
      !platform::fileExists(platform::joinPath(programDirectory, installedMarkName)))
    return {};
  const std::string folder = platform::joinPath(userDirectory, "Quillon");
  return {platform::joinPath(folder, referenceLinksFileName),
          platform::joinPath(programDirectory, referenceLinksFileName)};
}

bool prepareReferenceLinksHome(const ReferenceLinksHome& home) {
  if (home.file.empty()) return true;
  if (!platform::createDirectory(directoryOf(home.file))) return false;
  if (platform::fileExists(home.file) || !platform::fileExists(home.takeOver)) return true;
  // Never replaces: a copy that another instance made first is as good.
  return platform::copyFileNoReplace(home.takeOver, home.file) || platform::fileExists(home.file);
}

void openOutputDialog(RunState& run, platform::Window dialog) {
  run.convertedFileCount = 0;
  run.problemCount = 0;
  run.stopRequested = false;
  run.cancelled = false;
  run.outputWindow = dialog;
  platform::bringToForeground(dialog);
  platform::enableButton(dialog, okButton, false);
}

bool requestStop(RunState& run) {
  if (!platform::askYesNo(run.outputWindow, "Are you sure you want to stop converting?"))
    return false;
  run.cancelled = true;
  run.stopRequested = true;
  return true;
}

void finishStoppedRun(RunContext& context) {
  RunState& run = context.run;
  run.currentDirectory = context.settings.startupDirectory;
  addProgressLine(run, "Conversion was canceled.");
  platform::enableButton(run.outputWindow, okButton, true);
  platform::enableButton(run.outputWindow, stopButton, false);
}

bool prepareCommandRun(RunContext& context, const std::string& path) {
  ConversionSettings& settings = context.settings;
  RunState& run = context.run;
  run.pendingWarnings = loadRunLinks(context);
  run.currentDirectory = directoryOf(path);
  if (settings.useDefaultOutputDirectory) {
    settings.outputDirectory = run.currentDirectory;
    return true;
  }
  return platform::chooseOutputDirectory(run.outputWindow, &settings.outputDirectory);
}

void singleFileRun(RunContext& context, const std::string& path) {
  beginRunBody(context.run);
  SourceFileConverter converter(context, path);
  closingSteps(context);
}

void projectRun(RunContext& context, const std::string& path) {
  beginRunBody(context.run);
  SourceFileConverter converter(context);
  if (isSolutionFile(path))
    convertSolution(context, path);
  else
    convertProject(converter, path);
  closingSteps(context);
}

bool droppedFilesRun(RunContext& context, const std::vector<std::string>& paths,
                     DropMode mode) {
  ConversionSettings& settings = context.settings;
  RunState& run = context.run;
  if (paths.empty()) return false;
  if (!settings.useDefaultOutputDirectory &&
      !platform::chooseOutputDirectory(run.outputWindow, &settings.outputDirectory))
    return false;
  platform::bringToForeground(run.outputWindow);
  for (const std::string& warning : loadRunLinks(context))
    platform::addWarningLine(run.outputWindow, warning);

  std::vector<PagePlan> convertible;
  std::string lastDirectory = run.currentDirectory;
  for (const std::string& dropped : paths) {
    const bool folder = platform::directoryExists(dropped);
    const std::string path = folder ? cleanFolderPath(dropped) : dropped;
    const std::string name = baseName(path);
    const std::string directory = directoryOf(path);
    if (settings.useDefaultOutputDirectory) settings.outputDirectory = directory;
    settings.sourceDirectory = directory;
    run.currentDirectory = lastDirectory = directory;
    if (folder) {
      SourceFileConverter converter(context);
      convertFolder(converter, path);
    } else if (isSolutionFile(path)) {
      convertSolution(context, name);
    } else if (isProjectFile(path)) {
      SourceFileConverter converter(context);
      convertProject(converter, name);
    } else if (isSourceFile(path) || isResourceFile(path)) {
      convertible.push_back({path, directory, settings.outputDirectory, {}});
    } else {
      addProblem(run, "<" + name + " can't be converted>");
    }
  }
  run.currentDirectory = lastDirectory;
  platform::enableButton(run.outputWindow, okButton, false);

  if (mode == DropMode::Pages) {
    nameSeparatePages(convertible);
    convertPages(context, convertible);
  } else if (convertible.size() > 1) {
    std::vector<std::string> files;
    for (const PagePlan& plan : convertible) files.push_back(plan.path);
    SourceFileConverter converter(context);
    convertFileSet(converter, files);
  } else if (convertible.size() == 1) {
    SourceFileConverter converter(context, convertible.front().path);
  }
  clearReferenceLinks(context.referenceLinks);
  closingSteps(context);
  return true;
}

bool textRun(RunContext& context, std::string content, SourceLanguage language,
             std::FILE* page) {
  RunState& run = context.run;
  for (const std::string& warning : loadRunLinks(context))
    platform::addWarningLine(run.outputWindow, warning);
  SourceFileConverter converter(context);
  const PageOutcome outcome =
      convertSourceText(converter, "standard input", language, std::move(content), page);
  recordPage(run, outcome);
  clearReferenceLinks(context.referenceLinks);
  return outcome.readable && outcome.written;
}

void offerToOpenResult(RunContext& context) {
  RunState& run = context.run;
  if (!platform::askYesNo(run.outputWindow, "Would you like to open the file?")) return;
  if (run.lastOutputFileName.empty()) return;  // nothing was written
  platform::openWithShell(
      platform::joinPath(context.settings.outputDirectory, baseName(run.lastOutputFileName)));
}

}  // namespace quillon
