#pragma once
// The state a conversion works under: the user's choices (ConversionSettings) and the run
// in progress (RunState). The front end owns one of each and hands them to the engine.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillon {

class KeywordSet;

/// A colour in the Windows layout: red in the lowest byte, then green, then blue.
using ColorRef = std::uint32_t;

/// The colours of a generated page: the four of every page, then the three that rich
/// colouring (`ConversionSettings::richColours`) adds. The defaults are the light theme's.
struct ColorScheme {
  ColorRef background = 0xFFFFFF;
  ColorRef keyword = 0xFF0000;
  ColorRef defaultText = 0x000000;
  ColorRef comment = 0x008000;
  ColorRef string = 0x1E2FA8;        ///< #a82f1e: string and character literals
  ColorRef number = 0x756E0B;        ///< #0b6e75: numbers
  ColorRef preprocessor = 0xA21F7A;  ///< #7a1fa2: preprocessor directives
};

/// The sets of page colours to choose from; the light theme's are the defaults.
enum class Theme { Light, Dark };

/// How a workspace writes its tree pages: each holding every line (Full); only the top
/// level, the rest in script files that a node loads when it is first opened (Lazy); or
/// lazy for a tree longer than `lazyTreeLines`, else full (Auto).
enum class TreeForm { Auto, Full, Lazy };

/// A colour as written into HTML: "#" and six lowercase hex digits, red first.
std::string htmlColor(ColorRef color);

/// What the user chose; in effect for every conversion until changed.
struct ConversionSettings {
  ColorScheme colors;
  std::string fontFace = "Courier New";
  bool useDefaultOutputDirectory = true;
  std::string outputDirectory;   ///< where pages are written
  std::string sourceDirectory;   ///< where bare source names are read from
  std::string startupDirectory;  ///< where the program's templates, tab pages and images are
  /// The reference links file; empty for "ReferenceLinks.xml" in the run's current
  /// directory at the moment it is loaded.
  std::string referenceLinksFile;
  /// How many pages of a run may be converted at once (threads).
  int jobs = 1;
  /// Files larger than this are left out when a folder becomes a workspace.
  std::uint64_t maxFileSize = std::uint64_t{8} << 20;
  /// Each line of a page gets an anchor "L<n>" and a number beside it that copying
  /// leaves out, and the class tree links members to their lines. Off by default.
  bool lineNumbers = false;
  /// Names lead to their definitions and definitions to their uses, across a workspace;
  /// every page then carries its line anchors "L<n>". Off by default.
  bool crossReferences = false;
  /// A workspace gets an index of its pages' text for the text mode of its search box
  /// (workspace/text_index.h); every page then carries its line anchors "L<n>" and loads
  /// the text search script, which marks a result's match. Off by default.
  bool textSearch = false;
  /// A workspace keeps a manifest of its run, and a later run converts only the pages
  /// whose bytes would change (workspace/incremental.h). Off by default.
  bool incremental = false;
  /// String and character literals, numbers and preprocessor directives take their own
  /// colours (engine/rich_pass.h). Off by default.
  bool richColours = false;
  /// The theme the colours were taken from: a dark one also themes the page's links and
  /// the workspace's trees, tabs and search (engine/themes.h).
  Theme theme = Theme::Light;
  /// The form of a workspace's tree pages, decided for each tree page on its own.
  TreeForm trees = TreeForm::Auto;
  /// Keywords coloured besides the fixed tables (engine/keyword_sets.h); none when null.
  std::shared_ptr<const KeywordSet> keywords;
};

/// The state of the run in progress.
struct RunState {
  std::atomic<bool> stopRequested{false};
  /// Set when the user confirmed Stop: the run ends at its next check and reports
  /// nothing more; the dialog (or the command) lists "Conversion was canceled.".
  std::atomic<bool> cancelled{false};
  std::atomic<int> convertedFileCount{0};
  std::atomic<int> problemCount{0};    ///< files that could not be read, written or made
  platform::Window outputWindow = nullptr;  ///< owner of the progress list and messages
  std::string lastOutputFileName;   ///< page written last (no directory)
  std::string currentSourcePath;    ///< the source path as handed to the converter
  /// The run's current directory: bare names (ReferenceLinks.xml, templates, a dropped
  /// project) are resolved against it. The process's own current directory never changes.
  std::string currentDirectory;
  /// Warnings found while a command readied its run, before the Output dialog opened (the
  /// reference links of Convert File); the run lists them when it starts.
  std::vector<std::string> pendingWarnings;
};

/// Adds a progress line to the run's list (a control byte in it written as "\x0a").
void addProgressLine(RunState& run, std::string_view line);

/// Adds a problem line ("<main.cpp can't be read>") and counts it, written as a progress
/// line is.
void addProblem(RunState& run, std::string_view line);

}  // namespace quillon
