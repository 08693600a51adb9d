#pragma once
// Putting text taken from sources and file names into generated markup safely. For the
// names and texts of ordinary sources these change nothing.
#include <string>
#include <string_view>

namespace quillon {

/// Text for a double-quoted attribute value: `"`, `<` and `>` become entities.
std::string attributeText(std::string_view text);

/// A URL for a double-quoted href: `"`, `<` and `>` are percent-escaped.
std::string attributeUrl(std::string_view url);

/// A link target built from source text (an include, a class link): as `attributeUrl`,
/// and a target that a browser could read as beginning with a URL scheme (such as
/// "javascript:", also when spelt with character references or control characters) is
/// made relative with "./", so that it can only name a file.
std::string relativeLinkTarget(std::string_view target);

/// Text shown between tags: `<` and `>` become entities.
std::string elementText(std::string_view text);

/// Text for a single-quoted script string inside a double-quoted attribute: a backslash
/// and a single quote are escaped for the script, `&`, `"`, `<` and `>` become entities
/// (the attribute is decoded before the script reads it).
std::string scriptString(std::string_view text);

}  // namespace quillon
