#pragma once
// Gathering the classes, structs and enums of a workspace's files before its pages are
// converted, so that the class tree can be written and every page links their names.
#include <string>

namespace quillon {

struct SourceFileConverter;
struct ClassModel;

/// Empties the record lists, lists "Preprocessing class-tree data...", then reads every
/// header file and then every source file of the converter's project with collecting on,
/// each where the project found it (its disk path, else relative to the run's current
/// directory). Ends at once on a stop request.
void preprocessClassTree(SourceFileConverter& converter);

/// Puts each record list in ascending order of name, comparing bytes.
void sortClassRecords(ClassModel& model);

}  // namespace quillon
