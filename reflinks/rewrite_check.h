#pragma once
// Whether a reference links file can be rewritten from the records read out of it without
// losing anything it says. The reader is tolerant: it passes over what it does not know
// and merges or drops items it cannot complete, while every save writes the file anew
// from the records. A file is safe to rewrite when it is the links format (the program's
// own layout, or the same tags laid out by hand with any blanks and line breaks between
// them) and the reader takes every item of it exactly as written.
#include <string>
#include <string_view>

#include "reflinks/reference_links.h"

namespace quillon {

/// What a rewrite would lose: where (line 1 up, or 0 for the file as a whole) and what.
struct RewriteLoss {
  int line = 0;
  std::string what;  ///< empty when nothing would be lost
};

/// Checks the file's `text` against `table`, the records the reader made of it. A blank
/// or empty text is an empty table and loses nothing.
RewriteLoss findRewriteLoss(std::string_view text, const ReferenceLinkTable& table);

/// True when `typed`, written as an item line and read back, gives `typed` with its blanks
/// removed. A "]" or "<" in a text, or a non-ASCII byte, makes it read back otherwise.
bool readsBackAsTyped(const ReferenceLink& typed);

}  // namespace quillon
