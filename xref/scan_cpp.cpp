#include "xref/scan.h"

namespace quillon::xref {

void scanCpp(std::string_view, FileScan&) {}

}  // namespace quillon::xref
