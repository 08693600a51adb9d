#include "xref/scan.h"
#include "xref/scan_curly.h"

namespace quillon::xref {

void scanJava(std::string_view text, FileScan& scan) { scanCurly(text, scan, CurlyLanguage::Java); }

}  // namespace quillon::xref
