#pragma once
// Recognition of class, struct and enum declarations in escaped and keyword-coloured
// lines: the declared name gets a named anchor, and when collecting, the declaration and
// its members are recorded.
#include <string>

namespace quillon {

struct SourceFileConverter;

/// Anchors the first class declaration of `line`; with `collect`, records it and reads
/// its members from the converter's input.
void recognizeClass(SourceFileConverter& converter, std::string& line, bool collect);
void recognizeStruct(SourceFileConverter& converter, std::string& line, bool collect);
void recognizeEnum(SourceFileConverter& converter, std::string& line, bool collect);

}  // namespace quillon
