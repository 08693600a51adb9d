#include "tests/support/markup_check.h"

#include <cctype>
#include <vector>

namespace testing_support {

namespace {

bool isHex6(std::string_view s) {
  if (s.size() != 6) return false;
  for (char c : s)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

/// Matches `tag` against `before` VALUE `after`, where VALUE holds no double quote.
bool withValue(std::string_view tag, std::string_view before, std::string_view after,
               std::string_view* value) {
  if (tag.substr(0, before.size()) != before) return false;
  tag.remove_prefix(before.size());
  size_t quote = tag.find('"');
  if (quote == std::string_view::npos) return false;
  *value = tag.substr(0, quote);
  return tag.substr(quote) == after;
}

/// `after` ends in a colour: `prefix` + six hex digits + "\">".
bool endsWithColour(std::string_view rest, std::string_view prefix) {
  return rest.size() == prefix.size() + 8 && rest.substr(0, prefix.size()) == prefix &&
         isHex6(rest.substr(prefix.size(), 6)) && rest.substr(prefix.size() + 6) == "\">";
}

/// The kinds of the program's own tags in a line.
enum class Tag { None, Plain, SourceLink, ReferenceLink };

Tag ownTag(std::string_view tag, std::string_view* href) {
  if (tag == "</font>" || tag == "</a>") return Tag::Plain;
  if (endsWithColour(tag, "<font color=\"#")) return Tag::Plain;
  std::string_view value;
  if (withValue(tag, "<a name=\"", "\">", &value)) return Tag::Plain;
  if (withValue(tag, "<a href=\"", "\">", &value)) {
    *href = value;
    return Tag::SourceLink;  // an include
  }
  if (tag.substr(0, 9) != "<a href=\"") return Tag::None;
  size_t quote = tag.find('"', 9);
  if (quote == std::string_view::npos) return Tag::None;
  *href = tag.substr(9, quote - 9);
  std::string_view rest = tag.substr(quote);
  if (endsWithColour(rest, "\" style=\"text-decoration:none;color:#")) return Tag::SourceLink;
  if (endsWithColour(rest, "\" target=\"_blank\" style=\"text-decoration:none;color:#"))
    return Tag::ReferenceLink;
  return Tag::None;
}

bool fail(std::string* problem, std::string text) {
  if (problem) *problem = std::move(text);
  return false;
}

bool isSchemeChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

}  // namespace

bool mayNameScheme(std::string_view href) {
  if (href.substr(0, 2) == "./") return false;
  // What the browser reads: references decoded, tabs and line breaks gone.
  std::string seen;
  bool unknownReference = false;
  for (size_t i = 0; i < href.size() && !unknownReference; ++i) {
    const char c = href[i];
    if (c == '&') {
      // The program's own entities stand for characters no scheme holds; any other
      // reference might stand for anything, a ":" included.
      if (href.compare(i, 6, "&nbsp;") == 0) {
        seen += '\xA0';
        i += 5;
      } else if (href.compare(i, 3, "&lt") == 0 || href.compare(i, 3, "&gt") == 0) {
        seen += '<';
        i += i + 3 < href.size() && href[i + 3] == ';' ? 3 : 2;
      } else if (href.compare(i, 5, "&amp;") == 0) {
        seen += '&';
        i += 4;
      } else {
        unknownReference = true;
      }
    } else if (c != '\t' && c != '\n' && c != '\r') {
      seen += c;
    }
  }
  size_t i = 0;
  while (i < seen.size() && static_cast<unsigned char>(seen[i]) <= ' ') ++i;
  const size_t start = i;
  if (i < seen.size() && !std::isalpha(static_cast<unsigned char>(seen[i]))) return false;
  while (i < seen.size() && isSchemeChar(seen[i])) ++i;
  if (i == seen.size()) return unknownReference;
  // One letter before ":" is a drive letter; no such scheme runs anything.
  return seen[i] == ':' && i - start > 1;
}

namespace {

/// "&lt" or "&gt" for the bracket at `i`, closed with ";" when the browser would read it on
/// into the source after it as a longer character reference.
std::string angleEntity(std::string_view source, size_t i) {
  static constexpr std::string_view longer[] = {
      "lt;", "ltcc;", "ltcir;", "ltdot;", "lthree;", "ltimes;", "ltlarr;", "ltquest;", "ltrPar;",
      "ltri;", "ltrie;", "ltrif;", "gt;", "gtcc;", "gtcir;", "gtdot;", "gtlPar;", "gtquest;",
      "gtrapprox;", "gtrarr;", "gtrdot;", "gtreqless;", "gtreqqless;", "gtrless;", "gtrsim;"};
  std::string entity = source[i] == '<' ? "lt" : "gt";
  const std::string read = entity + std::string(source.substr(i + 1, 12));
  for (std::string_view name : longer)
    if (read.compare(0, name.size(), name) == 0) return "&" + entity + ";";
  return "&" + entity;
}

/// The escaped form of a source line, with for each byte whether a tag may stand before
/// it (false inside the entities that the escaping writes).
std::string escapeForCheck(std::string_view source, bool utf8Columns,
                           std::vector<bool>* tagMayPrecede) {
  static constexpr std::string_view mark = "\xEF\xBB\xBF";
  size_t bom = source.find(mark);
  if (bom != std::string_view::npos) source.remove_prefix(bom + mark.size());
  std::string out;
  size_t column = 0;
  auto put = [&](std::string_view piece) {
    for (size_t k = 0; k < piece.size(); ++k) tagMayPrecede->push_back(k == 0);
    out += piece;
  };
  for (size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    if (c == '\t') {
      do put("&nbsp;"); while (++column % 4 != 0);
      continue;
    }
    // A "&" that a browser would read as the start of a reference is written "&amp;".
    const bool reference = c == '&' && i + 1 < source.size() &&
                           (std::isalnum(static_cast<unsigned char>(source[i + 1])) ||
                            source[i + 1] == '#');
    if (c == ' ') put("&nbsp;");
    else if (c == '<' || c == '>') put(angleEntity(source, i));
    else if (reference) put("&amp;");
    else put(std::string_view(&c, 1));
    // On a UTF-8 page a character's continuation bytes take no column of their own.
    if (!utf8Columns || (static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
  }
  tagMayPrecede->push_back(true);
  return out;
}

}  // namespace

bool checkConvertedLine(std::string_view converted, std::string_view source,
                        std::string* problem, bool utf8Columns) {
  std::vector<bool> tagMayPrecede;
  const std::string escaped = escapeForCheck(source, utf8Columns, &tagMayPrecede);
  std::string text;
  for (size_t i = 0; i < converted.size();) {
    const char c = converted[i];
    if (c == '>') return fail(problem, "'>' outside a tag at " + std::to_string(i));
    if (c != '<') {
      text += c;
      ++i;
      continue;
    }
    const size_t end = converted.find('>', i);
    if (end == std::string_view::npos) return fail(problem, "unclosed tag at " + std::to_string(i));
    const std::string_view tag = converted.substr(i, end - i + 1);
    std::string_view href;
    const Tag kind = ownTag(tag, &href);
    if (kind == Tag::None) return fail(problem, "foreign tag " + std::string(tag));
    if (kind == Tag::SourceLink && mayNameScheme(href))
      return fail(problem, "link names a scheme: " + std::string(tag));
    if (text.size() < tagMayPrecede.size() && !tagMayPrecede[text.size()])
      return fail(problem, "tag inside an entity: " + std::string(tag));
    i = end + 1;
  }
  if (text != escaped) return fail(problem, "text changed: " + text);
  return true;
}

}  // namespace testing_support
