#pragma once
// The cross-reference scan of C# and Java: the two languages share their shape (braces,
// namespaces or packages, classes with members, typed declarations), so one recogniser
// reads both, told apart only by their keywords and a few forms.
#include <string_view>

#include "xref/curly_lexer.h"
#include "xref/records.h"

namespace quillon::xref {

/// Appends the records of a C# or Java source text to `scan`.
void scanCurly(std::string_view text, FileScan& scan, CurlyLanguage language);

}  // namespace quillon::xref
