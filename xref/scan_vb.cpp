#include "xref/scan.h"

namespace quillon::xref {

void scanVisualBasic(std::string_view, FileScan&) {}

}  // namespace quillon::xref
