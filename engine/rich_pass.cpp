// The rich pass walks the line once, from the first byte to the last. A "<" always begins
// one of the earlier passes' tags (escaping turned every "<" of the source into "&lt"),
// so the walk tells the source text from the tags, and from the tags what encloses each
// character: a comment (a font tag directly followed by the comment's marker, as the
// comment passes place theirs: no keyword begins with "/" or "'"), a keyword (any other
// font tag), a link or an anchor. Its own font tags wrap runs of source text and never
// hold a tag: each is closed before the next tag and opened again after it, so they nest
// in whatever the earlier passes built. The edits are collected and the line built once.
#include "engine/rich_pass.h"

#include <cstring>
#include <vector>

#include "engine/converter.h"
#include "engine/escape.h"
#include "engine/literal_lexer.h"
#include "engine/placed_names.h"
#include "engine/text_tests.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {

constexpr std::string_view fontClose = "</font>";

/// An element that a tag of an earlier pass opened.
enum class Element : uint8_t { Comment, Keyword, DroppedKeyword, Link, Anchor };

/// A change to the line: `erase` bytes from `at` replaced by `text`.
struct Edit {
  size_t at;
  size_t erase;
  std::string_view text;
};

struct RichScratch {
  std::vector<Element> open;
  std::vector<Edit> edits;
  std::string out;
};

class RichSweep {
 public:
  RichSweep(SourceFileConverter& converter, std::string_view line, RichScratch& scratch,
            bool startsInComment)
      : line_(line),
        markup_(converter.markup),
        visualBasic_(converter.language == SourceLanguage::VB),
        lexer_(line, converter.language, converter.literals),
        open_(scratch.open),
        edits_(scratch.edits) {
    open_.clear();
    edits_.clear();
    if (startsInComment) {
      open_.push_back(Element::Comment);  // its tag stands on an earlier line
      comments_ = 1;
    }
  }

  /// False when a tag is cut off (the line is then left alone).
  bool run() {
    for (size_t i = 0; i < line_.size();) {
      if (comments_ > 0 && line_[i] != '<') {
        // A comment's text is not read: on to its next tag.
        const void* tag = std::memchr(line_.data() + i, '<', line_.size() - i);
        i = tag ? static_cast<size_t>(static_cast<const char*>(tag) - line_.data()) : line_.size();
        last_ = 0;
        continue;
      }
      if (line_[i] != '<') {
        LiteralColour colour;
        const size_t end = lexer_.skipPlain(i, &colour);
        if (end > i) {
          paint(i, shown(colour));
          last_ = line_[end - 1];  // (a backslash is never part of an entity)
          i = end;
          continue;
        }
      }
      if (line_[i] == '<') {
        const size_t end = line_.find('>', i);
        if (end == npos) return false;
        onTag(i, end + 1);
        i = end + 1;
        continue;
      }
      size_t size;
      const char c = sourceCharAt(line_, i, &size);
      onText(c, i, i + size);
      i += size;
    }
    paint(line_.size(), LiteralColour::None);
    lexer_.endLine(last_);
    return true;
  }

 private:
  void onText(char c, size_t i, size_t next) {
    last_ = c;
    LiteralColour colour = lexer_.step(c, i, next);
    if (lexer_.takePrefix()) {
      // Its letters were read as an identifier, uncoloured and untagged since it began.
      paint(lexer_.prefixGap(), LiteralColour::String);
    }
    paint(i, shown(colour));
  }

  /// The colour the text takes: links keep their look; keywords keep their colour but
  /// inside a literal, where their tags are dropped.
  LiteralColour shown(LiteralColour colour) const {
    return links_ > 0 || (keywords_ > 0 && colour != LiteralColour::String) ? LiteralColour::None
                                                                             : colour;
  }

  void onTag(size_t i, size_t end) {
    // The passes' tags are "<a ...>", "</a>", "<font ...>" and "</font>": the second
    // byte, or the third of a closing tag, tells them apart.
    lexer_.tag();
    const bool closing = line_[i + 1] == '/';
    const bool font = line_[i + (closing ? 2 : 1)] == 'f';
    if (closing) {
      if (!font) paint(i, LiteralColour::None);
      closeElement(i, end, !font);
      return;
    }
    if (font && startsComment(end)) {
      paint(i, LiteralColour::None);
      open_.push_back(Element::Comment);
      ++comments_;
    } else if (font) {
      if (comments_ == 0 && lexer_.inLiteral()) {
        edits_.push_back({i, end - i, {}});
        open_.push_back(Element::DroppedKeyword);
        return;
      }
      paint(i, LiteralColour::None);
      open_.push_back(Element::Keyword);
      ++keywords_;
    } else {
      paint(i, LiteralColour::None);
      const bool link = opensLinkOrPlacedAnchor(line_, i);
      open_.push_back(link ? Element::Link : Element::Anchor);
      links_ += link;
    }
  }

