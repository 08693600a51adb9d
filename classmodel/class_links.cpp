#include "classmodel/class_links.h"

namespace quillon {

void linkClassNames(const SourceFileConverter&, std::string&) {}

}  // namespace quillon
