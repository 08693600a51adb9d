#include "tests/reference/reference_passes.h"

#include <algorithm>
#include <vector>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/keyword_sets.h"
#include "engine/keywords.h"
#include "engine/text_tests.h"

namespace quillon::reference {

namespace {
constexpr size_t npos = std::string::npos;
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
}  // namespace

// ---- Escaping ----

void stripByteOrderMark(std::string& line) {
  static constexpr std::string_view mark = "\xEF\xBB\xBF";
  size_t p = line.find(mark);
  if (p != npos) line.erase(0, p + mark.size());
}

void appendEscaped(std::string& out, std::string_view line) {
  size_t column = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    switch (c) {
      case '\t': {
        size_t n = 4 - column % 4;
        for (size_t i = 0; i < n; ++i) out += "&nbsp;";
        column += n;
        continue;
      }
      case ' ':
        out += "&nbsp;";
        break;
      case '<':
      case '>': {
        // "&lt"/"&gt" with what follows must not spell a longer character reference.
        static const char* const longer[] = {
            "lt;", "ltcc;", "ltcir;", "ltdot;", "lthree;", "ltimes;", "ltlarr;", "ltquest;",
            "ltrPar;", "ltri;", "ltrie;", "ltrif;", "gt;", "gtcc;", "gtcir;", "gtdot;",
            "gtlPar;", "gtquest;", "gtrapprox;", "gtrarr;", "gtrdot;", "gtreqless;",
            "gtreqqless;", "gtrless;", "gtrsim;"};
        const std::string read = std::string(c == '<' ? "lt" : "gt") + std::string(line.substr(i + 1));
        bool spells = false;
        for (const char* name : longer) spells = spells || read.rfind(name, 0) == 0;
        out += c == '<' ? "&lt" : "&gt";
        if (spells) out += ';';
        break;
      }
      case '&': {
        // A browser takes "&" before a letter, a digit or "#" for a character reference.
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        const bool reference = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') ||
                               (next >= '0' && next <= '9') || next == '#';
        out += reference ? "&amp;" : "&";
        break;
      }
      default:
        out += c;
        break;
    }
    ++column;
  }
}

std::string escapeLine(std::string_view line) {
  std::string out;
  appendEscaped(out, line);
  return out;
}

// ---- Text tests ----

bool insideTag(std::string_view line, size_t p) {
  if (p == 0 || p > line.size()) return false;
  const size_t open = line.rfind('<', p - 1);
  if (open == npos) return false;
  const size_t close = line.rfind('>', p - 1);
  if (close != npos && close > open) return false;
  for (std::string_view own : {"<a ", "<font ", "</a>", "</font>"})
    if (line.compare(open, own.size(), own) == 0) return true;
  return false;
}

bool insideQuotes(std::string_view line, std::string_view part, size_t p) {
  if (p == npos) {
    p = line.find(part);
    if (p == npos) return false;
  }
  if (reference::insideTag(line, p)) return true;
  const size_t e = p + part.size();
  bool open = false;
  for (size_t i = line.find('"'); i != npos; i = line.find('"', i + 1)) {
    if (i > 0 && line[i - 1] == '\\') continue;
    if (!open) {
      if (i > e) return false;
      open = true;
    } else {
      if (i >= e) return true;
      open = false;
    }
  }
  return false;
}

std::string nextWord(size_t& pos, std::string_view line, bool inBlockComment) {
  const size_t n = line.size();
  if (inBlockComment) {
    pos = n;
    return {};
  }
  size_t start = pos;
  size_t end = pos;
  for (;;) {
    start = pos;
    end = start;
    while (end < n && isWordChar(line[end])) ++end;
    pos = end < n ? end + 1 : n;
    if (end > start) break;
    if (pos >= n) return {};
  }
  size_t lineComment = line.find("//");
  if (lineComment != npos && lineComment < pos) {
    pos = n;
    return {};
  }
  size_t open = line.find("/*");
  if (open != npos && open < pos) {
    size_t close = line.find("*/");
    if (close != npos && close > pos) {
      pos = n;
      return {};
    }
  }
  std::string_view word = line.substr(start, end - start);
  if (insideQuotes(line, word, start)) {
    pos = n;
    return {};
  }
  return std::string(word);
}

