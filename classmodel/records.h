#pragma once
// The classes, structs and enums gathered from a workspace's files, with their members.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

/// Longest declared name and member text that a record keeps; longer ones are cut.
inline constexpr size_t maxRecordNameLength = 254;
inline constexpr size_t maxMemberTextLength = 499;

/// The tree icon of a member: functionicon_public.gif, functionicon_private.gif,
/// membericon_public.gif or membericon_private.gif.
const char* memberIcon(bool isFunction, bool isPublic);

struct MemberRecord {
  std::string text;  ///< the member as cut from its source line(s)
  std::string icon;  ///< memberIcon(isFunction, isPublic)
  bool isFunction = false;
  bool isPublic = false;
  /// The line of its file where the member's text starts, counted as its page numbers
  /// them (from 1; 0 when not known).
  size_t line = 0;
};

struct ClassRecord {
  std::string name;  ///< the declared name exactly as written (":" or ";" included)
  std::string link;  ///< page + "#" + name
  std::string page;  ///< the page of the declaring file
  std::vector<MemberRecord> members;
};

enum class RecordKind { Class, Struct, Enum };

/// The three record lists. They are emptied at the start of each class-tree
/// preprocessing and otherwise keep their content, so a later single-file conversion
/// still links the names recorded by the last workspace run.
struct ClassModel {
  std::vector<ClassRecord> classRecords;
  std::vector<ClassRecord> structRecords;
  std::vector<ClassRecord> enumRecords;

  /// For each recorded name, its records in linking order (classes, structs, enums,
  /// each in list order). Rebuilt by `indexClassNames` after the lists change.
  struct NameEntry {
    RecordKind kind;
    size_t position;
  };
  std::unordered_map<std::string, std::vector<NameEntry>> nameIndex;
  /// Two bits per recorded name, set by hashes of the name: a word with either bit clear
  /// is certainly not in the index, which most words of a page are not. Small enough to
  /// stay in the processor's cache, unlike the index.
  std::vector<uint64_t> nameFilter;
};

/// False when `word` is certainly not a recorded name; true when it may be one.
bool mayBeRecordedName(const ClassModel& model, std::string_view word);

std::vector<ClassRecord>& recordsOf(ClassModel& model, RecordKind kind);
const std::vector<ClassRecord>& recordsOf(const ClassModel& model, RecordKind kind);

/// Empties the three lists and the index.
void clearClassModel(ClassModel& model);

/// Rebuilds the name index from the three lists.
void indexClassNames(ClassModel& model);

}  // namespace quillon
