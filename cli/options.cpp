#include "cli/options.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/themes.h"

namespace quillon {

namespace {
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// "8M", "500K", "1G" or a number of bytes. False when it is none of these.
bool parseSize(const std::string& text, std::uint64_t* size) {
  char* end = nullptr;
  const unsigned long long n = std::strtoull(text.c_str(), &end, 10);
  if (text.empty() || end == text.c_str() || text[0] == '-') return false;
  const std::string unit = end;
  const int shift = unit.empty() ? 0 : unit == "K" || unit == "k" ? 10 : unit == "M" || unit == "m" ? 20
                    : unit == "G" || unit == "g" ? 30 : -1;
  if (shift < 0 || n == 0 || n > (~0ull >> shift)) return false;
  *size = static_cast<std::uint64_t>(n) << shift;
  return true;
}
}  // namespace

const ColourOption colourOptions[7] = {
    {"--background", &ColorScheme::background}, {"--keyword", &ColorScheme::keyword},
    {"--text", &ColorScheme::defaultText},     {"--comment", &ColorScheme::comment},
    {"--string", &ColorScheme::string},        {"--number", &ColorScheme::number},
    {"--preprocessor", &ColorScheme::preprocessor}};

ColorScheme chosenColours(const CommandOptions& options) {
  ColorScheme colours = themeColors(options.theme);
  for (unsigned n = 0; n < 7; ++n)
    if (options.givenColours & (1u << n))
      colours.*(colourOptions[n].color) = options.colors.*(colourOptions[n].color);
  return colours;
}

bool parseHtmlColor(const std::string& text, ColorRef* color) {
  std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (digits.size() != 6) return false;
  ColorRef rgb = 0;
  for (char c : digits) {
    int d = hexDigit(c);
    if (d < 0) return false;
    rgb = rgb << 4 | static_cast<ColorRef>(d);
  }
  // #rrggbb to the Windows layout, red in the lowest byte.
  *color = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
  return true;
}

const char* usageText() {
  return "usage: quillon [OPTIONS] INPUT...\n"
         "       quillon [OPTIONS] [--lang LANG] -   (standard input to standard output)\n"
         "       quillon links list | add WORD URL | remove WORD   (quillon links --help)\n"
         "\n"
         "Turns C/C++, C#, Java and Visual Basic sources into coloured HTML pages, and\n"
         "project files or sets of files into browsable HTML workspaces. Each INPUT is\n"
         "handled as if dropped on the program's window: a project file (.vcproj,\n"
         ".vcxproj, .dsp, .csproj, .vbproj, .vjsproj) becomes a workspace, a solution\n"
         "(.sln) one workspace per project; one source or resource file becomes a page;\n"
         "several become one workspace. A folder becomes a workspace of the sources\n"
         "below it. The INPUT - is standard input, whose page goes to standard output.\n"
         "\n"
         "options:\n"
         "  -o, --output DIR     write into DIR (default: next to each source)\n"
         "  --links FILE         reference links file (default: ReferenceLinks.xml in the\n"
         "                       current directory; a missing file means no links)\n"
         "  --background C       page background colour, #rrggbb (default #ffffff)\n"
         "  --keyword C          keyword colour (default #0000ff)\n"
         "  --text C             default text colour (default #000000)\n"
         "  --comment C          comment colour (default #008000)\n"
         "  --rich               colour string and character literals, numbers and\n"
         "                       preprocessor directives too\n"
         "  --string C           string and character literal colour (default #a82f1e)\n"
         "  --number C           number colour (default #0b6e75)\n"
         "  --preprocessor C     preprocessor directive colour (default #7a1fa2)\n"
         "  --theme THEME        light (the defaults above) or dark: all seven colours,\n"
         "                       and dark workspace trees and tabs; a colour option\n"
         "                       given beside it replaces the theme's colour\n"
         "  --font FACE          font face of the pages (default Courier New)\n"
         "  --data DIR           templates, tab pages and Images for workspaces\n"
         "                       (default: the data folder of the installation)\n"
         "  --pages              give each source its own page, without a workspace\n"
         "  --max-file-size N    leave files over N bytes (K, M, G: kilo-, mega-, gigabytes)\n"
         "                       out of a folder's workspace (default 8M)\n"
         "  --line-numbers       number the lines of every page, each with an anchor L<n>\n"
         "                       (page.htm#L120); class-tree members link to their lines\n"
         "  --xref               cross-references: every name of a workspace's pages links\n"
         "                       to its definition, and a definition lists its uses\n"
         "  --text-search        a workspace's search box also finds any text of its pages,\n"
         "                       from an index in its folder \"text\" (pages get L<n>)\n"
         "  --incremental        keep a manifest in each workspace, and convert again only\n"
         "                       the pages whose sources or links changed since\n"
         "  --trees FORM         a workspace's tree pages: full (every line in the page),\n"
         "                       lazy (the top level; a node's lines load when it is first\n"
         "                       opened) or auto (lazy for a tree of more than 10,000\n"
         "                       lines; default)\n"
         "  --keywords WHAT      colour more keywords: 'modern' for today's keywords of\n"
         "                       each language, or a keywords file; may be repeated\n"
         "  --lang LANG          the language of standard input: cpp, cs, java or vb\n"
         "                       (default cpp)\n"
         "  --progress HOW       auto: the pages on one updating line when standard output\n"
         "                       is a terminal, else every line (default); bar; lines\n"
         "  -j, --jobs N         convert pages on N threads (default: one per core)\n"
         "  --open               open the result in the browser at the end\n"
         "  -h, --help           show this help\n"
         "  --version            show the version\n";
}

std::string usageHint(const std::string& command) {
  return "Try '" + command + " --help' for more information.";
}

namespace {

/// The arguments being read, the one in hand and the option whose value was read last.
struct ArgumentReader {
  const std::vector<std::string>& args;
  size_t i = 0;
  std::string* error;
  std::string option;

