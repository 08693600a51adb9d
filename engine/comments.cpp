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

/// Where the next "/" stands at or after `from` (the line's size when nowhere). Both
/// comment markers hold one, and a line has far fewer of them than of "*" (a banner of
/// stars has two), so the markers are looked for by their "/".
size_t nextSlash(std::string_view line, size_t from) {
  if (from >= line.size()) return line.size();
  const void* at = std::memchr(line.data() + from, '/', line.size() - from);
  return at ? static_cast<size_t>(static_cast<const char*>(at) - line.data()) : line.size();
}

/// `line.find("/*", from)`.
size_t findOpen(std::string_view line, size_t from) {
  for (size_t s = nextSlash(line, from); s + 1 < line.size(); s = nextSlash(line, s + 1))
    if (line[s + 1] == '*') return s;
  return npos;
}

/// `line.find("*/", from)`.
size_t findClose(std::string_view line, size_t from) {
  for (size_t s = nextSlash(line, from + 1); s < line.size(); s = nextSlash(line, s + 1))
    if (line[s - 1] == '*') return s - 1;
  return npos;
}
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
      : line_(line), tags_(tags), firstOpen_(findOpen(line, 0)), firstClose_(findClose(line, 0)) {
    tags_.clear();
  }

  void run(bool& inBlockComment, size_t lineCommentAt, std::string_view open) {
    size_t i = 0;
    while (i + 1 < line_.size()) {
      // A marker begins at the next "/" or at the "*" before it; up to there, only the line
      // comment's start can end the walk, so the bytes between are passed over at once.
      const size_t slash = next(i);
      const bool starBefore = slash > i && slash < line_.size() && line_[slash - 1] == '*';
      const size_t at = starBefore ? slash - 1 : slash;
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
        if (firstClose_ + 1 == i) firstClose_ = findClose(line_, i);
      } else if (line_[i] == '*' && line_[i + 1] == '/') {
        // A "*/" with no comment open closes nothing: its "</font>" would end the page's
        // own font early.
        if (!inBlockComment || shielded(firstClose_, i)) {
          ++i;
          continue;
        }
        inBlockComment = false;
        tag(i + 2, fontClose, false);
        if (firstOpen_ == i + 1) firstOpen_ = findOpen(line_, i + 2);
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

  /// `nextSlash` from `from`, remembering the last answer.
  size_t next(size_t from) {
    if (nextSlash_ == npos || nextSlash_ < from) nextSlash_ = nextSlash(line_, from);
    return nextSlash_;
  }

  std::string_view line_;
  std::vector<Insertion>& tags_;
  size_t firstOpen_;
  size_t firstClose_;
  size_t nextSlash_ = npos;
  size_t lastOpenGap_ = npos;
  QuoteIndex quotes_;
  TagIndex tagIndex_;
};

/// Whether the line holds "/*" or "*/" at all; without them the walk changes nothing.
bool hasBlockMarker(std::string_view line) {
  for (size_t s = nextSlash(line, 0); s < line.size(); s = nextSlash(line, s + 1))
    if ((s > 0 && line[s - 1] == '*') || (s + 1 < line.size() && line[s + 1] == '*'))
      return true;
  return false;
}

/// Whether an opening tag has the shape the walk relies on: "<...>", no "/", "*" or
/// backslash, its quotes in pairs. The tags of `pageMarkupFor` have it.
bool hasTagShape(std::string_view open) {
  // One plain loop: this runs for every line with a marker, on a tag of some twenty bytes.
  if (open.size() < 2 || open.front() != '<' || open.back() != '>') return false;
  size_t quotes = 0;
  for (char c : open) {
    if (c == '/' || c == '*' || c == '\\') return false;
    quotes += c == '"';
  }
  return quotes % 2 == 0;
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
