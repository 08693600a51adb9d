#include "classmodel/records.h"

namespace quillon {

std::vector<ClassRecord>& recordsOf(ClassModel& model, RecordKind kind) {
  switch (kind) {
    case RecordKind::Struct: return model.structRecords;
    case RecordKind::Enum: return model.enumRecords;
    case RecordKind::Class: break;
  }
  return model.classRecords;
}

const std::vector<ClassRecord>& recordsOf(const ClassModel& model, RecordKind kind) {
  return recordsOf(const_cast<ClassModel&>(model), kind);
}

void clearClassModel(ClassModel& model) {
  model.classRecords.clear();
  model.structRecords.clear();
  model.enumRecords.clear();
  model.nameIndex.clear();
}

void indexClassNames(ClassModel& model) {
  model.nameIndex.clear();
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    const std::vector<ClassRecord>& list = recordsOf(model, kind);
    for (size_t i = 0; i < list.size(); ++i)
      model.nameIndex[list[i].name].push_back({kind, i});
  }
}

}  // namespace quillon
