#pragma once
// An independent reading of a converted line, for the tests and the fuzzers: the only
// tags a line may hold are the program's own fragments, and the text between them must
// be the escaped source line, untouched.
#include <string>
#include <string_view>

namespace testing_support {

/// True when every tag of the converted line is one of the line passes' own fragments
/// with a well-formed attribute value, no tag splits an entity of the escaping, and the
/// text outside the tags is the source line escaped (with tab stops by characters for a
/// UTF-8 page when `utf8Columns`). A link built from source text (an
/// include, a class link) must not name a URL scheme. Sets `problem` otherwise.
bool checkConvertedLine(std::string_view converted, std::string_view source,
                        std::string* problem, bool utf8Columns = false);

/// True when `href`, read by a browser (character references decoded, leading blanks and
/// control characters dropped, tabs and line breaks removed), could begin with a URL
/// scheme such as "javascript:". Errs on the side of yes.
bool mayNameScheme(std::string_view href);

}  // namespace testing_support
