#include "engine/html_text.h"

namespace quillon {

namespace {
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool needsNothing(std::string_view text, std::string_view specials) {
  return text.find_first_of(specials) == std::string_view::npos;
}

/// True when `target` begins with a URL scheme: a letter, then letters, digits, "+", "-"
/// or ".", then ":". A single letter before ":" is a drive letter, not a scheme.
bool beginsWithScheme(std::string_view target) {
  size_t i = 0;
  while (i < target.size() && (target[i] == ' ' || target[i] == '\t')) ++i;
  size_t start = i;
  if (i >= target.size() || !isLetter(target[i])) return false;
  while (i < target.size() && (isLetter(target[i]) || (target[i] >= '0' && target[i] <= '9') ||
                               target[i] == '+' || target[i] == '-' || target[i] == '.'))
    ++i;
  return i < target.size() && target[i] == ':' && i - start > 1;
}
}  // namespace

std::string attributeText(std::string_view text) {
  if (needsNothing(text, "\"<>")) return std::string(text);
  std::string out;
  for (char c : text) {
    switch (c) {
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string relativeLinkTarget(std::string_view target) {
  std::string out = beginsWithScheme(target) ? "./" : "";
  return out + attributeUrl(target);
}

std::string attributeUrl(std::string_view target) {
  if (needsNothing(target, "\"<>")) return std::string(target);
  std::string out;
  for (char c : target) {
    switch (c) {
      case '"': out += "%22"; break;
      case '<': out += "%3C"; break;
      case '>': out += "%3E"; break;
      default: out += c;
    }
  }
  return out;
}

std::string elementText(std::string_view text) {
  if (needsNothing(text, "<>")) return std::string(text);
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string scriptString(std::string_view text) {
  if (needsNothing(text, "\\'\"<>")) return std::string(text);
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\'': out += "\\'"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace quillon
