// Arbitrary bytes as a source of the cross-references, the first byte choosing among C/C++,
// C#, Java and Visual Basic: the scan must get through
// without fault, in time linear in the input, and give records that hold together (each
// name on its line where the record says, links between records within the file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "xref/scan.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const SourceLanguage languages[] = {SourceLanguage::Cpp, SourceLanguage::CSharp,
                                             SourceLanguage::Java, SourceLanguage::VB};
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const xref::FileScan scan = xref::scanSource(text, languages[data[0] % 4]);
  for (const xref::Record& r : scan.records) {
    if (r.name == 0 || r.name >= scan.names.size() || r.scope >= scan.names.size() ||
        r.qualifier >= scan.names.size())
      std::abort();
    if ((r.function != xref::none && r.function >= scan.records.size()) ||
        (r.local != xref::none && r.local >= scan.records.size()))
      std::abort();
    if (scan.lineText(r.line).empty()) std::abort();  // a kept record's line is kept
  }
  for (const xref::BaseOf& b : scan.bases)
    if (b.record >= scan.records.size()) std::abort();
  return 0;
}
