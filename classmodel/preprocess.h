#pragma once
// Gathering the classes, structs and enums of a workspace's files before its pages are
// converted, so that the class tree can be written and every page links their names.
#include <string>
#include <vector>

#include "classmodel/records.h"

namespace quillon {

struct SourceFileConverter;
struct ProjectModel;

/// What gathering one file came to: its records, and the block-comment state it started
/// and ended in (a file read from inside a comment may gather otherwise).
struct GatheredFile {
  ClassModel model;  ///< its three lists (no index)
  bool startedInComment = false;
  bool endedInComment = false;
  bool read = false;           ///< false when a stop came before the file was taken
  bool complete = true;        ///< false when a stop request ended the file
  std::string outputFileName;  ///< set when the file was opened
};

/// Files gathered by an earlier run that stand for reading them again, and what this run
/// gathered: by the place of each file in the order read (headers, then sources).
struct GatheringCache {
  /// Per file: its earlier records, or null to read it. Used when it started in the same
  /// comment state as the file now does; the records used are moved into the model.
  std::vector<GatheredFile*> earlier;
  /// Per file, filled in: what stood for it in this run (the records read now are kept
  /// in `read`; an earlier file used is there without its records; null where a stop came
  /// first).
  std::vector<const GatheredFile*> gathered;
  std::vector<GatheredFile> read;
};

/// The listed files in the order gathering reads them: every header file, then every
/// source file of the project.
std::vector<std::string> gatheringOrder(const ProjectModel& project);

/// Empties the record lists, lists "Preprocessing class-tree data...", then reads every
/// header file and then every source file of the converter's project with collecting on,
/// each where the project found it (its disk path, else relative to the run's current
/// directory). Ends at once on a stop request. With `cache`, files gathered earlier are
/// taken from it rather than read, and what each file gave is kept in it.
void preprocessClassTree(SourceFileConverter& converter, GatheringCache* cache = nullptr);

/// Puts each record list in ascending order of name, comparing bytes.
void sortClassRecords(ClassModel& model);

}  // namespace quillon
