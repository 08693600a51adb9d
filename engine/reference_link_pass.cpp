#include "engine/reference_link_pass.h"

#include <algorithm>
#include <vector>

#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/line_index.h"
#include "engine/text_tests.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {

constexpr std::string_view linkClose = "</a>";

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool startsEntity(std::string_view line, size_t p) {
  return line.compare(p, 6, "&nbsp;") == 0 || line.compare(p, 3, "&lt") == 0 ||
         line.compare(p, 3, "&gt") == 0 || line.compare(p, 5, "&amp;") == 0;
}

/// A word that begins one of the escaping's entities ("&nbsp;", "&lt", "&gt", "&amp;") is
/// part of it: a link there would show the entity's letters instead of its character.
bool beginsEntity(std::string_view line, size_t p) {
  return p > 0 && line[p - 1] == '&' && startsEntity(line, p - 1);
}

std::string openingTag(const SourceFileConverter& converter, std::string_view url,
                       LinkVariant variant) {
  std::string open = "<a href=\"";
  open += url;
  open += variant == LinkVariant::NewWindow ? "\" target=\"_blank\" " : "\" ";
  open += converter.markup.linkStyle;
  return open;
}

/// The rule itself, one occurrence and one insertion at a time.
void linkOneByOne(std::string& line, std::string_view word, const std::string& open,
                  size_t start) {
  for (;;) {
    if (start >= line.size()) return;
    size_t p = line.find(word, start);
    if (p == npos) return;
    size_t e = p + word.size();
    if (e < line.size() && isWordChar(line[e])) return;
    if (p > 0 && isLetter(line[p - 1]) && !(p > 4 && line.compare(p - 5, 5, "&nbsp") == 0))
      return;
    if (beginsEntity(line, p)) return;
    if (CommentMarkers::of(line).hideAt(p)) return;
    if (insideQuotes(line, word, p)) return;
    line.insert(e, linkClose);
    line.insert(p, open);
    start = e + open.size() + linkClose.size();
  }
}

/// Whether a chain of links can be decided on the line as it was before the first
/// insertion. The tags of the chain all stand before the occurrence being tested, so
/// only their quotes and comment markers could matter: a word of word characters cannot
/// form a marker or a quote with its tags, and a tag whose URL holds no quote and does
/// not end with a backslash holds its quotes in pairs, which cancel out.
bool chainIsDecidable(std::string_view word, std::string_view open) {
  if (!std::all_of(word.begin(), word.end(), isWordChar)) return false;
  const size_t quotes = static_cast<size_t>(std::count(open.begin(), open.end(), '"'));
  return open.find('\\') == npos && quotes % 2 == 0 && open.front() == '<' && open.back() == '>';
}

/// The chain on one snapshot L0 of the line: the starts of the occurrences to link.
/// Differences from testing each occurrence in the edited line, all accounted for here:
/// right after a link the character before the next occurrence is ">" (a separator), and
/// five characters before it spell "&nbsp" only when no "</a>" lies among them; and once
/// a tag is in the line, markers in it (in its URL) count as the line's first ones. The
/// tag test reads L0: the chain's tags stand outside every tag of L0 (a linked
/// occurrence is outside them, and the word holds no "<"), and each ends with ">", so the
/// last "<" before a later occurrence is either L0's or one of a closed tag of the chain.
class LinkChain {
 public:
  LinkChain(std::string_view line, std::string_view word, std::string_view open)
      : line_(line), word_(word), markers_(CommentMarkers::of(line)) {
    // A tag begins with "<" and ends with ">": its markers are those within it.
    tagLineComment_ = open.find("//") != npos;
    tagBlockOpen_ = open.find("/*") != npos;
    tagBlockClose_ = open.find("*/") != npos;
  }

  void collect(size_t start, std::vector<size_t>& starts) {
    size_t previousEnd = npos;
    while (start < line_.size()) {
      const size_t p = line_.find(word_, start);
      if (p == npos) return;
      const size_t e = p + word_.size();
      if (!qualifies(p, e, previousEnd)) return;
      starts.push_back(p);
      start = previousEnd = e;
    }
  }

