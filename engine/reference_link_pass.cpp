#include "engine/reference_link_pass.h"

#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/text_tests.h"

namespace quillon {

namespace {
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool startsEntity(std::string_view line, size_t p) {
  return line.compare(p, 6, "&nbsp;") == 0 || line.compare(p, 3, "&lt") == 0 ||
         line.compare(p, 3, "&gt") == 0;
}
}  // namespace

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
    if (p > 0 && isLetter(line[p - 1]) && !(p > 4 && line.compare(p - 5, 5, "&nbsp") == 0))
      return;
    // A word that begins one of the escaping's entities ("&nbsp;", "&lt", "&gt") is
    // part of it: a link there would show the entity's letters instead of its character.
    if (p > 0 && line[p - 1] == '&' && startsEntity(line, p - 1)) return;
    size_t lineComment = line.find("//");
    if (lineComment != npos && lineComment < p) return;
    size_t blockOpen = line.find("/*");
    if (blockOpen != npos && blockOpen < p) {
      size_t blockClose = line.find("*/");
      if (blockClose != npos && blockClose > p) return;
    }
    if (insideQuotes(line, word, p)) return;
    line.insert(e, close);
    line.insert(p, open);
    start = e + open.size() + close.size();
  }
}

void applyReferenceLinks(const SourceFileConverter& converter, std::string& line) {
  const ReferenceLinkTable& table = converter.context.referenceLinks;
  if (table.links.empty() || line.empty()) return;
  size_t pos = 0;
  do {
    std::string word = nextWord(pos, line, converter.inBlockComment);
    if (word.empty()) continue;
    if (const std::string* url = findReferenceLink(table, word))
      linkWord(converter, line, word, attributeUrl(*url), 0, LinkVariant::NewWindow);
  } while (pos < line.size());
}

}  // namespace quillon
