// Arbitrary bytes as a ReferenceLinks.xml file; every record read must be well formed, and
// a file that the rewrite check passes must come back from a rewrite as the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "reflinks/reference_links.h"
#include "reflinks/rewrite_check.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReferenceLinkTable table;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  parseReferenceLinks(table, text);
  for (const auto& [word, position] : table.index) {
    if (position < 0 || static_cast<size_t>(position) >= table.links.size()) std::abort();
    if (table.links[static_cast<size_t>(position)].word != word) std::abort();
  }
  for (const ReferenceLink& link : table.links) {
    if (link.word.find(' ') != std::string::npos || link.link.find(' ') != std::string::npos)
      std::abort();
    (void)formatItemLine(link);
  }
  if (!findRewriteLoss(text, table).what.empty()) return 0;
  std::string rewritten = "<referenceLinks>\n";
  for (const ReferenceLink& link : table.links) rewritten += formatItemLine(link) + "\n";
  rewritten += "</referenceLinks>\n";
  ReferenceLinkTable back;
  parseReferenceLinks(back, rewritten);
  if (back.links.size() != table.links.size()) std::abort();
  for (size_t i = 0; i < back.links.size(); ++i) {
    const ReferenceLink& a = table.links[i];
    const ReferenceLink& b = back.links[i];
    if (a.word != b.word || a.link != b.link || a.cpp != b.cpp || a.csharp != b.csharp ||
        a.java != b.java || a.vb != b.vb || a.all != b.all)
      std::abort();
  }
  if (!findRewriteLoss(rewritten, back).what.empty()) std::abort();
  return 0;
}
