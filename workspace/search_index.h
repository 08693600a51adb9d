#pragma once
// The search index of a workspace: the names of its files, classes, structs, enums and
// members with where each leads, written as a script file ("SearchIndex.js") that the tree
// pages load with a script element, so their search box works from disk without a server
// and without reading files by script.
#include <string>
#include <string_view>

namespace quillon {

struct ClassModel;
struct ClassRecord;
struct MemberRecord;
struct ProjectModel;

/// The index's file name in the workspace folder. No page can take it: pages end in ".htm".
inline constexpr const char* searchIndexName = "SearchIndex.js";

/// `text` as a double-quoted script string, quotes included, written in ASCII alone: bytes
/// from 0x80 up stand for the characters that the tree pages show for them (windows-1252,
/// or with `utf8` the UTF-8 that trees of UTF-8 names declare; a broken sequence is
/// U+FFFD), control bytes, quotes, backslashes and "<" ">" are escaped, so no text can
/// end the string, the line or a surrounding script element.
std::string scriptFileString(std::string_view text, bool utf8 = false);
/// The same appended to `out`.
void appendScriptString(std::string& out, std::string_view text, bool utf8 = false);

/// `text` as text between tags, written in ASCII alone: the characters as in
/// `scriptFileString` become character references ("&#8364;"), "&", "<", ">" and '"'
/// entities, and control bytes (a tab too) a space.
std::string asciiElementText(std::string_view text, bool utf8 = false);

/// The index script for the project's listed files and the model's records, one entry a
/// line (LF; the writer makes CR LF). Members lead where the class tree's member items
/// lead: with `memberLines` (pages with line numbers) to their own lines.
/// Its names are read as UTF-8 with `utf8` (the trees declare UTF-8).
std::string searchIndexText(const ProjectModel& project, const ClassModel& model,
                            bool memberLines = false, bool utf8 = false);

/// Writes the index into the workspace folder `directory`. False when it cannot be written.
bool writeSearchIndex(const std::string& directory, const ProjectModel& project,
                      const ClassModel& model, bool memberLines = false, bool utf8 = false);

}  // namespace quillon
