#pragma once
// Links from recorded class, struct and enum names to their declarations.
#include <string>

namespace quillon {

struct NamePasses;
struct SourceFileConverter;

/// Links every recorded name in `line` to its declaration's anchor (plain links). A line
/// that mentions a kind's keyword followed by a space gets no links to records of that
/// kind.
void linkClassNames(const SourceFileConverter& converter, std::string& line);

/// The class model's passes of the line pass: the links of recorded class, struct and enum
/// names (when there are any) and the anchors of their declarations.
const NamePasses& classModelPasses();

/// The href of a record's `link` (its page, "#", its name): the page is named as a file
/// (`fileLinkTarget`), the name as a fragment.
std::string recordLinkTarget(const std::string& link, const std::string& page);

}  // namespace quillon