  const std::string& current() const { return args[i]; }
  bool value(std::string* out) {
    option = current();
    if (i + 1 >= args.size()) {
      *error = "option " + option + " needs a value";
      return false;
    }
    *out = args[++i];
    return true;
  }
  bool refuse(std::string text) {
    *error = std::move(text);
    return false;
  }
};

bool colourOption(ArgumentReader& in, ColorRef* out) {
  std::string text;
  if (!in.value(&text)) return false;
  if (parseHtmlColor(text, out)) return true;
  return in.refuse("option " + in.option + ": '" + text +
                   "' is not a colour of the form #rrggbb");
}

bool jobsOption(ArgumentReader& in, int* jobs) {
  std::string n;
  if (!in.value(&n)) return false;
  char* end = nullptr;
  const long value = std::strtol(n.c_str(), &end, 10);
  if (n.empty() || *end || value < 1 || value > 256)
    return in.refuse("option " + in.option + " needs a number from 1 to 256");
  *jobs = static_cast<int>(value);
  return true;
}

bool sizeOption(ArgumentReader& in, std::uint64_t* size) {
  std::string n;
  if (!in.value(&n)) return false;
  if (parseSize(n, size)) return true;
  return in.refuse("option " + in.option + " needs a size such as 8M, 500K or 1048576");
}

/// A value from a fixed list of names, each standing for one of `T`.
template <typename T, size_t N>
bool choiceOption(ArgumentReader& in, const std::pair<const char*, T> (&choices)[N], T* out) {
  std::string name;
  if (!in.value(&name)) return false;
  std::string names;
  for (const auto& [choice, meaning] : choices) {
    if (name == choice) {
      *out = meaning;
      return true;
    }
    names += (names.empty() ? "" : ", ") + std::string(choice);
  }
  return in.refuse("option " + in.option + ": '" + name + "' is not one of " + names);
}

constexpr std::pair<const char*, SourceLanguage> languageChoices[] = {
    {"cpp", SourceLanguage::Cpp}, {"cs", SourceLanguage::CSharp},
    {"java", SourceLanguage::Java}, {"vb", SourceLanguage::VB}};
constexpr std::pair<const char*, Theme> themeChoices[] = {{"light", Theme::Light},
                                                           {"dark", Theme::Dark}};
constexpr std::pair<const char*, TreeForm> treeChoices[] = {
    {"auto", TreeForm::Auto}, {"full", TreeForm::Full}, {"lazy", TreeForm::Lazy}};

/// The place of a colour option in `colourOptions`; -1 when `a` is none.
int colourOptionNumber(const std::string& a) {
  for (int n = 0; n < 7; ++n)
    if (a == colourOptions[n].name) return n;
  return -1;
}

constexpr std::pair<const char*, ProgressChoice> progressChoices[] = {
    {"auto", ProgressChoice::Auto}, {"bar", ProgressChoice::Bar}, {"lines", ProgressChoice::Lines}};

/// The options that take a value. False when `a` is none of them.
bool valueOption(ArgumentReader& in, CommandOptions* o, bool* ok) {
  const std::string& a = in.current();
  if (a == "-o" || a == "--output") {
    *ok = in.value(&o->outputDirectory);
    o->haveOutputDirectory = true;
  } else if (a == "--links") {
    *ok = in.value(&o->linksFile);
  } else if (a == "--data") {
    *ok = in.value(&o->dataDirectory);
  } else if (a == "--font") {
    *ok = in.value(&o->fontFace);
  } else if (const int n = colourOptionNumber(a); n >= 0) {
    *ok = colourOption(in, &(o->colors.*(colourOptions[n].color)));
    o->givenColours |= 1u << n;
  } else if (a == "--theme") {
    *ok = choiceOption(in, themeChoices, &o->theme);
  } else if (a == "-j" || a == "--jobs") {
    *ok = jobsOption(in, &o->jobs);
  } else if (a == "--max-file-size") {
    *ok = sizeOption(in, &o->maxFileSize);
  } else if (a == "--keywords") {
    *ok = in.value(&o->keywords.emplace_back());
  } else if (a == "--lang") {
    *ok = choiceOption(in, languageChoices, &o->language);
    o->haveLanguage = true;
  } else if (a == "--trees") {
    *ok = choiceOption(in, treeChoices, &o->trees);
  } else if (a == "--progress") {
    *ok = choiceOption(in, progressChoices, &o->progress);
  } else {
    return false;
  }
  return true;
}

/// The options without a value. False when `a` is none of them.
bool flagOption(const std::string& a, CommandOptions* o) {
  if (a == "--open") o->open = true;
  else if (a == "--pages") o->pages = true;
  else if (a == "--line-numbers") o->lineNumbers = true;
  else if (a == "--xref") o->crossReferences = true;
  else if (a == "--text-search") o->textSearch = true;
  else if (a == "--incremental") o->incremental = true;
  else if (a == "--rich") o->richColours = true;
  else if (a == "-h" || a == "--help") o->help = true;
  else if (a == "--version") o->version = true;
  else return false;
  return true;
}

/// What the options ask for as a whole, once each of them was read.
bool checkCombination(CommandOptions* o, std::string* error) {
  auto refuse = [&](std::string text) {
    *error = std::move(text);
    return false;
  };
  if (o->help || o->version) return true;
  o->standardInput = std::find(o->inputs.begin(), o->inputs.end(), "-") != o->inputs.end();
  if (o->inputs.empty()) return refuse("no input files");
  if (o->standardInput && o->inputs.size() > 1)
    return refuse("standard input (-) is converted alone, without other inputs");
  if (o->haveLanguage && !o->standardInput)
    return refuse("option --lang is for standard input (-)");
  if (o->standardInput && (o->haveOutputDirectory || o->open))
    return refuse(std::string("option ") + (o->open ? "--open" : "-o") +
                  " does not go with standard input (-), whose page goes to standard output");
  if (o->fontFace.empty()) return refuse("option --font needs a face name");
  return true;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, CommandOptions* o,
                      std::string* error) {
  ArgumentReader in{args, 0, error, {}};
  for (; in.i < args.size(); ++in.i) {
    const std::string& a = in.current();
    if (a == "--") {
      o->inputs.insert(o->inputs.end(), args.begin() + static_cast<long>(in.i) + 1, args.end());
      break;
    }
    bool ok = true;
    if (!valueOption(in, o, &ok) && !flagOption(a, o)) {
      if (a.size() > 1 && a[0] == '-')
        ok = in.refuse("unknown option " + a);
      else
        o->inputs.push_back(a);
    }
    if (!ok) return false;
  }
  return checkCombination(o, error);
}

}  // namespace quillon
