#include "xref/scan.h"

namespace quillon::xref {

void scanJava(std::string_view, FileScan&) {}

}  // namespace quillon::xref
