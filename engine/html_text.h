#pragma once
// Putting text taken from sources and file names into generated markup safely. For the
// names and texts of ordinary sources these change nothing.
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

/// Appends `value` in decimal digits, without a temporary string.
inline void appendDecimal(std::string& out, std::uint64_t value) {
  char digits[20];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<size_t>(end - digits));
}

/// Text for a double-quoted attribute value: `"`, `<` and `>` become entities.
std::string attributeText(std::string_view text);

/// A URL for a double-quoted href: `"`, `<` and `>` are percent-escaped.
std::string attributeUrl(std::string_view url);

/// Text the user gave (the font face) for a double-quoted attribute, read back by the
/// browser exactly as given: as `attributeText`, and every `&` written "&amp;".
std::string exactAttributeText(std::string_view text);

/// A URL the user gave (a reference link's) for a double-quoted href, read back by the
/// browser exactly as given ("?a=1&copy=2" stays that): as `attributeUrl`, and every `&`
/// written "&amp;".
std::string exactAttributeUrl(std::string_view url);

/// A link target built from source text (an include, a class link): as `attributeUrl`,
/// and a target that a browser could read as beginning with a URL scheme (such as
/// "javascript:", also when spelt with character references or control characters) is
/// made relative with "./", so that it can only name a file.
std::string relativeLinkTarget(std::string_view target);

/// A link target that names a file by its (relative) path as written in a source (an
/// include): as `relativeLinkTarget`, and "%", "#" and "?" are percent-escaped first, as a
/// browser would otherwise read them as an escape or the start of a fragment or a query
/// and miss the file ("C#Tools_HTML").
std::string fileLinkTarget(std::string_view path);

/// A link target that names a file the program itself names (a page, a workspace folder,
/// an image): as `fileLinkTarget`, and the bytes beyond ASCII are percent-escaped in the
/// name's UTF-8 form, so the browser finds the file whatever charset the linking page
/// declares, as are control bytes and a "&" that the browser would read as the start of
/// a reference.
std::string fileNameLinkTarget(std::string_view path);

/// The target of a link to `fragment` on the page `page` (a file the program names).
std::string pageLinkTarget(std::string_view page, std::string_view fragment);

/// Text shown between tags: `<` and `>` become entities, and so does a `&` that a browser
/// would take for the start of a character reference (before a letter, digit or `#`).
std::string elementText(std::string_view text);

/// Text for a single-quoted script string inside a double-quoted attribute: a backslash
/// and a single quote are escaped for the script, and so is every control byte ("\x0a");
/// `&`, `"`, `<` and `>` become entities (the attribute is decoded before the script
/// reads it). Other bytes stay as they are.
std::string scriptString(std::string_view text);

}  // namespace quillon