 private:
  bool qualifies(size_t p, size_t e, size_t previousEnd) {
    const bool afterLink = previousEnd != npos;
    if (e < line_.size() && isWordChar(line_[e])) return false;
    if (p != previousEnd && p > 0 && isLetter(line_[p - 1])) {
      bool nbsp = p > 4 && (!afterLink || p >= previousEnd + 5) &&
                  line_.compare(p - 5, 5, "&nbsp") == 0;
      if (!nbsp) return false;
    }
    // Right after a link the character before is ">"; otherwise the text from p - 1 on
    // is L0's (the chain's tags all stand before it).
    if (p != previousEnd && beginsEntity(line_, p)) return false;
    if (afterLink && tagLineComment_) return false;
    if (markers_.lineComment != npos && markers_.lineComment < p) return false;
    const bool openBefore =
        (markers_.blockOpen != npos && markers_.blockOpen < p) || (afterLink && tagBlockOpen_);
    const bool closeAfter = markers_.blockClose != npos && markers_.blockClose > p &&
                            !(afterLink && tagBlockClose_);
    if (openBefore && closeAfter) return false;
    if (!quotes_.built()) {
      quotes_.build(line_);
      tags_.build(line_);
    }
    return !tags_.inside(p) && !quotes_.inside(e);
  }

  std::string_view line_;
  std::string_view word_;
  CommentMarkers markers_;
  QuoteIndex quotes_;
  TagIndex tags_;
  bool tagLineComment_ = false;
  bool tagBlockOpen_ = false;
  bool tagBlockClose_ = false;
};

struct LinkScratch {
  std::vector<size_t> starts;
  std::vector<Insertion> insertions;
  std::string out;
};

/// Words linked earlier in the scan of a line are not linked again: a second call could
/// only nest a link inside the first, and with a URL that does not hold the word the scan
/// can come back to it without end, growing the line each time.
bool linkedBefore(const std::vector<std::string>& linked, std::string_view word) {
  return std::find(linked.begin(), linked.end(), word) != linked.end();
}

}  // namespace

void linkWord(const SourceFileConverter& converter, std::string& line, std::string_view word,
              std::string_view url, size_t start, LinkVariant variant) {
  if (converter.inBlockComment || word.empty()) return;
  const std::string open = openingTag(converter, url, variant);
  if (!chainIsDecidable(word, open)) {
    linkOneByOne(line, word, open, start);
    return;
  }
  LinkScratch& scratch = threadScratch<LinkScratch>();
  scratch.starts.clear();
  LinkChain(line, word, open).collect(start, scratch.starts);
  if (scratch.starts.empty()) return;
  scratch.insertions.clear();
  for (size_t p : scratch.starts) {
    scratch.insertions.push_back({p, open});
    scratch.insertions.push_back({p + word.size(), linkClose});
  }
  applyInsertions(line, scratch.insertions, scratch.out);
  line.swap(scratch.out);
}

void applyReferenceLinks(const SourceFileConverter& converter, std::string& line) {
  const ReferenceLinkTable& table = converter.context.referenceLinks;
  if (table.links.empty() || line.empty() || converter.inBlockComment) return;
  std::vector<std::string> linked;
  WordScanner scanner;
  scanner.reset(line);
  size_t pos = 0;
  do {
    std::string_view word = scanner.next(pos, converter.inBlockComment);
    if (word.empty() || linkedBefore(linked, word)) continue;
    const std::string* url = findReferenceLink(table, word);
    if (!url) continue;
    std::string found(word);
    const size_t before = line.size();
    linkWord(converter, line, found, exactAttributeUrl(*url), 0, LinkVariant::NewWindow);
    if (line.size() == before) continue;
    // The scan goes on from the same position in the longer line.
    linked.push_back(std::move(found));
    scanner.reset(line);
  } while (pos < line.size());
}

}  // namespace quillon
