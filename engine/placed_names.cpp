#include "engine/placed_names.h"

#include <algorithm>

#include "engine/converter.h"
#include "engine/line_index.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {

/// The length of what stands at `at` (a "&"): a character reference of the escaping, or
/// the "&" alone.
size_t referenceLength(std::string_view line, size_t at) {
  for (std::string_view ref : {std::string_view("&nbsp;"), std::string_view("&amp;")})
    if (line.compare(at, ref.size(), ref) == 0) return ref.size();
  if (line.compare(at, 3, "&lt") == 0 || line.compare(at, 3, "&gt") == 0) return 3;
  return 1;
}

/// Appends `value` (an attribute value as written) to `out`, without quotes when it needs
/// none: the anchors and most links of a page are letters, digits and a few marks.
void appendAttributeValue(std::string& out, std::string_view value) {
  const bool bare = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '.' || c == '_' || c == '~' || c == '#' || c == '+' || c == '%' || c == '-';
  });
  if (!bare) out += '"';
  out += value;
  if (!bare) out += '"';
}

/// How often each placed name of the line has been met so far.
struct Met {
  std::string_view name;
  std::uint32_t count = 0;
};

struct PlacedScratch {
  std::vector<Met> met;
  std::string opens;  ///< the opening tags of the line's links, one after another
  std::vector<size_t> openEnds;  ///< where each ends in `opens`
  std::vector<Insertion> insertions;
  std::vector<std::pair<size_t, size_t>> spans;  ///< (placed name, where it starts), in order
  std::string out;
};

}  // namespace

void linkPlacedNames(SourceFileConverter& converter, std::string& line) {
  PagePlacedNames* placed = converter.placedNames;
  if (!placed) return;
  const std::vector<PlacedName>& names = placed->names;
  const size_t number = converter.input.lineNumber();
  size_t& first = placed->next;
  while (first < names.size() && names[first].line < number) ++first;
  size_t end = first;
  while (end < names.size() && names[end].line == number) ++end;
  if (end == first) return;

  PlacedScratch& scratch = threadScratch<PlacedScratch>();
  scratch.met.clear();
  for (size_t k = first; k < end; ++k)
    if (std::none_of(scratch.met.begin(), scratch.met.end(),
                     [&](const Met& m) { return m.name == names[k].name; }))
      scratch.met.push_back({names[k].name, 0});
  scratch.opens.clear();
  scratch.openEnds.clear();
  scratch.insertions.clear();
  std::vector<std::pair<size_t, size_t>>& spans = scratch.spans;
  spans.clear();
  int insideLink = 0;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == '<') {
      const size_t close = line.find('>', i);
      if (close == std::string::npos) break;
      if (line.compare(i, 3, "<a ") == 0) ++insideLink;
      if (line.compare(i, 4, "</a>") == 0 && insideLink > 0) --insideLink;
      i = close + 1;
      continue;
    }
    if (c == '&') {
      i += referenceLength(line, i);
      continue;
    }
    if (!isPlacedNameByte(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < line.size() && isPlacedNameByte(static_cast<unsigned char>(line[j]))) ++j;
    const std::string_view word(line.data() + i, j - i);
    for (Met& m : scratch.met) {
      if (m.name != word) continue;
      const std::uint32_t ordinal = m.count++;
      if (insideLink > 0) break;
      // One link an occurrence, whatever the placed names repeat.
      for (size_t k = first; k < end; ++k)
        if (names[k].ordinal == ordinal && names[k].name == word) {
          spans.push_back({k, i});
          break;
        }
      break;
    }
    i = j;
  }
  if (spans.empty()) return;
  std::string& opens = scratch.opens;
  for (const auto& [k, start] : spans) {
    const PlacedName& name = names[k];
    // A definition's own place is its anchor alone (its script opens its uses); a use is a
    // link. The page's head styles both as the text around them: a page of many names
    // stays small.
    opens += name.anchor.empty() ? "<a href=" : "<a name=";
    appendAttributeValue(opens, name.anchor.empty() ? name.href : name.anchor);
    opens += '>';
    scratch.openEnds.push_back(opens.size());
  }
  // The views are taken once all the tags are written: `opens` no longer moves.
  for (size_t s = 0, from = 0; s < spans.size(); from = scratch.openEnds[s++]) {
    const size_t start = spans[s].second;
    scratch.insertions.push_back({start, std::string_view(opens).substr(from, scratch.openEnds[s] - from)});
    scratch.insertions.push_back({start + names[spans[s].first].name.size(), "</a>"});
  }
  applyInsertions(line, scratch.insertions, scratch.out);
  line.swap(scratch.out);
}

}  // namespace quillon
