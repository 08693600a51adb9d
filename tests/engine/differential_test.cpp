// The engine's passes against their straightforward definition (tests/reference): the
// same lines in, byte-identical lines and the same block-comment state out. Random lines
// from an alphabet rich in the characters the rules look at, the lines of this
// repository's sources and a sample of the system's C headers, in every language, with and
// without reference links and recorded class names. Seeded, so every run is the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "classmodel/class_links.h"
#include "engine/comments.h"
#include "engine/escape.h"
#include "engine/keyword_sets.h"
#include "engine/keywords.h"
#include "engine/reference_link_pass.h"
#include "engine/text_tests.h"
#include "tests/reference/reference_passes.h"
#include "tests/support/engine_fixture.h"

using namespace quillon;
using namespace testing_support;
namespace fs = std::filesystem;

namespace {

const SourceLanguage allLanguages[] = {SourceLanguage::Cpp, SourceLanguage::CSharp,
                                       SourceLanguage::Java, SourceLanguage::VB,
                                       SourceLanguage::None};

/// What a conversion works with besides the line: language, colours, links, records,
/// keywords added to the table.
struct Conditions {
  SourceLanguage language = SourceLanguage::Cpp;
  ColorRef keywordColour = ColorScheme{}.keyword;
  bool links = false;
  bool classes = false;
  std::shared_ptr<const KeywordSet> keywords;

