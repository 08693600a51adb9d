#pragma once
// Reading the members of a declaration from the lines that follow it.
#include <string_view>
#include <vector>

#include "classmodel/records.h"

namespace quillon {

struct SourceFileConverter;

/// Reads the body that follows `declaration` from the converter's input and appends its
/// members: for classes and structs the functions and data at the body's own depth, with
/// the access in force (starting at `initialPublic`); for enums the first enumerator of
/// each line. Ends when the body closes or the input ends.
void scanMembers(SourceFileConverter& converter, std::string_view declaration, bool isEnum,
                 bool initialPublic, std::vector<MemberRecord>& members);

}  // namespace quillon
