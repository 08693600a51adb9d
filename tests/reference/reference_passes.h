#pragma once
// The line passes written the straightforward way: every rule applied literally, one
// keyword, one occurrence and one insertion at a time, each test rescanning the line.
// This is the executable definition of the page bytes; the engine's fast passes must
// give exactly the same lines and the same block-comment state (differential_test.cpp),
// and the benchmarks measure them against it.
#include <string>
#include <string_view>

#include "engine/file_kinds.h"
#include "engine/reference_link_pass.h"

namespace quillon {
struct SourceFileConverter;
}

namespace quillon::reference {

void appendEscaped(std::string& out, std::string_view line);
std::string escapeLine(std::string_view line);
void stripByteOrderMark(std::string& line);

bool insideTag(std::string_view line, size_t p);
bool insideQuotes(std::string_view line, std::string_view part, size_t p = std::string::npos);
std::string nextWord(size_t& pos, std::string_view line, bool inBlockComment);

void linkInclude(const SourceFileConverter& converter, std::string& line);
void linkWord(const SourceFileConverter& converter, std::string& line, std::string_view word,
              std::string_view url, size_t start, LinkVariant variant);
void applyReferenceLinks(const SourceFileConverter& converter, std::string& line);
void linkClassNames(const SourceFileConverter& converter, std::string& line);

size_t findLineComment(std::string_view line, bool visualBasic, size_t start = 0);
size_t colourLineComment(const SourceFileConverter& converter, std::string& line, size_t start = 0);
void colourBlockComments(SourceFileConverter& converter, std::string& line,
                         size_t lineCommentAt = std::string::npos);

void colourKeyword(const SourceFileConverter& converter, std::string& line,
                   std::string_view keyword, size_t start);
void colourKeywords(const SourceFileConverter& converter, std::string& line,
                    SourceLanguage language);

/// The anchors of the class, struct and enum recognition (collecting off).
void anchorDeclarations(const SourceFileConverter& converter, std::string& line);

/// One source line through every pass, in the line pass's order, with the converter's
/// state (block comment, language, colours, reference links, class records).
void referenceConvertLine(SourceFileConverter& converter, std::string& line);

}  // namespace quillon::reference
