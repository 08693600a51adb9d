#include "cli/options.h"

#include <cstdlib>

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
         "       quillon links list | add WORD URL | remove WORD   (quillon links --help)\n"
         "\n"
         "Turns C/C++, C#, Java and Visual Basic sources into coloured HTML pages, and\n"
         "project files or sets of files into browsable HTML workspaces. Each INPUT is\n"
         "handled as if dropped on the program's window: a project file (.vcproj,\n"
         ".vcxproj, .dsp, .csproj, .vbproj, .vjsproj) becomes a workspace, a solution\n"
         "(.sln) one workspace per project; one source or resource file becomes a page;\n"
         "several become one workspace. A folder becomes a workspace of the sources\n"
         "below it.\n"
         "\n"
         "options:\n"
         "  -o, --output DIR     write into DIR (default: next to each source)\n"
         "  --links FILE         reference links file (default: ReferenceLinks.xml in the\n"
         "                       current directory; a missing file means no links)\n"
         "  --background C       page background colour, #rrggbb (default #ffffff)\n"
         "  --keyword C          keyword colour (default #0000ff)\n"
         "  --text C             default text colour (default #000000)\n"
         "  --comment C          comment colour (default #008000)\n"
         "  --font FACE          font face of the pages (default Courier New)\n"
         "  --data DIR           templates, tab pages and Images for workspaces\n"
         "                       (default: the data folder of the installation)\n"
         "  --pages              give each source its own page, without a workspace\n"
         "  --max-file-size N    leave files over N bytes (K, M, G: kilo-, mega-, gigabytes)\n"
         "                       out of a folder's workspace (default 8M)\n"
         "  --line-numbers       number the lines of every page, each with an anchor L<n>\n"
         "                       (page.htm#L120); class-tree members link to their lines\n"
         "  --keywords WHAT      colour more keywords: 'modern' for today's keywords of\n"
         "                       each language, or a keywords file; may be repeated\n"
         "  -j, --jobs N         convert pages on N threads (default: one per core)\n"
         "  --open               open the result in the browser at the end\n"
         "  -h, --help           show this help\n"
         "  --version            show the version\n";
}

bool parseCommandLine(const std::vector<std::string>& args, CommandOptions* o,
                      std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) {
        *error = "option " + a + " needs a value";
        return false;
      }
      *out = args[++i];
      return true;
    };
    auto colour = [&](ColorRef* out) {
      std::string text;
      if (!value(&text)) return false;
      if (parseHtmlColor(text, out)) return true;
      *error = "option " + a + ": '" + text + "' is not a colour of the form #rrggbb";
      return false;
    };
    bool ok = true;
    if (a == "-o" || a == "--output") {
      ok = value(&o->outputDirectory);
      o->haveOutputDirectory = true;
    } else if (a == "--links") {
      ok = value(&o->linksFile);
    } else if (a == "--data") {
      ok = value(&o->dataDirectory);
    } else if (a == "--font") {
      ok = value(&o->fontFace);
    } else if (a == "--background") {
      ok = colour(&o->colors.background);
    } else if (a == "--keyword") {
      ok = colour(&o->colors.keyword);
    } else if (a == "--text") {
      ok = colour(&o->colors.defaultText);
    } else if (a == "--comment") {
      ok = colour(&o->colors.comment);
    } else if (a == "-j" || a == "--jobs") {
      std::string n;
      ok = value(&n);
      char* end = nullptr;
      long jobs = ok ? std::strtol(n.c_str(), &end, 10) : 0;
      if (ok && (n.empty() || *end || jobs < 1 || jobs > 256)) {
        *error = "option " + a + " needs a number from 1 to 256";
        ok = false;
      }
      o->jobs = static_cast<int>(jobs);
    } else if (a == "--max-file-size") {
      std::string n;
      ok = value(&n);
      if (ok && !parseSize(n, &o->maxFileSize)) {
        *error = "option " + a + " needs a size such as 8M, 500K or 1048576";
        ok = false;
      }
    } else if (a == "--open") {
      o->open = true;
    } else if (a == "--pages") {
      o->pages = true;
    } else if (a == "--line-numbers") {
      o->lineNumbers = true;
    } else if (a == "--keywords") {
      ok = value(&o->keywords.emplace_back());
    } else if (a == "-h" || a == "--help") {
      o->help = true;
    } else if (a == "--version") {
      o->version = true;
    } else if (a == "--") {
      o->inputs.insert(o->inputs.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      ok = false;
    } else {
      o->inputs.push_back(a);
    }
    if (!ok) return false;
  }
  if (!o->help && !o->version && o->inputs.empty()) {
    *error = "no input files";
    return false;
  }
  if (o->fontFace.empty()) {
    *error = "option --font needs a face name";
    return false;
  }
  return true;
}

}  // namespace quillon
