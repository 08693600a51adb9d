#include "engine/html_text.h"

#include <algorithm>

#include "engine/escape.h"
#include "platform/platform.h"

namespace quillon {

namespace {
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool needsNothing(std::string_view text, std::string_view specials) {
  return text.find_first_of(specials) == std::string_view::npos;
}

bool isSchemeChar(char c) {
  return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

/// The escaping's own entities: each stands for a character that no scheme holds.
bool startsOwnEntity(std::string_view text) {
  return text.substr(0, 6) == "&nbsp;" || text.substr(0, 3) == "&lt" ||
         text.substr(0, 3) == "&gt" || text.substr(0, 5) == "&amp;";
}

/// True when a browser could read `target` as beginning with a URL scheme: it drops
/// leading blanks and control characters and ignores tabs and line breaks anywhere, then
/// takes a letter, letters, digits, "+", "-" or ".", and ":" for a scheme. A character
/// reference ("&colon;", "&#58;", "&Tab;") where a scheme could still be forming might
/// stand for any of these, so it counts as one. A single letter before ":" is a drive
/// letter, not a scheme.
bool mayBeginWithScheme(std::string_view target) {
  size_t length = 0;  // scheme characters seen
  for (size_t i = 0; i < target.size(); ++i) {
    const char c = target[i];
    if (c == '&') return !startsOwnEntity(target.substr(i));
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (length == 0 && static_cast<unsigned char>(c) <= ' ') continue;
    if (c == ':') return length > 1;
    if (length == 0 ? !isLetter(c) : !isSchemeChar(c)) return false;
    ++length;
  }
  return false;
}

/// Percent-escapes "%", "#" and "?", and for a name of the program's own (`ownName`:
/// plain bytes, no escaped text) every byte from 0x80 up, the control bytes (a browser
/// drops tabs and line breaks from a URL) and every "&" that would begin a character
/// reference (the browser decodes it before it reads the URL).
std::string escapeInFileName(std::string_view path, bool ownName) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string escaped;
  for (size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    const auto b = static_cast<unsigned char>(c);
    const bool reference = c == '&' && escaping::ampersandSize(path, i) > 1;
    if (c == '%' || c == '#' || c == '?' || (ownName && (b >= 0x80 || b < 0x20 || reference))) {
      escaped += '%';
      escaped += hex[b >> 4];
      escaped += hex[b & 15];
    } else {
      escaped += c;
    }
  }
  return escaped;
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

namespace {
std::string ampersandsEscaped(std::string_view given) {
  std::string text(given);
  for (size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 5))
    text.replace(at, 1, "&amp;");
  return text;
}
}  // namespace

std::string exactAttributeText(std::string_view text) {
  return attributeText(ampersandsEscaped(text));
}

std::string exactAttributeUrl(std::string_view url) { return attributeUrl(ampersandsEscaped(url)); }

std::string relativeLinkTarget(std::string_view target) {
  std::string out = mayBeginWithScheme(target) ? "./" : "";
  return out + attributeUrl(target);
}

std::string fileLinkTarget(std::string_view path) {
  return relativeLinkTarget(escapeInFileName(path, false));
}

std::string fileNameLinkTarget(std::string_view path) {
  // Most names are printable ASCII that nothing escapes and no scheme could begin ("%",
  // "#", "?", "&", ":" and the attribute's specials aside): they are their own target.
  if (std::all_of(path.begin(), path.end(), [](char c) {
        return c >= 0x20 && c < 0x7F && c != '%' && c != '#' && c != '?' && c != '&' &&
               c != ':' && c != '"' && c != '<' && c != '>';
      }))
    return std::string(path);
  return relativeLinkTarget(escapeInFileName(platform::fileNameAsUtf8(path), true));
}

std::string pageLinkTarget(std::string_view page, std::string_view fragment) {
  return fileNameLinkTarget(page) + "#" + attributeUrl(fragment);
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
  if (needsNothing(text, "<>&")) return std::string(text);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&':
        // Only where a browser would take it for a character reference.
        out += escaping::ampersandSize(text, i) > 1 ? "&amp;" : "&";
        break;
      default: out += text[i];
    }
  }
  return out;
}

std::string scriptString(std::string_view text) {
  const bool control = std::any_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  if (!control && needsNothing(text, "\\'\"<>&")) return std::string(text);
  static constexpr char hex[] = "0123456789abcdef";
  std::string out;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    // A raw line break ends the script's string; every control byte is written as an escape.
    if (b < 0x20 || b == 0x7F) {
      out += "\\x";
      out += hex[b >> 4];
      out += hex[b & 15];
      continue;
    }
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\'': out += "\\'"; break;
      // The attribute is decoded before the script runs: "&#39;" would end the string.
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace quillon
