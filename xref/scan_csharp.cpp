#include "xref/scan.h"

namespace quillon::xref {

void scanCSharp(std::string_view, FileScan&) {}

}  // namespace quillon::xref
