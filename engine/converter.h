#pragma once
// The source file converter: one source file in, one coloured page out.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_kinds.h"
#include "engine/include_links.h"
#include "engine/line_reader.h"
#include "engine/page_writer.h"
#include "engine/placed_names.h"
#include "engine/rich_pass.h"
#include "engine/settings.h"
#include "reflinks/reference_links.h"
#include "workspace/project_model.h"

namespace quillon {

struct ClassModel;

/// Everything a conversion works under. The front end owns one of each and keeps them
/// for the life of the process; a run hands them to the engine by reference.
struct NamePasses;
struct PagePlan;

struct RunContext {
  ConversionSettings& settings;
  RunState& run;
  ReferenceLinkTable& referenceLinks;
  ClassModel& classModel;
  /// While a workspace's pages are converted: its pages, which includes link to.
  const WorkspacePages* pages = nullptr;
  /// While a workspace's pages are converted with cross-references: fills in the placed
  /// names of the page of a plan. Called on the page's thread; false: none.
  std::function<bool(const PagePlan&, PagePlacedNames*)> placeNames = nullptr;
  /// The passes of the layers above the engine (class-name links, declaration anchors).
  const NamePasses* namePasses = nullptr;
  /// Each page's outcome tells the includes it looked up (`PageOutcome::includes`).
  bool recordIncludes = false;
  /// While a workspace's pages are converted for a text index: takes the text of a page's
  /// source, read whole, as its lines were read (see `LineReader::keepText`), and whether
  /// its page is UTF-8. Called on the page's thread; null: the texts are not kept.
  std::function<void(const PagePlan&, std::string&& text, bool utf8)> takeSourceText = nullptr;
};

/// The markup texts of one page, formatted once from the settings.
struct PageMarkup {
  std::string keywordOpen;  ///< <font color="#rrggbb"> in the keyword colour
  std::string commentOpen;  ///< <font color="#rrggbb"> in the comment colour
  std::string linkStyle;    ///< style="text-decoration:none;color:#rrggbb">
  std::string stringOpen;        ///< <font color="#rrggbb"> in the string colour
  std::string numberOpen;        ///< in the number colour
  std::string preprocessorOpen;  ///< in the preprocessor colour
};

PageMarkup pageMarkupFor(const ColorScheme& colors);

/// Converts one file (through `convertFile`), or serves as the idle object on which a
/// workspace run is performed. Not copied.
struct SourceFileConverter {
  /// An idle converter: no file open, lists empty, outside any block comment.
  explicit SourceFileConverter(RunContext& context);
  /// Converts `path` at once.
  SourceFileConverter(RunContext& context, std::string path);
  SourceFileConverter(const SourceFileConverter&) = delete;
  SourceFileConverter& operator=(const SourceFileConverter&) = delete;

  RunContext& context;
  PageWriter output;
  LineReader input;
  std::string outputFileName;
  std::string sourcePath;        ///< the file being read, as planned (full or relative)
  ProjectModel project;          ///< the workspace run's name and lists
  bool inBlockComment = false;
  LiteralState literals;  ///< what the rich pass carries from line to line
  bool utf8Columns = false;  ///< a UTF-8 page: tab stops count characters, not bytes
  SourceLanguage language = SourceLanguage::None;  ///< of the file being read
  PageMarkup markup;
  const KeywordSet* keywords = nullptr;  ///< the settings' added keywords; null: none
  PagePlacedNames* placedNames = nullptr;  ///< the page's cross-reference links; null: none
  /// Where the include pass notes the names it looks up in the workspace; null: nowhere.
  std::vector<std::string>* includesSeen = nullptr;
};

/// Where one page is read from and written to.
struct PagePlan {
  std::string path;             ///< as handed over: full, or relative to `sourceDirectory`
  std::string sourceDirectory;
  std::string outputDirectory;
  std::string pageName;         ///< the page's file name; empty: the source's name + ".htm"
  std::string diskPath = {};    ///< where the file is read; empty: `path` in `sourceDirectory`
};

/// What converting one file came to.
struct PageOutcome {
  std::string name;      ///< the source's name without its directory
  std::string pageName;  ///< the page's file name
  bool text = true;      ///< false for a picture or a program
  bool readable = false;
  bool written = false;
  bool outOfMemory = false;  ///< given up: the memory ran out (the earlier page stays)
  /// With `RunContext::recordIncludes`: the included names (as written between the quotes)
  /// that the page looked up among the workspace's pages, each once, in order.
  std::vector<std::string> includes;
};

/// Converts one file as planned. Touches nothing the run shares but reading the stop
/// flag, so pages can be converted on several threads at once.
PageOutcome convertPage(SourceFileConverter& converter, const PagePlan& plan);

/// Converts `content`, the whole of a source that is no file (standard input), named
/// `name` in messages, into the page that a file of that content in `language` gets; the
/// page is written to `page` as it goes.
PageOutcome convertSourceText(SourceFileConverter& converter, const std::string& name,
                              SourceLanguage language, std::string content, std::FILE* page);

/// The progress line that comes before a page: "Converting main.cpp....".
void announcePage(RunState& run, const std::string& path);

/// Reports a page's problems, and counts and remembers it when it was read and written.
void recordPage(RunState& run, const PageOutcome& outcome);

/// Converts one file: `path` is a full path or a name relative to the source directory;
/// the page goes into the output directory. Adds the progress line, counts the page when
/// it was read and written, and reports a source that cannot be read or a page that
/// cannot be written.
void convertFile(SourceFileConverter& converter, std::string path);

/// The fixed page frame around the body; `charset` goes into its Content-Type line.
std::string pageHeader(const ConversionSettings& settings,
                       std::string_view charset = "windows-1252", std::string_view head = {});
std::string_view pageFooter();

/// Runs the line pass over the converter's input and writes the body to its output.
void convertLines(SourceFileConverter& converter);

}  // namespace quillon