  /// The comment passes put their tag directly before the comment's marker.
  bool startsComment(size_t at) const {
    if (at >= line_.size()) return false;
    if (visualBasic_) return line_[at] == '\'';
    return line_[at] == '/' && at + 1 < line_.size() && (line_[at + 1] == '/' || line_[at + 1] == '*');
  }

  /// A closing tag closes the innermost element of its kind (fonts or anchors).
  void closeElement(size_t i, size_t end, bool anchor) {
    for (size_t k = open_.size(); k-- > 0;) {
      const Element e = open_[k];
      const bool isAnchor = e == Element::Link || e == Element::Anchor;
      if (isAnchor != anchor) continue;
      if (e == Element::DroppedKeyword) {
        edits_.push_back({i, end - i, {}});
      } else {
        if (!anchor) paint(i, LiteralColour::None);
        comments_ -= e == Element::Comment;
        keywords_ -= e == Element::Keyword;
        links_ -= e == Element::Link;
      }
      open_.erase(open_.begin() + static_cast<long>(k));
      return;
    }
    paint(i, LiteralColour::None);
  }

  /// From `gap` on, the text takes `colour`: the open tag is closed and another opened.
  void paint(size_t gap, LiteralColour colour) {
    if (colour == painted_) return;
    if (painted_ != LiteralColour::None) edits_.push_back({gap, 0, fontClose});
    if (colour != LiteralColour::None) edits_.push_back({gap, 0, openTag(colour)});
    painted_ = colour;
  }

  std::string_view openTag(LiteralColour colour) const {
    return colour == LiteralColour::String   ? markup_.stringOpen
           : colour == LiteralColour::Number ? markup_.numberOpen
                                             : markup_.preprocessorOpen;
  }

  std::string_view line_;
  const PageMarkup& markup_;
  bool visualBasic_;
  LiteralLexer lexer_;
  std::vector<Element>& open_;
  std::vector<Edit>& edits_;
  int comments_ = 0, keywords_ = 0, links_ = 0;
  LiteralColour painted_ = LiteralColour::None;
  char last_ = 0;
};

void applyEdits(const std::string& line, const std::vector<Edit>& edits, std::string& out) {
  out.clear();
  size_t from = 0;
  for (const Edit& e : edits) {
    out.append(line, from, e.at - from);
    out += e.text;
    from = e.at + e.erase;
  }
  out.append(line, from, std::string::npos);
}

}  // namespace

bool mayHoldLiteral(unsigned holds, SourceLanguage language) {
  unsigned wanted = holdsQuote | holdsDigit;
  if (language != SourceLanguage::Java) wanted |= holdsHash;
  wanted |= language == SourceLanguage::VB ? holdsAmpersand : holdsApostrophe;
  return (holds & wanted) != 0;
}

bool sourceMayHoldLiteral(std::string_view source, SourceLanguage language) {
  const bool vb = language == SourceLanguage::VB, java = language == SourceLanguage::Java;
  bool afterName = false;
  for (size_t i = 0; i < source.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(source[i]);
    if (c >= '0' && c <= '9') {
      if (!afterName) return true;
      continue;
    }
    const bool name = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80 ||
                      (c == '$' && java);
    if (name) {
      afterName = true;
      continue;
    }
    afterName = false;
    if (c == '"' || (c == '#' && !java) || (vb ? c == '&' : c == '\'')) return true;
    if (vb ? c == '\'' : c == '/' && i + 1 < source.size() && source[i + 1] == '/') return false;
  }
  return false;
}

void colourLiterals(SourceFileConverter& converter, std::string& line, bool startsInComment) {
  // A line that lies wholly in a block comment holds no tag of its own.
  if (startsInComment && converter.inBlockComment && line.find('<') == npos) return;
  RichScratch& scratch = threadScratch<RichScratch>();
  RichSweep sweep(converter, line, scratch, startsInComment);
  if (!sweep.run() || scratch.edits.empty()) return;
  applyEdits(line, scratch.edits, scratch.out);
  line.swap(scratch.out);
}

}  // namespace quillon
