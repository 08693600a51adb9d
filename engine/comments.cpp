#include "engine/comments.h"

#include "engine/converter.h"
#include "engine/text_tests.h"

namespace quillon {

size_t findLineComment(std::string_view line, bool visualBasic, size_t start) {
  const std::string_view marker = visualBasic ? "'" : "//";
  while (start < line.size()) {
    size_t p = line.find(marker, start);
    if (p == npos) return npos;
    // The quote test is made with the two-character marker in every language.
    if (!insideQuotes(line, "//", p)) return p;
    if (!insideQuotes(line, "'", p) && visualBasic) return p;
    start = p + marker.size();
  }
  return npos;
}

size_t colourLineComment(const SourceFileConverter& converter, std::string& line,
                         size_t start) {
  if (converter.inBlockComment) return npos;
  size_t p = findLineComment(line, converter.language == SourceLanguage::VB, start);
  if (p == npos) return npos;
  line.insert(p, converter.markup.commentOpen);
  line += "</font>";
  return p + converter.markup.commentOpen.size();
}

void colourBlockComments(SourceFileConverter& converter, std::string& line,
                         size_t lineCommentAt) {
  if (line.empty() || converter.language == SourceLanguage::VB) return;
  const std::string& open = converter.markup.commentOpen;
  static constexpr std::string_view close = "</font>";
  size_t i = 0;
  while (i + 1 < line.size()) {
    if (i == lineCommentAt && !converter.inBlockComment) break;
    if (line[i] == '/' && line[i + 1] == '*') {
      if (insideQuotes(line, "/*") || insideTag(line, i)) {
        ++i;
        continue;
      }
      converter.inBlockComment = true;
      line.insert(i, open);
      if (lineCommentAt != npos && lineCommentAt >= i) lineCommentAt += open.size();
      i += open.size() + 2;
    } else if (line[i] == '*' && line[i + 1] == '/') {
      if (insideQuotes(line, "*/") || insideTag(line, i)) {
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

}  // namespace quillon
