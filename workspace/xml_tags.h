#pragma once
// The little of XML that the project readers need: start tags and their attributes, read
// line by line, with comments skipped and a tag that runs over several lines put together.
// No document is built and nothing is validated.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

/// A tag's name and its quoted value, as written (entities not decoded).
using Attribute = std::pair<std::string_view, std::string_view>;

/// An open tag may go on over many lines; a longer one is no tag we can use.
inline constexpr size_t longestOpenTag = 1 << 16;

bool isXmlBlank(char c);
std::string_view trimmedXml(std::string_view text);
bool isXmlNameChar(char c);

/// The text of an attribute value or element with the five named entities decoded.
std::string xmlText(std::string_view text);

/// The line without its comments; `inComment` carries an open comment to the next line.
std::string withoutComments(std::string_view line, bool& inComment);

/// Where the tag that opens at `open` ends: its ">" outside quoted values; npos if not here.
size_t tagEnd(std::string_view text, size_t open);

/// The attributes of a start tag, from the text after its name up to its ">". Reading
/// stops at the first thing that is not name="value" or name='value' (blanks allowed
/// around "=").
std::vector<Attribute> attributesOf(std::string_view tag);

/// The decoded value of the attribute `name`; empty when the tag has none.
std::string attributeValue(std::string_view tag, std::string_view name);

/// Reads the start tags of a file line by line.
struct TagScanner {
  bool inComment = false;  ///< inside "<!--" ... "-->" across lines
  std::string openTag;     ///< a wanted start tag that goes on past its line
};

/// The next line's text to scan: its comments removed, after the start tag that the
/// earlier lines left open.
std::string continuedText(TagScanner& scanner, std::string_view line);

/// Calls `take(name, attributeText)` for each start tag of `text` whose name `wanted`
/// accepts. A wanted tag that does not end in `text` is kept for the next line.
template <typename Wanted, typename Take>
void scanStartTags(TagScanner& scanner, std::string_view text, Wanted wanted, Take take) {
  size_t open = 0;
  while ((open = text.find('<', open)) != std::string_view::npos) {
    size_t nameEnd = open + 1;
    while (nameEnd < text.size() && isXmlNameChar(text[nameEnd])) ++nameEnd;
    const std::string_view name = text.substr(open + 1, nameEnd - open - 1);
    if (name.empty() || !wanted(name)) {
      open = nameEnd;
      continue;
    }
    const size_t close = tagEnd(text, nameEnd);
    if (close == std::string_view::npos) {
      if (text.size() - open < longestOpenTag) scanner.openTag = std::string(text.substr(open));
      return;
    }
    take(name, text.substr(nameEnd, close - nameEnd));
    open = close + 1;
  }
}

/// The first element of a file: its name and the text of its start tag after the name.
struct StartTag {
  std::string name;        ///< empty when the file has none (or cannot be read)
  std::string attributes;  ///< up to the tag's ">"
};

/// The first element's start tag of the file `path`, past any declaration and comment.
StartTag firstStartTag(const std::string& path);

}  // namespace quillon