// ---- Include links ----

void linkInclude(const SourceFileConverter& converter, std::string& line) {
  if (!contains(line, "#include")) return;
  if (reference::insideQuotes(line, "#include") || converter.inBlockComment) return;
  size_t q1 = line.find('"');
  if (q1 == npos) return;
  size_t q2 = line.find('"', q1 + 1);
  if (q2 == npos) return;
  std::string_view name = std::string_view(line).substr(q1 + 1, q2 - q1 - 1);
  size_t cut = name.rfind('/');
  if (cut == npos) cut = name.rfind('\\');
  std::string target = fileLinkTarget(cut == npos ? name : name.substr(cut + 1));
  line.insert(q2, "</a>");
  line.insert(q1 + 1, "<a href=\"" + target + ".htm\">");
}

// ---- Reference links and class-name links ----

void linkWord(const SourceFileConverter& converter, std::string& line, std::string_view word,
              std::string_view url, size_t start, LinkVariant variant) {
  if (converter.inBlockComment || word.empty()) return;
  std::string open = "<a href=\"";
  open += url;
  open += variant == LinkVariant::NewWindow ? "\" target=\"_blank\" " : "\" ";
  open += converter.markup.linkStyle;
  static constexpr std::string_view close = "</a>";
  for (;;) {
    if (start >= line.size()) return;
    size_t p = line.find(word, start);
    if (p == npos) return;
    size_t e = p + word.size();
    if (e < line.size() && isWordChar(line[e])) return;
    if (p > 0 && isLetter(line[p - 1]) && !(p > 4 && line.compare(p - 5, 5, "&nbsp") == 0)) return;
    if (p > 0 && line[p - 1] == '&' &&
        (line.compare(p - 1, 6, "&nbsp;") == 0 || line.compare(p - 1, 3, "&lt") == 0 ||
         line.compare(p - 1, 3, "&gt") == 0 || line.compare(p - 1, 5, "&amp;") == 0))
      return;
    size_t lineComment = line.find("//");
    if (lineComment != npos && lineComment < p) return;
    size_t blockOpen = line.find("/*");
    if (blockOpen != npos && blockOpen < p) {
      size_t blockClose = line.find("*/");
      if (blockClose != npos && blockClose > p) return;
    }
    if (reference::insideQuotes(line, word, p)) return;
    line.insert(e, close);
    line.insert(p, open);
    start = e + open.size() + close.size();
  }
}

namespace {
/// Words linked earlier in the scan of a line are not linked again: a second call could
/// only nest a link inside the first one, and the scan could come back to it forever.
bool linkedBefore(const std::vector<std::string>& linked, std::string_view word) {
  return std::find(linked.begin(), linked.end(), word) != linked.end();
}
}  // namespace

void applyReferenceLinks(const SourceFileConverter& converter, std::string& line) {
  const ReferenceLinkTable& table = converter.context.referenceLinks;
  if (table.links.empty() || line.empty()) return;
  std::vector<std::string> linked;
  size_t pos = 0;
  do {
    std::string word = reference::nextWord(pos, line, converter.inBlockComment);
    if (word.empty() || linkedBefore(linked, word)) continue;
    if (const std::string* url = findReferenceLink(table, word)) {
      const size_t before = line.size();
      reference::linkWord(converter, line, word, exactAttributeUrl(*url), 0,
                          LinkVariant::NewWindow);
      if (line.size() != before) linked.push_back(word);
    }
  } while (pos < line.size());
}

