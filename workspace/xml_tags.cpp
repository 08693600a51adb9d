#include "workspace/xml_tags.h"

#include "engine/converter.h"

namespace quillon {

namespace {

constexpr size_t npos = std::string_view::npos;

}  // namespace

bool isXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmedXml(std::string_view text) {
  while (!text.empty() && isXmlBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isXmlBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isXmlNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '-' || c == '.' || c == ':';
}

std::string xmlText(std::string_view text) {
  static constexpr std::pair<std::string_view, char> entities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    bool decoded = false;
    for (const auto& [entity, c] : entities) {
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size() - 1;
        decoded = true;
        break;
      }
    }
    if (!decoded) out += text[i];
  }
  return out;
}

std::string withoutComments(std::string_view line, bool& inComment) {
  std::string out;
  size_t i = 0;
  while (i < line.size()) {
    if (inComment) {
      size_t end = line.find("-->", i);
      if (end == npos) break;
      inComment = false;
      i = end + 3;
    } else {
      size_t start = line.find("<!--", i);
      out.append(line.substr(i, start == npos ? npos : start - i));
      if (start == npos) break;
      out += ' ';
      inComment = true;
      i = start + 4;
    }
  }
  return out;
}

size_t tagEnd(std::string_view text, size_t open) {
  char quote = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (quote) {
      if (text[i] == quote) quote = 0;
    } else if (text[i] == '"' || text[i] == '\'') {
      quote = text[i];
    } else if (text[i] == '>') {
      return i;
    }
  }
  return npos;
}

std::vector<Attribute> attributesOf(std::string_view tag) {
  std::vector<Attribute> attributes;
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < tag.size() && isXmlBlank(tag[i])) ++i;
  };
  for (;;) {
    skipBlanks();
    const size_t nameStart = i;
    while (i < tag.size() && isXmlNameChar(tag[i])) ++i;
    const std::string_view name = tag.substr(nameStart, i - nameStart);
    skipBlanks();
    if (name.empty() || i >= tag.size() || tag[i] != '=') break;
    ++i;
    skipBlanks();
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) break;
    const size_t end = tag.find(tag[i], i + 1);
    if (end == npos) break;
    attributes.emplace_back(name, tag.substr(i + 1, end - i - 1));
    i = end + 1;
  }
  return attributes;
}

std::string attributeValue(std::string_view tag, std::string_view name) {
  for (const auto& [key, value] : attributesOf(tag))
    if (key == name) return xmlText(value);
  return {};
}

std::string continuedText(TagScanner& scanner, std::string_view line) {
  std::string text = withoutComments(line, scanner.inComment);
  if (scanner.openTag.empty()) return text;
  text = scanner.openTag + ' ' + text;
  scanner.openTag.clear();
  return text;
}

StartTag firstStartTag(const std::string& path) {
  LineReader reader;
  if (!reader.open(path)) return {};
  bool inComment = false;
  StartTag tag;
  std::string line;
  while (reader.readLine(line)) {
    const std::string text = withoutComments(line, inComment);
    if (tag.name.empty()) {
      // Past "<?xml ...?>" and "<!DOCTYPE ...>": the first "<" that a name follows.
      size_t at = text.find('<');
      while (at != npos && (at + 1 >= text.size() || !isXmlNameChar(text[at + 1])))
        at = text.find('<', at + 1);
      if (at == npos) continue;
      size_t nameEnd = at + 1;
      while (nameEnd < text.size() && isXmlNameChar(text[nameEnd])) ++nameEnd;
      tag.name = text.substr(at + 1, nameEnd - at - 1);
      tag.attributes = text.substr(nameEnd);
    } else {
      tag.attributes += ' ' + text;
    }
    const size_t end = tagEnd(tag.attributes, 0);
    if (end != npos) {
      tag.attributes.resize(end);
      return tag;
    }
    if (tag.attributes.size() >= longestOpenTag) return tag;
  }
  return tag;
}

}  // namespace quillon
