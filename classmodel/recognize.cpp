#include "classmodel/recognize.h"

namespace quillon {

void recognizeClass(SourceFileConverter&, std::string&, bool) {}
void recognizeStruct(SourceFileConverter&, std::string&, bool) {}
void recognizeEnum(SourceFileConverter&, std::string&, bool) {}

}  // namespace quillon
