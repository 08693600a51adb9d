// Arbitrary bytes as a ReferenceLinks.xml file; every record read must be well formed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "reflinks/reference_links.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReferenceLinkTable table;
  parseReferenceLinks(table, std::string_view(reinterpret_cast<const char*>(data), size));
  for (const auto& [word, position] : table.index) {
    if (position < 0 || static_cast<size_t>(position) >= table.links.size()) std::abort();
    if (table.links[static_cast<size_t>(position)].word != word) std::abort();
  }
  for (const ReferenceLink& link : table.links) {
    if (link.word.find(' ') != std::string::npos || link.link.find(' ') != std::string::npos)
      std::abort();
    (void)formatItemLine(link);
  }
  return 0;
}
