#include "engine/comments.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/converter.h"
#include "engine/line_index.h"
#include "engine/text_tests.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {
constexpr std::string_view fontClose = "</font>";
}  // namespace

size_t findLineComment(std::string_view line, bool visualBasic, size_t start) {
  const std::string_view marker = visualBasic ? "'" : "//";
  QuoteIndex quotes;  // built at the first marker: most lines have none
  TagIndex tags;
  while (start < line.size()) {
    size_t p = line.find(marker, start);
    if (p == npos) return npos;
    if (!quotes.built()) {
      quotes.build(line);
      tags.build(line);
    }
    // A marker inside a tag of an earlier pass (in a link's URL) counts as quoted.
    if (!tags.inside(p)) {
      // The quote test is made with the two-character marker in every language.
      if (!quotes.inside(p + 2)) return p;
      if (!quotes.inside(p + 1) && visualBasic) return p;
    }
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
  line += fontClose;
  return p + converter.markup.commentOpen.size();
}

namespace {

/// The block-comment walk over the line as it was when the pass began (L0), with its tags
/// recorded by gap and the line built once at the end. The walk only ever inserts at or
/// behind its own position, so its positions are L0's. Each marker's test is made for the
/// edited line's first "/*" (or "*/"); the tags hold no marker and begin and end with "<"
/// and ">", so that first marker is L0's first one that no tag has split: an opening tag
/// before "/*" splits a "*/" ending there ("*/*"), a closing tag after "*/" splits a "/*"
/// starting there. The quote test reads L0's quotes and where the tags stand
/// (QuoteIndex::insideWithTags): an opening tag's quotes come in a pair (the comment tag
/// is "<font color=\"#rrggbb\">"), and a tag never stands between a backslash and a quote
/// (it stands next to a "/" or a "*").
class BlockWalk {
 public:
  BlockWalk(std::string_view line, std::vector<Insertion>& tags)
      : line_(line), tags_(tags), firstOpen_(line.find("/*")), firstClose_(line.find("*/")) {
    tags_.clear();
  }

  void run(bool& inBlockComment, size_t lineCommentAt, std::string_view open) {
    size_t i = 0;
    while (i + 1 < line_.size()) {
      // Only a "/" or a "*" begins a marker; up to the next one, only the line comment's
      // start can end the walk, so the bytes between are passed over at once.
      const size_t at = std::min(next('/', nextSlash_, i), next('*', nextStar_, i));
      if (lineCommentAt >= i && lineCommentAt <= at && !inBlockComment) break;
      i = at;
      if (i + 1 >= line_.size()) break;
      if (line_[i] == '/' && line_[i + 1] == '*') {
        if (shielded(firstOpen_, i)) {
          ++i;
          continue;
        }
        inBlockComment = true;
        tag(i, open, true);
        if (firstClose_ + 1 == i) firstClose_ = line_.find("*/", i);
      } else if (line_[i] == '*' && line_[i + 1] == '/') {
        // A "*/" with no comment open closes nothing: its "</font>" would end the page's
        // own font early.
        if (!inBlockComment || shielded(firstClose_, i)) {
          ++i;
          continue;
        }
        inBlockComment = false;
        tag(i + 2, fontClose, false);
        if (firstOpen_ == i + 1) firstOpen_ = line_.find("/*", i + 2);
      } else {
        ++i;
        continue;
      }
      i += 2;
    }
  }

 private:
  void tag(size_t gap, std::string_view text, bool opening) {
    tags_.push_back({gap, text});  // the walk moves forward: tags come in order of gap
    if (opening && text.find('"') != npos) lastOpenGap_ = gap;  // the last with quotes
  }

  bool tagAt(size_t gap) const {
    auto at = std::lower_bound(tags_.begin(), tags_.end(), gap,
                               [](const Insertion& t, size_t g) { return t.gap < g; });
    return at != tags_.end() && at->gap == gap;
  }

  /// The test for the marker at i: the line's first marker of its kind stands in quotes
  /// or in a tag of an earlier pass, or the marker at i stands in such a tag. The walk's
  /// own tags never stand inside another tag (it places them only at markers outside
  /// tags), and each one ends with ">": they change no answer of the tag test.
  bool shielded(size_t first, size_t i) {
    if (!tagIndex_.built()) tagIndex_.build(line_);
    return insideQuotes(first) || tagIndex_.inside(i);
  }

  bool insideQuotes(size_t marker) {
    if (marker == npos) return false;
    if (tagIndex_.inside(marker)) return true;
    if (!quotes_.built()) quotes_.build(line_);
    const size_t e = marker + 2;
    return quotes_.insideWithTags(e, tagAt(e), lastOpenGap_ != npos && lastOpenGap_ >= e);
  }

  /// Where byte `c` next stands at or after `from` (the line's size when nowhere), with
  /// `cached` the last answer for it.
  size_t next(char c, size_t& cached, size_t from) const {
    if (cached != npos && cached >= from) return cached;
    const void* at = std::memchr(line_.data() + from, c, line_.size() - from);
    cached = at ? static_cast<size_t>(static_cast<const char*>(at) - line_.data()) : line_.size();
    return cached;
  }

  std::string_view line_;
  std::vector<Insertion>& tags_;
  size_t firstOpen_;
  size_t firstClose_;
  size_t nextSlash_ = npos;
  size_t nextStar_ = npos;
  size_t lastOpenGap_ = npos;
  QuoteIndex quotes_;
  TagIndex tagIndex_;
};

/// Whether the line holds "/*" or "*/" at all; without them the walk changes nothing.
bool hasBlockMarker(std::string_view line) {
  for (size_t i = line.find('*'); i != npos; i = line.find('*', i + 1))
    if ((i > 0 && line[i - 1] == '/') || (i + 1 < line.size() && line[i + 1] == '/'))
      return true;
  return false;
}

/// Whether an opening tag has the shape the walk relies on: "<...>", no "/", "*" or
/// backslash, its quotes in pairs. The tags of `pageMarkupFor` have it.
bool hasTagShape(std::string_view open) {
  return open.size() >= 2 && open.front() == '<' && open.back() == '>' &&
         open.find_first_of("/*\\") == npos &&
         std::count(open.begin(), open.end(), '"') % 2 == 0;
}

/// The walk done the plain way, each test on the line as edited so far: for an opening
/// tag of another shape.
void walkOneByOne(bool& inBlockComment, std::string& line, size_t lineCommentAt,
                  const std::string& open) {
  size_t i = 0;
  while (i + 1 < line.size()) {
    if (i == lineCommentAt && !inBlockComment) break;
    if (line[i] == '/' && line[i + 1] == '*' && !quillon::insideQuotes(line, "/*") &&
        !insideTag(line, i)) {
      inBlockComment = true;
      line.insert(i, open);
      if (lineCommentAt != npos && lineCommentAt >= i) lineCommentAt += open.size();
      i += open.size() + 2;
    } else if (line[i] == '*' && line[i + 1] == '/' && inBlockComment &&
               !quillon::insideQuotes(line, "*/") && !insideTag(line, i)) {
      inBlockComment = false;
      line.insert(i + 2, fontClose);
      if (lineCommentAt != npos && lineCommentAt >= i + 2) lineCommentAt += fontClose.size();
      i += 2 + fontClose.size();
    } else {
      ++i;
    }
  }
}

struct BlockScratch {
  std::vector<Insertion> tags;
  std::string out;
};

}  // namespace

void colourBlockComments(SourceFileConverter& converter, std::string& line,
                         size_t lineCommentAt) {
  if (line.empty() || converter.language == SourceLanguage::VB) return;
  if (!hasBlockMarker(line)) return;
  if (!hasTagShape(converter.markup.commentOpen)) {
    walkOneByOne(converter.inBlockComment, line, lineCommentAt, converter.markup.commentOpen);
    return;
  }
  BlockScratch& scratch = threadScratch<BlockScratch>();
  BlockWalk(line, scratch.tags).run(converter.inBlockComment, lineCommentAt,
                                    converter.markup.commentOpen);
  if (scratch.tags.empty()) return;
  applyInsertions(line, scratch.tags, scratch.out);
  line.swap(scratch.out);
}

}  // namespace quillon
