#pragma once
// Indexes of one line that let the passes answer their per-position tests (in quotes?
// after a comment marker?) without rescanning the line for every word or keyword. Each
// index answers exactly as the plain test (`insideQuotes`, the first-marker searches)
// would on the line it was built from.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// The double quotes of a line that `insideQuotes` counts (those not directly preceded by
/// a backslash), in order.
class QuoteIndex {
 public:
  void build(std::string_view line);
  bool built() const { return built_; }
  void clear() { built_ = false; }

  /// The quote walk of `insideQuotes(line, part, p)` for a part ending at
  /// e = p + part size (the tag test is `TagIndex`'s).
  bool inside(size_t e) const;

  /// The same test on the line after tags were inserted into it, when every inserted tag
  /// begins with "<", ends with ">" and holds an even number of counted quotes, and no tag
  /// stands directly before an original quote that follows a backslash. Tags before e
  /// cancel out; tags at or after e matter only where the original line has run out of
  /// quotes. `tagAtE`: a tag stands directly before the character at e.
  /// `quotedTagAtOrAfterE`: a tag holding quotes stands at or after e.
  bool insideWithTags(size_t e, bool tagAtE, bool quotedTagAtOrAfterE) const;

 private:
  /// The number of counted quotes before position e.
  size_t countBefore(size_t e) const;

  std::vector<size_t> quotes_;
  bool built_ = false;
};

/// The stretches of a line that lie inside the passes' own tags, as `insideTag` finds
/// them: for each "<" that begins one ("<a ", "<font ", "</a>", "</font>"), the positions
/// after it up to its ">" (or up to the next "<", or the line's end, when that comes
/// first).
class TagIndex {
 public:
  void build(std::string_view line);
  bool built() const { return built_; }
  void clear() { built_ = false; }

  /// `insideTag(line, p)`.
  bool inside(size_t p) const;

 private:
  struct Span {
    size_t open;  ///< the "<"
    size_t last;  ///< the last position inside
  };
  std::vector<Span> spans_;
  size_t size_ = 0;
  bool built_ = false;
};

/// The first "//", "/*" and "*/" of a line (npos when absent).
struct CommentMarkers {
  size_t lineComment = std::string_view::npos;
  size_t blockOpen = std::string_view::npos;
  size_t blockClose = std::string_view::npos;

  static CommentMarkers of(std::string_view line);

  /// The keyword and link test: a "//" before p, or p between the first "/*" and the
  /// first "*/" (a line without "*/" never meets the second part).
  bool hideAt(size_t p) const {
    if (lineComment != std::string_view::npos && lineComment < p) return true;
    return blockOpen != std::string_view::npos && blockOpen < p &&
           blockClose != std::string_view::npos && blockClose > p;
  }
};

/// `nextWord` over one state of a line, with the line's markers, quotes and tags looked up
/// once instead of once per word. Rebuild it (`reset`) whenever the line changes.
class WordScanner {
 public:
  void reset(std::string_view line);

  /// As `nextWord`: the word is a view into the line.
  std::string_view next(size_t& pos, bool inBlockComment);

 private:
  std::string_view line_;
  CommentMarkers markers_;
  QuoteIndex quotes_;
  TagIndex tags_;
};

/// A text to insert before the character at `gap` of a line (gap = size: at the end).
struct Insertion {
  size_t gap;
  std::string_view text;
};

/// Builds in `out` the line with every insertion made at once; `insertions` are in
/// ascending order of gap, and those at one gap stand in the order given.
void applyInsertions(std::string_view line, const std::vector<Insertion>& insertions,
                     std::string& out);

}  // namespace quillon
