#pragma once
// The manifest of a workspace made with incremental runs, as text: lines of fields, a
// heading with its format's number, the pages with what each depends on, then the
// gathered files each followed by the lines of its records and their members.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classmodel/preprocess.h"
#include "platform/platform.h"

namespace quillon {

/// What the manifest keeps of one page.
struct ManifestPage {
  std::string page;   ///< its file name
  std::string entry;  ///< its source, as the project lists it
  platform::FileStamp stamp;
  std::uint64_t hash = 0;  ///< of the source's bytes; 0: not read
  std::uint64_t key = 0;   ///< of all the page depends on; 0: the page is not current
  /// The names its includes looked up and the page each led to ("" none).
  std::vector<std::pair<std::string, std::string>> includes;
};

/// What the manifest keeps of one file whose classes were gathered.
struct ManifestGathered {
  std::string entry;  ///< as the project lists it
  std::string page;   ///< its page, which its records link to
  platform::FileStamp stamp;
  std::uint64_t hash = 0;
  GatheredFile records;
  /// In a manifest read: the lines of its records there, which a manifest written from
  /// the same records repeats. Their members are not read into `records` (see
  /// `readMembers`).
  std::string_view recordsText;
};

struct Manifest {
  std::uint64_t options = 0;
  std::uint64_t trees = 0;  ///< the key of the tree pages and search index; 0: not written
  bool utf8Trees = false;   ///< the tree pages declared UTF-8
  std::vector<ManifestPage> pages;
  std::vector<ManifestGathered> gathered;  ///< in the order gathering read them
};

/// The manifest's text, lines ended by "\n".
std::string manifestText(const Manifest& manifest);
/// Appends the lines of a gathered file, `file` with the records `records` (or the lines
/// of `file.recordsText`, when it has them).
void appendGatheredText(std::string& out, const ManifestGathered& file, const GatheredFile& records);
/// Appends the lines of the records of `model`, each followed by its members.
void appendRecordsText(std::string& out, const ClassModel& model);
/// Reads a manifest's text, lines ended by "\n" (the file's CR LF taken out); false when
/// it is not one, or damaged.
bool readManifest(std::string_view text, Manifest* manifest);
/// Gives the records of `model` that the lines `recordsText` stand for the members listed
/// there; `next` holds, kind by kind, the place in `model` of the first record and moves
/// on. False when the lines and the model do not match.
bool readMembers(std::string_view recordsText, ClassModel& model, size_t (&next)[3]);
/// Appends the line of a gathered file that comes before its records.
void appendGatheredHeading(std::string& out, const ManifestGathered& file, const GatheredFile& g);
/// Takes the CR out of each CR LF of `text` (a CR in a text is written "%0D").
void dropCarriageReturns(std::string& text);

}  // namespace quillon
