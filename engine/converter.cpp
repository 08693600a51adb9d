#include "engine/converter.h"

#include <new>

#include "engine/encoding.h"
#include "engine/html_text.h"
#include "engine/line_pass.h"
#include "engine/themes.h"
#include "engine/thread_scratch.h"
#include "platform/platform.h"

namespace quillon {

PageMarkup pageMarkupFor(const ColorScheme& colors) {
  PageMarkup m;
  m.keywordOpen = "<font color=\"" + htmlColor(colors.keyword) + "\">";
  m.commentOpen = "<font color=\"" + htmlColor(colors.comment) + "\">";
  m.linkStyle = "style=\"text-decoration:none;color:" + htmlColor(colors.defaultText) + "\">";
  m.stringOpen = "<font color=\"" + htmlColor(colors.string) + "\">";
  m.numberOpen = "<font color=\"" + htmlColor(colors.number) + "\">";
  m.preprocessorOpen = "<font color=\"" + htmlColor(colors.preprocessor) + "\">";
  return m;
}

SourceFileConverter::SourceFileConverter(RunContext& c)
    : context(c), markup(pageMarkupFor(c.settings.colors)), keywords(c.settings.keywords.get()) {}

SourceFileConverter::SourceFileConverter(RunContext& c, std::string path)
    : SourceFileConverter(c) {
  convertFile(*this, std::move(path));
}

std::string pageHeader(const ConversionSettings& settings, std::string_view charset,
                       std::string_view head) {
  std::string h = "<html";
  h += themeHtmlAttribute(settings);
  h +=
      ">\n"
      "\n"
      "<head>\n"
      "<meta http-equiv=\"Content-Language\" content=\"en-us\">\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=";
  h += charset;
  h += "\">\n"
      "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">\n"
      "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">\n"
      "<title>Hello</title>\n";
  if (settings.lineNumbers) h += lineNumberStyle();
  h += themeHead(settings);
  h += head;
  h += "</head>\n"
       "\n";
  h += "<body bgcolor=\"" + htmlColor(settings.colors.background) + "\">\n";
  h += "<font color=\"" + htmlColor(settings.colors.defaultText) + "\" face=\"" +
       exactAttributeText(settings.fontFace) + "\" size=\"2\">\n";
  return h;
}

std::string_view pageFooter() { return "</font>\n</font>\n</body>\n\n</html>\n"; }

void announcePage(RunState& run, const std::string& path) {
  platform::paceProgress();
  platform::addPageLine(run.outputWindow, "Converting " + baseName(path) + "....");
  platform::paceProgress();
}

namespace {

/// Readies the converter for the page of `path` in `language`, named `pageName`.
void beginPage(SourceFileConverter& converter, const std::string& path, SourceLanguage language,
               const std::string& pageName) {
  const ConversionSettings& settings = converter.context.settings;
  converter.sourcePath = path;
  converter.language = language;
  converter.markup = pageMarkupFor(settings.colors);
  converter.literals = {};
  converter.keywords = settings.keywords.get();
  converter.outputFileName = pageName;
}

/// Writes the page of the converter's input (when `readable`) into its output: header,
/// lines, footer. True when the input was read whole.
bool writePage(SourceFileConverter& converter, bool readable) {
  // A first pass over the source decides the charset; the body is never held whole.
  converter.utf8Columns = readable && converter.input.isUtf8();
  const std::string_view charset = pageCharset(converter.utf8Columns);
  std::string head = converter.placedNames ? converter.placedNames->headLine : std::string();
  // A workspace's page with text search marks the match of the result that opened it.
  if (converter.context.settings.textSearch && converter.context.pages)
    head += "<script src=\"TextSearch.js\"></script>\n";
  converter.output.write(pageHeader(converter.context.settings, charset, head));
  if (readable) convertLines(converter);
  converter.output.write(pageFooter());
  return readable && !converter.input.failed();
}

PageOutcome convertPageBody(SourceFileConverter& converter, const PagePlan& plan,
                            PageOutcome outcome) {
  beginPage(converter, plan.path, languageOf(plan.path), outcome.pageName);
  if (converter.context.recordIncludes) converter.includesSeen = &outcome.includes;
  PagePlacedNames placed;
  const RunContext& context = converter.context;
  converter.placedNames = context.placeNames && context.placeNames(plan, &placed) ? &placed : nullptr;

  const std::string source = plan.diskPath.empty()
                                 ? platform::resolvePath(plan.sourceDirectory, plan.path)
                                 : plan.diskPath;
  bool readable = converter.input.open(source);
  outcome.text = !readable || converter.input.startsAsText();  // not a picture or a program
  readable = readable && outcome.text;
  const std::string target = platform::resolvePath(plan.outputDirectory, outcome.pageName);

  // The page replaces an earlier page of that name, never a file that is being read.
  bool written = !platform::sameFile(target, source) && converter.output.open(target);
  std::string kept;
  const bool keep = written && readable && context.takeSourceText;
  if (keep) converter.input.keepText(&kept);
  if (written) readable = writePage(converter, readable);
  if (keep && readable && converter.input.keptWhole())
    context.takeSourceText(plan, std::move(kept), converter.utf8Columns);
  converter.input.close();
  outcome.readable = readable;
  outcome.written = written && converter.output.commit();
  converter.placedNames = nullptr;
  converter.includesSeen = nullptr;
  return outcome;
}

}  // namespace

PageOutcome convertPage(SourceFileConverter& converter, const PagePlan& plan) {
  PageOutcome outcome;
  outcome.name = baseName(plan.path);
  outcome.pageName = plan.pageName.empty() ? outcome.name + ".htm" : plan.pageName;
  try {
    return convertPageBody(converter, plan, outcome);
  } catch (const std::bad_alloc&) {
    // A line too long for the memory there is: this page is given up (its earlier
    // version stays), the thread's grown buffers are let go, and the run goes on.
    converter.output.abandon();
    converter.input.close();
    converter.placedNames = nullptr;
    converter.includesSeen = nullptr;
    releaseThreadScratch();
    outcome.outOfMemory = true;
    return outcome;
  }
}

PageOutcome convertSourceText(SourceFileConverter& converter, const std::string& name,
                              SourceLanguage language, std::string content, std::FILE* page) {
  PageOutcome outcome;
  outcome.name = name;
  outcome.pageName = name;
  beginPage(converter, name, language, {});
  converter.input.openBytes(std::move(content));
  outcome.text = converter.input.startsAsText();
  converter.output.openStream(page);
  outcome.readable = writePage(converter, outcome.text);
  converter.input.close();
  outcome.written = converter.output.commit();
  return outcome;
}

void recordPage(RunState& run, const PageOutcome& outcome) {
  if (outcome.outOfMemory) {
    addProblem(run, "<" + outcome.name + " can't be converted: out of memory>");
    return;
  }
  if (!outcome.readable)
    addProblem(run, "<" + outcome.name +
                        (outcome.text ? " can't be read>" : " is not a text file>"));
  if (!outcome.written) {
    addProblem(run, "<" + outcome.pageName + " can't be written>");
    return;
  }
  run.lastOutputFileName = outcome.pageName;
  if (outcome.readable) ++run.convertedFileCount;
}

void convertFile(SourceFileConverter& converter, std::string path) {
  RunState& run = converter.context.run;
  const ConversionSettings& settings = converter.context.settings;
  if (run.stopRequested) return;
  platform::expectPages(run.outputWindow, 1);
  run.currentSourcePath = path;
  announcePage(run, path);
  run.currentDirectory = settings.outputDirectory;
  recordPage(run, convertPage(converter, {path, settings.sourceDirectory, settings.outputDirectory, {}}));
}

}  // namespace quillon
