#pragma once
// The files of the cross-references that a workspace holds besides its pages, in its
// folder "xref": the chooser pages (xref/c<n>.htm, 256 choosers each), which list the
// candidates of a name that leads to several, and the uses scripts (xref/u<file>.js, one
// for each page), which the pages' script Xref.js loads with a script element when a
// name is first pointed at: the uses of every symbol the page defines, and what each
// name the page links leads to. Both are written in ASCII alone, whatever the pages'
// charsets: other characters are references (pages) or escapes (scripts).
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

struct ConversionSettings;
struct RunState;
struct WorkspaceXref;

/// The folder of the files, in the workspace folder, and the pages' script beside them.
inline constexpr const char* xrefFolderName = "xref";
inline constexpr const char* xrefScriptName = "Xref.js";
/// Choosers a chooser page holds; the chooser k is "c" + k on page "c" + k / 256.
inline constexpr std::uint32_t choosersPerPage = 256;
/// Uses a uses script lists of one symbol (it counts them all).
inline constexpr std::uint32_t listedUsesLimit = 1000;

/// The head lines of a page of `file` with cross-references: the style of its links
/// (class "x": as the text around them) and the script that serves them, told where the
/// page's uses script is.
std::string xrefHeadLine(std::uint32_t file);

/// The chooser page `shard` (choosers 256 * shard on) for the pages of the workspace
/// folder `folder`, lines ended by "\n".
std::string chooserPageText(const ConversionSettings& settings, const WorkspaceXref& xref,
                            const std::string& folder, std::uint32_t shard);

/// The uses script of the page of `file`, lines ended by "\n": one call of
/// quillonXref({page, words, files, defs, unused, targets}). `words` lists the kinds and roles and
/// `files` the files ([shown name, link to the page], the page's own first) that the entries
/// name by number.
/// defs: anchor -> [kind, number of uses, [[file, [use...]]...]], where a use is
/// [line, role, text], or on the page itself [line, role] or, when read, the line alone.
/// unused: [kind, anchors separated by spaces] for the definitions used nowhere.
/// targets: link -> [kind, number of uses] and on another page also file and line's text.
/// Names, and what a page shows itself, are read from the page.
std::string usesScriptText(const WorkspaceXref& xref, std::uint32_t file);

/// Writes the chooser pages that the pages of `folder` link to, a uses script for each of
/// its pages, and the script Xref.js (from the program's data folder) into the workspace
/// folder `directory`. Reports what cannot be written or read.
void writeXrefFiles(const ConversionSettings& settings, RunState& run, const WorkspaceXref& xref,
                    const std::string& folder, const std::string& directory);

/// The href that leads from a page of `folder` in the table to the place of `symbol`
/// (as the pages' links are written).
std::string symbolHref(const WorkspaceXref& xref, const std::string& folder, std::uint32_t fromFile,
                       std::uint32_t symbol);

}  // namespace quillon
