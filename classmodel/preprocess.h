#pragma once
// Gathering the classes, structs and enums of a workspace's files before its pages are
// converted, so that the class tree can be written and every page links their names.
#include <string>

namespace quillon {

struct SourceFileConverter;
struct ClassModel;

/// Empties the record lists, lists "Preprocessing class-tree data...", then reads every
/// header file and then every source file of the converter's project (relative to the
/// source directory) with collecting on. Ends at once on a stop request.
void preprocessClassTree(SourceFileConverter& converter);

/// Puts each record list in ascending order of name, comparing bytes.
void sortClassRecords(ClassModel& model);

}  // namespace quillon
