#pragma once
// Which URLs a reference link may carry. A table can come from anywhere (a cloned
// repository can hold a ReferenceLinks.xml), and its URLs become links in every page, so a
// URL whose scheme makes the browser run code is never put into a page.
#include <string>
#include <string_view>
#include <vector>

#include "reflinks/reference_links.h"

namespace quillon {

/// True when a browser could take `url`, written into an href, for one whose scheme runs
/// code: "javascript:", "vbscript:" or "data:", in any letter case, also when blanks or
/// control characters come first, tabs or line breaks stand inside (a browser drops them),
/// or character references ("&#106;", "&colon;", "&Tab;") spell any part up to the colon.
bool urlRunsCode(std::string_view url);

/// Why `links add` refuses `url`, or empty when it may be added: a blank or a control
/// character (the file cannot keep a blank, and a browser drops the others), or a scheme
/// that runs code.
std::string urlRefusal(std::string_view url);

/// Takes the records whose URLs run code out of `table` (the index then points at the
/// last remaining record of each word) and returns their words, in file order.
std::vector<std::string> removeCodeLinks(ReferenceLinkTable& table);

}  // namespace quillon
