#pragma once
// The per-file analysis of the cross-references: one source file's text in, the records
// of what it defines, declares and uses out. Needs nothing from other files, so every
// file of a workspace can be scanned on its own thread.
#include <string>
#include <string_view>

#include "engine/file_kinds.h"
#include "xref/records.h"

namespace quillon::xref {

/// Scans the text of one source file in `language` (lines ended by LF or CR LF, as the
/// page reads them; no byte-order mark; UTF-16 already turned into UTF-8) into records
/// with their ordinals and line texts. Never fails: text it cannot make sense of yields
/// fewer records.
FileScan scanSource(std::string_view text, SourceLanguage language);

/// The scanners of the four languages. Each appends records with their line and column
/// (ordinals are set afterwards by `finishScan`), in the order of their places.
void scanCpp(std::string_view text, FileScan& scan);
void scanCSharp(std::string_view text, FileScan& scan);
void scanJava(std::string_view text, FileScan& scan);
void scanVisualBasic(std::string_view text, FileScan& scan);

/// Sorts the records by place, drops any whose line and column do not hold their name as
/// a whole identifier and all but the first of one place (by role: a definition first),
/// sets each one's ordinal and keeps the texts of their lines.
void finishScan(std::string_view text, FileScan& scan);

/// The text of the source file at `path` as `scanSource` takes it (read as the page reads
/// it). False when it cannot be read or is no text.
bool readSourceText(const std::string& path, std::string* text);

}  // namespace quillon::xref
