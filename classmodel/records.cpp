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
  model.nameFilter.clear();
}

namespace {

constexpr size_t filterBits = 1 << 16;

/// FNV-1a: the two filter bits of a word come from two slices of its hash.
uint64_t nameHash(std::string_view word) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : word) h = (h ^ c) * 1099511628211ull;
  return h;
}

}  // namespace

bool mayBeRecordedName(const ClassModel& model, std::string_view word) {
  if (model.nameFilter.empty()) return !model.nameIndex.empty();
  const uint64_t h = nameHash(word);
  const size_t a = h % filterBits, b = (h >> 32) % filterBits;
  return (model.nameFilter[a / 64] >> (a % 64) & 1) && (model.nameFilter[b / 64] >> (b % 64) & 1);
}

void indexClassNames(ClassModel& model) {
  model.nameIndex.clear();
  model.nameFilter.assign(filterBits / 64, 0);
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    const std::vector<ClassRecord>& list = recordsOf(model, kind);
    for (size_t i = 0; i < list.size(); ++i)
      model.nameIndex[list[i].name].push_back({kind, i});
  }
  for (const auto& [name, entries] : model.nameIndex) {
    const uint64_t h = nameHash(name);
    const size_t a = h % filterBits, b = (h >> 32) % filterBits;
    model.nameFilter[a / 64] |= uint64_t{1} << (a % 64);
    model.nameFilter[b / 64] |= uint64_t{1} << (b % 64);
  }
}

}  // namespace quillon