  KeywordTable table() const {
    return keywords ? keywords->table(language) : keywordTableFor(language);
  }
};

/// Today's keywords, with and without a user's words: words that are link words, class
/// names or single letters, words with "-", "$", "@" and "#", and enough of them that
/// each table has more than 256 entries.
std::shared_ptr<const KeywordSet> addedKeywords(bool userWords) {
  KeywordAdditions additions;
  additions.modern = true;
  if (userWords)
    for (std::vector<std::string>& words : additions.words) {
      words = {"MYAPI", "a-b", "$x", "@y", "#region2", "x", "foo", "Foo", "printf", "_t", "a1"};
      for (int i = 0; i < 200; ++i) words.push_back("w" + std::to_string(i));
    }
  return std::make_shared<const KeywordSet>(additions);
}

/// Reference link words (some also keywords or parts of markup) with URLs that have and
/// lack "//", hold comment markers, quotes, a trailing backslash, or nothing at all.
const std::pair<const char*, const char*> linkTable[] = {
    {"printf", "http://x.org/printf"},
    {"foo", "foo.htm"},
    {"a1", "x.htm"},
    {"size_t", "a/*b*/c.htm"},
    {"int", "int.htm"},
    {"nbsp", "dir\\"},
    {"bar", "q\"uote.htm"},
    {"x", ""},
    {"Foo", "*/end.htm"},
    {"_t", "//"},
    // Words that the markup of the passes holds, and a URL that holds its own word.
    {"href", "h.htm"},
    {"target", "t\"x"},
    {"style", "s.htm"},
    {"a", "a"},
    {"htm", "htm.htm"},
    // The letters of the entity that a "&" before a letter, digit or "#" becomes.
    {"amp", "amp.htm"},
    // A URL whose "&" the tag writes as "&amp;", before letters that an escaped line holds.
    {"nbsp", "n.htm?a=1&nbsp;&lt"},
};

/// Recorded names: the same name as class and struct, a page that looks like a scheme.
struct Named {
  RecordKind kind;
  const char* name;
  const char* page;
};
const Named records[] = {
    {RecordKind::Class, "Foo", "foo.h.htm"},    {RecordKind::Struct, "Foo", "foo.h.htm"},
    {RecordKind::Class, "Bar", "bar.h.htm"},    {RecordKind::Enum, "Color", "c.h.htm"},
    {RecordKind::Struct, "a1", "javascript:x"}, {RecordKind::Class, "int", "i.htm"},
    {RecordKind::Class, "href", "h.h.htm"},     {RecordKind::Struct, "font", "f.h.htm"},
    {RecordKind::Enum, "amp", "a&amp.h.htm"},
};

void configure(EngineFixture& f, const Conditions& s) {
  f.as(s.language);
  f.settings.colors.keyword = s.keywordColour;
  f.converter.markup = pageMarkupFor(f.settings.colors);
  f.settings.keywords = s.keywords;
  f.converter.keywords = s.keywords.get();
  if (s.links)
    for (const auto& [word, url] : linkTable) f.addLink(word, url);
  if (s.classes) {
    for (const Named& r : records) {
      ClassRecord record;
      record.name = r.name;
      record.page = r.page;
      record.link = record.page + "#" + record.name;
      recordsOf(f.classes, r.kind).push_back(record);
    }
    indexClassNames(f.classes);
  }
}

/// Two converters set up alike: one runs the engine, the other the reference.
struct Twins {
  explicit Twins(const Conditions& s) : setup(s) {
    configure(fast, s);
    configure(ref, s);
  }
  Conditions setup;
  EngineFixture fast;
  EngineFixture ref;
};

std::string describe(const Conditions& s) {
  return "language " + std::to_string(static_cast<int>(s.language)) + ", keyword colour " +
         htmlColor(s.keywordColour) + (s.links ? ", links" : "") + (s.classes ? ", classes" : "") +
         (s.keywords ? ", " + std::to_string(s.table().size) + " keywords" : "");
}

std::string printable(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

/// Runs `lines` through both converters as one file; false (with a failure reported) at
/// the first difference.
bool sameConversion(Twins& t, const std::vector<std::string>& lines, const std::string& where) {
  for (const std::string& raw : lines) {
    const bool blockBefore = t.fast.converter.inBlockComment;
    std::string mine = raw;
    std::string theirs = raw;
    convertLine(t.fast.converter, mine);
    reference::referenceConvertLine(t.ref.converter, theirs);
    if (mine != theirs || t.fast.converter.inBlockComment != t.ref.converter.inBlockComment) {
      ADD_FAILURE() << where << " (" << describe(t.setup) << ")\n  line: " << printable(raw)
                    << "\n  in block comment before: " << blockBefore
                    << "\n  engine:    " << printable(mine)
                    << "\n  reference: " << printable(theirs);
      return false;
    }
  }
  return true;
}

/// Random lines built from pieces that matter to the rules.
class LineMaker {
 public:
  explicit LineMaker(uint32_t seed) : random_(seed) {}

  std::string line(const Conditions& setup, size_t maxPieces) {
    static const char* pieces[] = {
        "\"",
        "\"",
        "\\",
        "\\\"",
        "/",
        "*",
        "//",
        "/*",
        "*/",
        "&",
        ";",
        "<",
        ">",
        "\t",
        " ",
        " ",
        "  ",
        "'",
        "#include",
        "#include \"a/b.h\"",
        "class ",
        "struct ",
        "enum ",
        "\x80",
        "\xff",
        "\xEF\xBB\xBF",
        "\xEF",
        "\xEF\xBB",
        "&nbsp",
        "nbsp",
        "{",
        "}",
        "(",
        ")",
        "=",
        ",",
        ":",
        "_",
        "-",
        "0",
        "9",
        "x",
        "Foo",
        "Bar",
        "Color",
        "a1",
        "1a1",
        "printf",
        "foo",
        "size_t",
        "int",
        "bar",
        "_t",
        "zz",
        "\n",
        "using namespace",
        "#pragma once",
        "&lt",
        "http://",
        "href",
        "a",
        "font",
        "style",
        "&nbsp;",
        "&gt",
        // Character references spelt in the source, and "&" before what begins none.
        "&amp;",
        "&#39;",
        "&copy",
        "amp",
        "&&",
        "&#",
    };
    const KeywordTable table = setup.table();
    std::string out;
    const size_t count = pick(maxPieces + 1);
    for (size_t i = 0; i < count; ++i) {
      switch (pick(8)) {
        case 0:
        case 1:
          out += table.words[pick(table.size)];
          break;
        case 2: {  // a part of a keyword
          std::string_view w = table.words[pick(table.size)];
          size_t a = pick(w.size()), b = pick(w.size() + 1);
          if (a < b) out += w.substr(a, b - a);
          break;
        }
        case 3:
          out += '\0';
          break;
        default:
          out += pieces[pick(std::size(pieces))];
          break;
      }
    }
    return out;
  }

  size_t pick(size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
};

std::vector<Conditions> allConditions() {
  std::vector<Conditions> setups;
  const ColorRef colours[] = {ColorScheme{}.keyword, 0xEFCDAB, 0x0D0E0F};
  static const std::shared_ptr<const KeywordSet> modern = addedKeywords(false);
  static const std::shared_ptr<const KeywordSet> userWords = addedKeywords(true);
  for (SourceLanguage language : allLanguages)
    for (int variant = 0; variant < 6; ++variant) {
      Conditions s;
      s.language = language;
      s.links = variant & 1;
      s.classes = variant & 2;
      s.keywordColour = colours[(static_cast<int>(language) + variant) % 3];
      // Today's keywords alone, and with a user's words among links and class names.
      if (variant >= 4) s.keywords = variant == 4 ? modern : userWords;
      if (variant == 5) s.links = s.classes = true;
      setups.push_back(s);
    }
  return setups;
}

std::vector<std::string> readLines(const fs::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<fs::path> filesUnder(const fs::path& root, std::initializer_list<const char*> exts) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec),
       end;
       !ec && it != end; it.increment(ec)) {
    // Build trees (with their generated pages and copied corpora), installed packages and
    // hidden folders are not the repository's sources.
    const std::string name = it->path().filename().string();
    if (it->is_directory(ec) &&
        (name.rfind("build", 0) == 0 || name == "node_modules" || name[0] == '.')) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file(ec)) continue;
    const std::string ext = it->path().extension().string();
    if (std::find_if(exts.begin(), exts.end(), [&](const char* e) { return ext == e; }) !=
        exts.end())
      files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(Differential, RandomLinesMatchTheReferenceInEverySetup) {
  LineMaker maker(20240611);
  for (const Conditions& setup : allConditions()) {
    Twins t(setup);
    for (int file = 0; file < 150; ++file) {
      std::vector<std::string> lines;
      const size_t count = 1 + maker.pick(8);
      for (size_t i = 0; i < count; ++i) lines.push_back(maker.line(setup, 40));
      if (!sameConversion(t, lines, "random file " + std::to_string(file))) return;
    }
  }
}

TEST(Differential, LongAndDenseLinesMatchTheReference) {
  LineMaker maker(77);
  for (const Conditions& setup : allConditions()) {
    Twins t(setup);
    for (int round = 0; round < 4; ++round)
      if (!sameConversion(t, {maker.line(setup, 600)}, "long line")) return;
    // Keyword after keyword, with and without separators.
    std::string dense;
    for (std::string_view w : setup.table()) dense += std::string(w) + " ";
    std::string glued;
    for (std::string_view w : setup.table()) glued += std::string(w);
    if (!sameConversion(t, {dense, glued, dense + "\"" + dense, "\"" + glued}, "dense")) return;
  }
}

TEST(Differential, RepositorySourcesMatchTheReference) {
  const auto files = filesUnder(QUILLON_SOURCE_DIR, {".cpp", ".h", ".sh", ".txt", ".md", ".htm"});
  ASSERT_FALSE(files.empty());
  for (const Conditions& setup : allConditions()) {
    if (setup.language != SourceLanguage::Cpp && setup.language != SourceLanguage::VB) continue;
    Twins t(setup);
    for (const fs::path& file : files)
      if (!sameConversion(t, readLines(file), file.string())) return;
  }
}

TEST(Differential, SystemHeadersMatchTheReference) {
  // A spread sample of the headers on this machine (none are needed for the test to run).
  auto files = filesUnder("/usr/include", {".h", ".hpp"});
  const size_t wanted = 700;
  const size_t stride = std::max<size_t>(1, files.size() / wanted);
  Conditions plain;
  Conditions linked;
  linked.links = linked.classes = true;
  Twins a(plain), b(linked);
  size_t lines = 0;
  for (size_t i = 0; i < files.size() && lines < 150000; i += stride) {
    const auto text = readLines(files[i]);
    lines += text.size();
    if (!sameConversion(i % 2 ? a : b, text, files[i].string())) return;
  }
}

TEST(Differential, SinglePassesMatchTheReferenceOnArbitraryText) {
  LineMaker maker(4242);
  for (const Conditions& setup : allConditions()) {
    Twins t(setup);
    for (int round = 0; round < 300; ++round) {
      const std::string text = maker.line(setup, 30);
      const bool inBlock = maker.pick(4) == 0;
      t.fast.converter.inBlockComment = t.ref.converter.inBlockComment = inBlock;

      std::string mine = text, theirs = text;
      colourKeywords(t.fast.converter, mine, setup.language);
      reference::colourKeywords(t.ref.converter, theirs, setup.language);
      ASSERT_EQ(printable(mine), printable(theirs)) << "keywords of " << printable(text);

      mine = theirs = text;
      size_t at = colourLineComment(t.fast.converter, mine);
      ASSERT_EQ(at, reference::colourLineComment(t.ref.converter, theirs));
      colourBlockComments(t.fast.converter, mine, at);
      reference::colourBlockComments(t.ref.converter, theirs, at);
      ASSERT_EQ(printable(mine), printable(theirs)) << "comments of " << printable(text);
      ASSERT_EQ(t.fast.converter.inBlockComment, t.ref.converter.inBlockComment);

      // Any word (not only whole words) and any URL, from any start.
      static const char* common[] = {"foo", "a1", "int", "x", "nbsp", "Foo"};
      const std::string word =
          maker.pick(2) ? maker.line(setup, 2) : common[maker.pick(std::size(common))];
      static const char* urls[] = {"a/*b", "a*/b", "http://x", "a\\", "q\"q", "", "u.htm"};
      const std::string url =
          maker.pick(2) ? maker.line(setup, 4) : urls[maker.pick(std::size(urls))];
      const size_t start = maker.pick(text.size() + 2);
      const LinkVariant variant = maker.pick(2) ? LinkVariant::Plain : LinkVariant::NewWindow;
      // The word among other pieces, so that chains of links form.
      std::string linkText;
      for (size_t i = 0, n = 2 + maker.pick(8); i < n; ++i)
        linkText += maker.pick(2) ? word + " " : maker.line(setup, 2);
      for (const std::string& target : {text, linkText}) {
        mine = theirs = target;
        linkWord(t.fast.converter, mine, word, url, start, variant);
        reference::linkWord(t.ref.converter, theirs, word, url, start, variant);
        ASSERT_EQ(printable(mine), printable(theirs))
            << "linkWord " << printable(word) << " -> " << printable(url) << " in "
            << printable(target);
      }

      for (size_t pos = 0, refPos = 0; pos < text.size();) {
        std::string w = nextWord(pos, text, inBlock);
        ASSERT_EQ(w, reference::nextWord(refPos, text, inBlock));
        ASSERT_EQ(pos, refPos);
      }
    }
  }
}

TEST(Differential, EverySmallLineOfTheCriticalPiecesMatchesTheReference) {
  // Every sequence of up to four pieces, through the whole line pass and through linkWord
  // with URLs that hold comment markers, quotes or a backslash.
  static const char* pieces[] = {"foo", "int", " ", "/*", "*/", "//", "\"",
                                 "\\",  "x",   "'", "1",  "*",  "/",  "&"};
  static const char* urls[] = {"a/*b", "a*/b", "http://x", "a\\", "q\"q", "u.htm"};
  std::vector<std::string> lines = {""};
  for (size_t from = 0, length = 0; length < 4; ++length) {
    const size_t to = lines.size();
    for (size_t i = from; i < to; ++i)
      for (const char* piece : pieces) lines.push_back(lines[i] + piece);
    from = to;
  }
  for (const Conditions& setup : allConditions()) {
    if (setup.keywordColour != ColorScheme{}.keyword) continue;
    Twins t(setup);
    for (const std::string& line : lines) {
      if (!sameConversion(t, {line}, "small line")) return;
      t.fast.converter.inBlockComment = t.ref.converter.inBlockComment = false;
    }
  }
  EngineFixture f, g;
  for (const std::string& line : lines)
    for (const char* url : urls) {
      std::string mine = line, theirs = line;
      linkWord(f.converter, mine, "foo", url, 0, LinkVariant::NewWindow);
      reference::linkWord(g.converter, theirs, "foo", url, 0, LinkVariant::NewWindow);
      ASSERT_EQ(mine, theirs) << "linkWord foo -> " << url << " in " << printable(line);
    }
}

TEST(Differential, SoupsOfMarkersAndQuotesMatchTheReference) {
  // Short lines of comment markers, quotes and backslashes around a keyword and a word of
  // the link table: where the tests for the first marker and for quotes interact.
  static const char* pieces[] = {"/", "*", "\"", "\\", "x", " ", "int", "foo", "'"};
  // Lines where a tag splits the first marker ("*/*", "/*/*") or adds quotes after an
  // unterminated string.
  static const char* known[] = {
      "*/*\"x\"/*",       "/*x\"/*/*\"*/", "\"abc /* x */ /* y */ /* z */",
      "\"abc int void",   "#if\" void",    "x \"/*a*/b/*c*/",
      "\"a//b\" // c \"",
  };
  std::mt19937 random(99);
  for (const Conditions& setup : allConditions()) {
    if (setup.classes) continue;
    Twins t(setup);
    for (const char* line : known)
      if (!sameConversion(t, {line}, "known")) return;
    for (int round = 0; round < 3000; ++round) {
      std::string line;
      for (size_t i = 0, n = random() % 14; i < n; ++i)
        line += pieces[random() % std::size(pieces)];
      t.fast.converter.inBlockComment = t.ref.converter.inBlockComment = random() % 3 == 0;
      if (!sameConversion(t, {line}, "soup")) return;
    }
  }
}

TEST(Differential, TagsOfAnotherShapeAreHandledThePlainWay) {
  // Opening tags that hold a keyword, a comment marker, an odd quote or a backslash
  // (no colour gives such tags, but the markup is the converter's to set).
  const std::pair<const char*, const char*> tags[] = {
      {"<b title=\"int\">", "<i a=\"/*\">"}, {"<b \">", "<i \\\">"}, {"<b>for</b><b>", "<i*/>"},
      {"<b>", "<i>class</font>&nbsp;x<i>"},  {"<b>", "<i>"},         {"<b q=\"1\" r=\"2\">", "<i>"},
  };
  LineMaker maker(555);
  for (const auto& [keywordTag, commentTag] : tags) {
    Conditions setup;
    Twins t(setup);
    t.fast.converter.markup.keywordOpen = t.ref.converter.markup.keywordOpen = keywordTag;
    t.fast.converter.markup.commentOpen = t.ref.converter.markup.commentOpen = commentTag;
    for (int round = 0; round < 1000; ++round)
      if (!sameConversion(t, {maker.line(setup, 20)}, "odd tags")) return;
  }
}

TEST(Differential, ManyKeywordsThatBeginOrEndAtOnePlaceMatchTheReference) {
  // Words that begin alike and stand apart by a byte that is no word character: twenty of
  // them open (and, spelt backwards, close) at one place, more than the pass counts there.
  // The longest first: a shorter one is then wrapped inside the longer ones' tags.
  KeywordAdditions additions;
  std::vector<std::string> words;
  std::string chain = "w", back = "v";
  for (int i = 1; i <= 20; ++i) {
    words.push_back(chain);
    words.push_back(back);
    chain += "$" + std::to_string(i);
    back = std::to_string(i) + "$" + back;
  }
  additions.words[0].assign(words.rbegin(), words.rend());
  Conditions setup;
  setup.keywords = std::make_shared<const KeywordSet>(additions);
  Twins t(setup);
  for (const std::string& line : {chain, back, chain + " int " + back, "x " + chain + "(" + back + ");"})
    if (!sameConversion(t, {line}, "chains of keywords")) return;
}

TEST(Differential, WordsInTheTagsOfEarlierPassesMatchTheReference) {
  // Words and markers that stand inside an include link or a reference link placed
  // before them, with the source's quotes around them in pairs and not: the tag test
  // of the word scan, the link chain, the keyword pass and both comment passes.
  static const char* known[] = {
      "foo #include \"foo.h\"",   "\" foo(1) printf(2) int",  "int x; \" int",
      "a1 = \"x\" + a1; // a1",     "href target style a font",  "\" href(a) target",
      "foo \"foo\" foo",           "\" a(1); /* a */ a",        "x\" htm(1) */ int /* htm",
      "#include \"a/*b*/c.h\" int", "#include \"x//y.h\" // int", "\"a\" size_t(1) */",
      "Foo f; \" Foo g;",          "_t x; \" _t // int",        "nbsp&nbsp;a&lt;b &gt x",
      // The scan comes back into the link just placed, before its first quote: "href"
      // there is no word of the text, though "1href" holds one that could be linked.
      "1href a",                    "1style 2target a(x)",       "-href \" a",
  };
  static const char* pieces[] = {"foo", "a",  "href", "int", "printf", "size_t", "Foo",
                                 "\"",  " ",  "(",    "//",  "/*",     "*/",     "#include \"a.h\"",
                                 "&",   "lt", "nbsp", ";",   "htm",    "_t",     "font",   "1",
                                 "amp", "#"};
  std::mt19937 random(1234);
  for (const Conditions& setup : allConditions()) {
    if (!setup.links && !setup.classes) continue;
    Twins t(setup);
    for (const char* line : known)
      if (!sameConversion(t, {line}, "known")) return;
    for (int round = 0; round < 2000; ++round) {
      std::string line;
      for (size_t i = 0, n = random() % 16; i < n; ++i)
        line += pieces[random() % std::size(pieces)];
      t.fast.converter.inBlockComment = t.ref.converter.inBlockComment = random() % 5 == 0;
      if (!sameConversion(t, {line}, "tags")) return;
    }
  }
}
