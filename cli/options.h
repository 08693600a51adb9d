#pragma once
// The command line of the quillon command.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/file_kinds.h"
#include "engine/settings.h"

namespace quillon {

/// How the progress of a run is shown (--progress).
enum class ProgressChoice {
  Auto,   ///< one updating line when standard output is a terminal, else lines
  Bar,    ///< one updating line
  Lines,  ///< every line, as the Output dialog lists them
};

struct CommandOptions {
  std::vector<std::string> inputs;
  bool standardInput = false;  ///< "-": the page of standard input, on standard output
  SourceLanguage language = SourceLanguage::Cpp;  ///< --lang: the language of standard input
  bool haveLanguage = false;
  ProgressChoice progress = ProgressChoice::Auto;
  bool haveOutputDirectory = false;
  std::string outputDirectory;
  std::string linksFile;  ///< empty: ReferenceLinks.xml in the current directory
  std::string dataDirectory;
  Theme theme = Theme::Light;  ///< --theme: where the colours not given come from
  ColorScheme colors;          ///< the colours given (those of `givenColours`)
  unsigned givenColours = 0;   ///< bit n: the colour of `colourOptions[n]` was given
  bool richColours = false;    ///< literals, numbers and directives coloured
  std::string fontFace = "Courier New";
  bool open = false;
  bool pages = false;  ///< each input its own page, no workspace
  int jobs = 0;  ///< 0: one per core
  std::uint64_t maxFileSize = 0;  ///< 0: the default limit of folder workspaces
  bool lineNumbers = false;  ///< line anchors and numbers on every page
  bool crossReferences = false;  ///< names linked to their definitions, uses listed
  bool textSearch = false;  ///< an index of the pages' text for the search box
  bool incremental = false;  ///< workspaces redo only what changed since their last run
  TreeForm trees = TreeForm::Auto;  ///< --trees: tree pages whole, loaded on demand, or by size
  std::vector<std::string> keywords;  ///< each --keywords: "modern" or a keywords file
  bool help = false;
  bool version = false;
};

/// Parses the arguments (without the program name). False with `error` set on bad usage:
/// one line that names the problem.
bool parseCommandLine(const std::vector<std::string>& args, CommandOptions* options,
                      std::string* error);

/// The colour options, in the order of `CommandOptions::givenColours`' bits.
struct ColourOption {
  const char* name;
  ColorRef ColorScheme::*color;
};
extern const ColourOption colourOptions[7];

/// The page colours the options ask for: the theme's, each colour given replacing its own.
ColorScheme chosenColours(const CommandOptions& options);

/// "#rrggbb" (or "rrggbb") as a colour. False when it is not six hex digits.
bool parseHtmlColor(const std::string& text, ColorRef* color);

/// The usage text printed by --help.
const char* usageText();

/// The line that follows the one naming a usage error, for the command `command`
/// ("quillon" or "quillon links"): "Try 'quillon --help' for more information.".
std::string usageHint(const std::string& command);

}  // namespace quillon