void linkClassNames(const SourceFileConverter& converter, std::string& line) {
  const ClassModel& model = converter.context.classModel;
  if (model.nameIndex.empty()) return;
  std::vector<std::string> linked;
  size_t q = 0;
  while (q < line.size()) {
    std::string word = reference::nextWord(q, line, converter.inBlockComment);
    if (word.empty() || linkedBefore(linked, word)) continue;
    auto found = model.nameIndex.find(word);
    if (found == model.nameIndex.end()) continue;
    const size_t before = line.size();
    for (const ClassModel::NameEntry& entry : found->second) {
      static constexpr std::string_view excluded[] = {"class&nbsp;", "struct&nbsp;", "enum&nbsp;"};
      if (contains(line, excluded[static_cast<int>(entry.kind)])) continue;
      const ClassRecord& record = recordsOf(model, entry.kind)[entry.position];
      reference::linkWord(converter, line, word, recordLinkTarget(record.link, record.page), 0,
                          LinkVariant::Plain);
      break;  // only the first record not excluded is tried
    }
    if (line.size() != before) linked.push_back(word);
  }
}

// ---- Comments ----

size_t findLineComment(std::string_view line, bool visualBasic, size_t start) {
  const std::string_view marker = visualBasic ? "'" : "//";
  while (start < line.size()) {
    size_t p = line.find(marker, start);
    if (p == npos) return npos;
    if (!reference::insideQuotes(line, "//", p)) return p;
    if (!reference::insideQuotes(line, "'", p) && visualBasic) return p;
    start = p + marker.size();
  }
  return npos;
}

size_t colourLineComment(const SourceFileConverter& converter, std::string& line, size_t start) {
  if (converter.inBlockComment) return npos;
  size_t p = reference::findLineComment(line, converter.language == SourceLanguage::VB, start);
  if (p == npos) return npos;
  line.insert(p, converter.markup.commentOpen);
  line += "</font>";
  return p + converter.markup.commentOpen.size();
}

void colourBlockComments(SourceFileConverter& converter, std::string& line, size_t lineCommentAt) {
  if (line.empty() || converter.language == SourceLanguage::VB) return;
  const std::string& open = converter.markup.commentOpen;
  static constexpr std::string_view close = "</font>";
  size_t i = 0;
  while (i + 1 < line.size()) {
    if (i == lineCommentAt && !converter.inBlockComment) break;
    if (line[i] == '/' && line[i + 1] == '*') {
      if (reference::insideQuotes(line, "/*") || reference::insideTag(line, i)) {
        ++i;
        continue;
      }
      converter.inBlockComment = true;
      line.insert(i, open);
      if (lineCommentAt != npos && lineCommentAt >= i) lineCommentAt += open.size();
      i += open.size() + 2;
    } else if (line[i] == '*' && line[i + 1] == '/') {
      // With no comment open, "*/" closes nothing.
      if (!converter.inBlockComment || reference::insideQuotes(line, "*/") ||
          reference::insideTag(line, i)) {
        ++i;
        continue;
      }
      converter.inBlockComment = false;
      line.insert(i + 2, close);
      if (lineCommentAt != npos && lineCommentAt >= i + 2) lineCommentAt += close.size();
      i += 2 + close.size();
    } else {
      ++i;
    }
  }
}

// ---- Keywords ----

void colourKeyword(const SourceFileConverter& converter, std::string& line,
                   std::string_view keyword, size_t start) {
  if (converter.inBlockComment) return;
  const std::string& open = converter.markup.keywordOpen;
  static constexpr std::string_view close = "</font>";
  for (;;) {
    if (start >= line.size()) return;
    size_t p = line.find(keyword, start);
    if (p == npos) return;
    size_t e = p + keyword.size();
    if (e < line.size() && isWordChar(line[e])) return;
    if (p > 0 && isWordChar(line[p - 1]) && !(p > 4 && line.compare(p - 5, 5, "&nbsp") == 0))
      return;
    size_t lineComment = line.find("//");
    if (lineComment != npos && lineComment < p) return;
    size_t blockOpen = line.find("/*");
    if (blockOpen != npos && blockOpen < p) {
      size_t blockClose = line.find("*/");
      if (blockClose != npos && blockClose > p) return;
    }
    if (reference::insideQuotes(line, keyword, p)) return;
    line.insert(e, close);
    line.insert(p, open);
    start = e + open.size() + close.size();
  }
}

