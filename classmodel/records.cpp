#include "classmodel/records.h"

#include <array>

namespace quillon {

const char* memberIcon(bool isFunction, bool isPublic) {
  return isFunction ? (isPublic ? "functionicon_public.gif" : "functionicon_private.gif")
                    : (isPublic ? "membericon_public.gif" : "membericon_private.gif");
}

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

/// The two filter bits of a word: two slices of its FNV-1a hash.
std::array<size_t, 2> filterBitsOf(std::string_view word) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : word) h = (h ^ c) * 1099511628211ull;
  return {h % filterBits, (h >> 32) % filterBits};
}

}  // namespace

bool mayBeRecordedName(const ClassModel& model, std::string_view word) {
  if (model.nameFilter.empty()) return !model.nameIndex.empty();
  for (size_t bit : filterBitsOf(word))
    if (!(model.nameFilter[bit / 64] >> (bit % 64) & 1)) return false;
  return true;
}

void indexClassNames(ClassModel& model) {
  model.nameIndex.clear();
  model.nameFilter.assign(filterBits / 64, 0);
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    const std::vector<ClassRecord>& list = recordsOf(model, kind);
    for (size_t i = 0; i < list.size(); ++i)
      model.nameIndex[list[i].name].push_back({kind, i});
  }
  for (const auto& entry : model.nameIndex)
    for (size_t bit : filterBitsOf(entry.first))
      model.nameFilter[bit / 64] |= uint64_t{1} << (bit % 64);
}

}  // namespace quillon
