#pragma once
// Names of a page placed by an analysis of the whole workspace (the cross-references):
// each says which occurrence of a name on which line leads where. The line pass links
// them; it knows nothing of how they were found.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct SourceFileConverter;

/// One name of a page that leads somewhere: the `ordinal`-th whole identifier `name` of
/// line `line` (identifiers as `isPlacedNameByte` makes them, counted on the source line).
struct PlacedName {
  std::uint32_t line = 0;
  std::uint32_t ordinal = 0;
  // The texts are views: of the analysis' names, and of `PagePlacedNames::texts`, which
  // outlive the page's conversion.
  std::string_view name;
  std::string_view href;    ///< where it leads, as an attribute value
  std::string_view anchor;  ///< the anchor it carries (a definition's own place); empty: none
};

/// The placed names of one page, by line and then ordinal, and how far its lines have got.
struct PagePlacedNames {
  std::vector<PlacedName> names;
  /// Texts made for this page that its names view (a deque: they stay where they are).
  std::deque<std::string> texts;
  /// Lines for the page's head (the links' style, the script that serves them); empty: none.
  std::string headLine;
  size_t next = 0;
};

/// The bytes of the identifiers that placed names count: ASCII letters and digits, "_",
/// "$", and every byte from 0x80 up.
inline bool isPlacedNameByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '$' || c >= 0x80;
}

/// Links the placed names of the line just read (the converter's input's line number) in
/// `line`, escaped and with the links of the earlier passes: a name inside a link already
/// there is counted but not linked again; tags and character references are passed over.
/// A use becomes a link, `<a href=#x12.5>`, a definition's own place its anchor,
/// `<a name=x12.5>` (quoted only where the value needs it); the page's head line styles them.
void linkPlacedNames(SourceFileConverter& converter, std::string& line);

/// Whether the tag at `at` of a converted line opens a link ("<a href=") or a placed
/// definition's own anchor ("<a name=" without a quote, which no other pass writes): the
/// later passes treat both alike, as they treat a link.
inline bool opensLinkOrPlacedAnchor(std::string_view line, size_t at) {
  if (line.compare(at, 8, "<a href=") == 0) return true;
  return line.compare(at, 8, "<a name=") == 0 && at + 8 < line.size() && line[at + 8] != '"';
}

}  // namespace quillon
