#include "classmodel/preprocess.h"

#include "classmodel/records.h"
#include "engine/converter.h"

namespace quillon {

void preprocessClassTree(SourceFileConverter& converter) {
  clearClassModel(converter.context.classModel);
  addProgressLine(converter.context.run, "Preprocessing class-tree data...");
}

void sortClassRecords(ClassModel&) {}

}  // namespace quillon