void colourKeywords(const SourceFileConverter& converter, std::string& line,
                    SourceLanguage language) {
  // The fixed table, followed by the keywords the converter's settings add.
  for (std::string_view keyword : keywordTableFor(converter, language))
    reference::colourKeyword(converter, line, keyword, 0);
}

// ---- Class, struct and enum anchors ----

namespace {

bool looksLikeStructVariable(std::string_view line, size_t end) {
  if (line.compare(end, 5, "&nbsp") != 0 || end + 6 >= line.size()) return false;
  char c = line[end + 6];
  if (c == '*' || c == ')' || isLetter(c)) return true;
  return c == '&' && (end + 7 >= line.size() || line[end + 7] != 'n');
}

// The name's text, passing over the links that earlier passes put into it; `close` is
// where the first of them begins (the anchor closes there), else the name's end.
bool scanName(std::string_view line, size_t start, bool isStruct, std::string* name, size_t* end,
              size_t* close) {
  *close = npos;
  size_t i = start;
  while (i < line.size()) {
    char c = line[i];
    size_t skip = 0;
    if (line.substr(i, 4) == "</a>") skip = 4;
    if (line.substr(i, 8) == "<a href=" && line.find('>', i) != npos) skip = line.find('>', i) + 1 - i;
    if (skip > 0) {
      if (*close == npos) *close = i;
      i += skip;
      continue;
    }
    if (c == '&' || c == ' ' || c == '{' || c == '(' || c == '\n' || c == '<') break;
    if (isStruct && (c == '*' || c == ')')) return false;
    name->push_back(c);
    ++i;
  }
  *end = i < line.size() ? i : start;
  if (*close == npos) *close = *end;
  return true;
}

void anchor(const SourceFileConverter& converter, std::string& line, std::string_view pattern,
            bool isStruct) {
  if (line.empty() || !contains(line, pattern)) return;
  if (reference::insideQuotes(line, pattern) || converter.inBlockComment) return;
  const size_t start = line.find(pattern) + pattern.size();
  std::string name;
  size_t end = 0, close = 0;
  if (!scanName(line, start, isStruct, &name, &end, &close)) return;
  if (isStruct && looksLikeStructVariable(line, end)) return;
  if (name.empty()) return;
  if (name.size() > maxRecordNameLength) name.resize(maxRecordNameLength);
  const std::string open = "<a name=\"" + attributeText(name) + "\">";
  line.insert(start, open);
  line.insert(close + open.size(), "</a>");
}

}  // namespace

void anchorDeclarations(const SourceFileConverter& converter, std::string& line) {
  anchor(converter, line, "class</font>&nbsp;", false);
  anchor(converter, line, "struct</font>&nbsp;", true);
  anchor(converter, line, "enum</font>&nbsp;", false);
}

// ---- The whole line ----

void referenceConvertLine(SourceFileConverter& converter, std::string& line) {
  reference::stripByteOrderMark(line);
  line = reference::escapeLine(line);
  reference::linkInclude(converter, line);
  reference::applyReferenceLinks(converter, line);
  reference::linkClassNames(converter, line);
  size_t lineComment = reference::colourLineComment(converter, line);
  reference::colourBlockComments(converter, line, lineComment);
  reference::colourKeywords(converter, line, converter.language);
  if (hasClassRecognition(converter.language)) reference::anchorDeclarations(converter, line);
}

}  // namespace quillon::reference
