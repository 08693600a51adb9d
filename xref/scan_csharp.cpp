#include "xref/scan.h"
#include "xref/scan_curly.h"

namespace quillon::xref {

void scanCSharp(std::string_view text, FileScan& scan) { scanCurly(text, scan, CurlyLanguage::CSharp); }

}  // namespace quillon::xref
