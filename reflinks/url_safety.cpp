#include "reflinks/url_safety.h"

#include <algorithm>
#include <iterator>

namespace quillon {

namespace {

constexpr std::string_view codeSchemes[] = {"javascript", "vbscript", "data"};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int digitValue(char c) { return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

bool isSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '+' ||
         c == '-' || c == '.';
}

/// The character a numeric reference at `i` ("&#106;", "&#x6A", the ";" optional) stands
/// for, with `i` moved past it; 0x7F for one beyond ASCII, -1 when there is none.
int numericReference(std::string_view url, size_t& i) {
  size_t p = i + 2;
  const bool hex = p < url.size() && (url[p] == 'x' || url[p] == 'X');
  if (hex) ++p;
  long value = 0;
  const size_t digits = p;
  for (; p < url.size() && (hex ? isHexDigit(url[p]) : isDigit(url[p])); ++p)
    value = std::min(value * (hex ? 16 : 10) + digitValue(url[p]), 0x110000L);
  if (p == digits) return -1;
  i = p < url.size() && url[p] == ';' ? p + 1 : p;
  return value < 0x7F ? static_cast<int>(value) : 0x7F;
}

/// The characters that named references stand for where a scheme could still form.
struct NamedReference {
  std::string_view name;
  char character;
};
constexpr NamedReference namedReferences[] = {
    {"&colon;", ':'}, {"&Tab;", '\t'}, {"&NewLine;", '\n'}, {"&plus;", '+'}, {"&period;", '.'}};

/// The next character of `url` as a browser reads the attribute, with `i` moved past it.
int nextCharacter(std::string_view url, size_t& i) {
  if (url[i] == '&' && url.compare(i, 2, "&#") == 0) {
    const int c = numericReference(url, i);
    if (c >= 0) return c;
  }
  for (const NamedReference& r : namedReferences)
    if (url.compare(i, r.name.size(), r.name) == 0) {
      i += r.name.size();
      return r.character;
    }
  return static_cast<unsigned char>(url[i++]);
}

}  // namespace

bool urlRunsCode(std::string_view url) {
  std::string scheme;
  for (size_t i = 0; i < url.size();) {
    const int c = nextCharacter(url, i);
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (scheme.empty() && c <= ' ') continue;  // leading blanks and control characters
    if (c == ':') return std::count(std::begin(codeSchemes), std::end(codeSchemes), scheme) > 0;
    if (c > 0x7E || !isSchemeChar(static_cast<char>(c)) || scheme.size() > 10) return false;
    scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return false;
}

std::string urlRefusal(std::string_view url) {
  if (url.find(' ') != std::string_view::npos)
    return "holds a blank, which the links file cannot keep (write it as %20)";
  if (std::any_of(url.begin(), url.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
    return "holds a control character, which a browser would drop or misread";
  if (urlRunsCode(url)) return "would run code in the browser (javascript:, vbscript:, data:)";
  return {};
}

std::vector<std::string> removeCodeLinks(ReferenceLinkTable& table) {
  std::vector<std::string> removed;
  for (const ReferenceLink& record : table.links)
    if (urlRunsCode(record.link)) removed.push_back(record.word);
  if (removed.empty()) return removed;
  table.links.erase(std::remove_if(table.links.begin(), table.links.end(),
                                   [](const ReferenceLink& r) { return urlRunsCode(r.link); }),
                    table.links.end());
  table.index.clear();
  for (size_t i = 0; i < table.links.size(); ++i)
    table.index[table.links[i].word] = static_cast<int>(i);
  return removed;
}

}  // namespace quillon
