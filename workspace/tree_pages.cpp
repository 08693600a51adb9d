#include "workspace/tree_pages.h"

#include <algorithm>

#include "classmodel/class_tree.h"
#include "engine/converter.h"
#include "engine/encoding.h"
#include "engine/page_writer.h"
#include "engine/themes.h"
#include "platform/platform.h"
#include "workspace/assets.h"
#include "workspace/lazy_trees.h"
#include "workspace/project_model.h"
#include "workspace/text_index.h"
#include "workspace/tree_lines.h"
#include "workspace/tree_scripts.h"
#include "workspace/workspace.h"

namespace quillon {

namespace {

/// Writes `lines` as a text file, each line ended by CR LF, without joining them first (a
/// class tree can run to megabytes).
bool writeLinesFile(const std::string& path, const std::vector<std::string>& lines) {
  PageWriter writer;
  if (!writer.open(path)) return false;
  for (const std::string& line : lines) {
    writer.write(line);
    writer.write("\n");
  }
  return writer.commit();
}

/// One tree page being made: its template, its placeholder, its lines and, for a lazy
/// tree, where its top level goes (npos until the placeholder is met).
struct TreePage {
  std::string templateName;
  const char* placeholder;
  std::vector<std::string>* lines;
  bool lazy;
  size_t topLevelAt = std::string::npos;
};

/// Fills the page from its template: the whole block by `full`, or for a lazy tree only
/// the place of its top level. Reported when the template cannot be read.
void fillTreePage(RunContext& context, const ProjectModel& project, TreePage& page,
                  const BlockProducer& full) {
  const std::string path = platform::joinPath(context.settings.startupDirectory, page.templateName);
  auto mark = [&](std::vector<std::string>& lines) { page.topLevelAt = lines.size(); };
  if (!fillFromTemplate(path, project.displayName, *page.lines, page.placeholder,
                        page.lazy ? BlockProducer(mark) : full))
    addProblem(context.run, "<" + page.templateName + " can't be read>");
}

/// Puts a lazy tree's top level, made by `build`, in its place, led by the script that
/// loads its nodes. False when the scripts of its nodes cannot be written.
bool placeTopLevel(TreePage& page, const std::function<bool(std::vector<std::string>&)>& build) {
  if (!page.lazy || page.topLevelAt == std::string::npos) return true;
  std::vector<std::string> top = {std::string("<script src=\"") + treeNodesScriptName + "\"></script>"};
  const bool ok = build(top);
  page.lines->insert(page.lines->begin() + static_cast<std::ptrdiff_t>(page.topLevelAt), top.begin(),
                     top.end());
  return ok;
}

bool writeBothPages(RunContext& context, const ProjectModel& project, const TreePagesPlan& plan) {
  bool ok = writeLinesFile(platform::joinPath(plan.directory, "SourceTree.htm"),
                           project.sourceTreeLines) &&
            writeLinesFile(platform::joinPath(plan.directory, "ClassTree.htm"),
                           project.classTreeLines);
  if (!ok) addProblem(context.run, "<" + plan.folderName + " can't be written>");
  return ok;
}

/// Both pages whole, as they have always been: their own lines tell their charset.
bool writeWholePages(RunContext& context, ProjectModel& project, const TreePagesPlan& plan, bool* utf8) {
  themeWorkspaceLines(context.settings, project.sourceTreeLines);
  themeWorkspaceLines(context.settings, project.classTreeLines);
  if (context.settings.textSearch) {
    addTextSearchScript(project.sourceTreeLines);
    addTextSearchScript(project.classTreeLines);
  }
  *utf8 = holdUtf8Names(project.sourceTreeLines, project.classTreeLines);
  if (*utf8) {
    declareUtf8(project.sourceTreeLines);
    declareUtf8(project.classTreeLines);
  }
  return writeBothPages(context, project, plan);
}

/// Pages of which one or both load their nodes on demand.
bool writeLazyPages(RunContext& context, ProjectModel& project, const TreePagesPlan& plan,
                    TreePage& source, TreePage& classes, bool* utf8) {
  // A lazy tree's scripts are written as its lines are made, in the charset the pages
  // declare: the names it will show decide that first, with the lines there are.
  Utf8Check check;
  for (const std::vector<std::string>* lines : {&project.sourceTreeLines, &project.classTreeLines})
    for (const std::string& line : *lines) check.add(line);
  if (source.lazy) addSourceTreeNames(check, project);
  if (classes.lazy) addClassTreeNames(check, context.classModel);
  *utf8 = check.isUtf8();
  const bool scriptsWritten =
      placeTopLevel(source, [&](std::vector<std::string>& top) {
        return buildLazySourceTree(project, top, plan.directory, *utf8);
      }) &&
      placeTopLevel(classes, [&](std::vector<std::string>& top) {
        return buildLazyClassTree(context.classModel, top, plan.directory, *utf8,
                                  context.settings.lineNumbers);
      });
  if (!scriptsWritten) {
    addProblem(context.run, "<" + plan.folderName + " can't be written>");
    return false;
  }
  for (std::vector<std::string>* lines : {&project.sourceTreeLines, &project.classTreeLines}) {
    themeWorkspaceLines(context.settings, *lines);
    if (context.settings.textSearch) addTextSearchScript(*lines);
    if (*utf8) declareUtf8(*lines);
  }
  copyDataScript(context, plan.directory, treeNodesScriptName);
  return writeBothPages(context, project, plan);
}

}  // namespace

TreeForms treeFormsOf(const RunContext& context, const ProjectModel& project) {
  switch (context.settings.trees) {
    case TreeForm::Full: return {false, false};
    case TreeForm::Lazy: return {true, true};
    case TreeForm::Auto: break;
  }
  return {sourceTreeLineCount(project) > lazyTreeLines,
          classTreeLineCount(context.classModel) > lazyTreeLines};
}

bool writeTreePages(RunContext& context, ProjectModel& project, const TreePagesPlan& plan,
                    bool* utf8) {
  const TreeForms forms = treeFormsOf(context, project);
  // The trees are written whole: what an earlier run's trees loaded goes first.
  removeOtherFiles(platform::joinPath(plan.directory, treeScriptFolder), {});
  if (!forms.sourceLazy && !forms.classLazy)
    platform::removeFile(platform::joinPath(plan.directory, treeNodesScriptName));
  TreePage source{plan.sourceTreeTemplate, "<FOLDERS>", &project.sourceTreeLines, forms.sourceLazy};
  TreePage classes{"ClassTree_Template.htm", "<CLASSES>", &project.classTreeLines, forms.classLazy};
  fillTreePage(context, project, source, [&](std::vector<std::string>&) {
    if (project.folderFiles.empty())
      buildFolderTree(project);
    else
      buildNestedFolderTree(project, project.folderFiles);
  });
  fillTreePage(context, project, classes, [&](std::vector<std::string>& lines) {
    buildClassTree(context.classModel, lines, context.settings.lineNumbers);
  });
  if (!source.lazy && !classes.lazy) return writeWholePages(context, project, plan, utf8);
  return writeLazyPages(context, project, plan, source, classes, utf8);
}

void copyDataScript(RunContext& context, const std::string& directory, const char* name) {
  std::string text;
  if (!readWholeFile(platform::joinPath(context.settings.startupDirectory, name), &text)) {
    addProblem(context.run, "<" + std::string(name) + " can't be read>");
    return;
  }
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  if (!writeTextFile(platform::joinPath(directory, name), text))
    addProblem(context.run, "<" + std::string(name) + " can't be written>");
}

}  // namespace quillon
