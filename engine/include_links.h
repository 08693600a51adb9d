#pragma once
// The include-link pass: a quoted #include name links to the page of that file.
#include <string>

namespace quillon {

struct SourceFileConverter;

/// Links the quoted name of a "#include" line to the included file's page (its name
/// without directory, plus ".htm"). Names in angle brackets are not linked.
void linkInclude(const SourceFileConverter& converter, std::string& line);

}  // namespace quillon
