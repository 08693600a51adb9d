#pragma once
// Conversion runs, written once for every front end: the three run bodies, the closing
// steps with the offer to open the result, and the Output dialog's sequence of states
// (the Windows dialog and the command both drive it through the platform layer).
#include <cstdio>
#include <string>
#include <vector>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"

namespace quillon {

/// The process-wide state of the program. Each front end keeps exactly one.
struct ShellState {
  ConversionSettings settings;
  RunState run;
  ReferenceLinkTable referenceLinks;
  ClassModel classModel;
  RunContext context{settings, run, referenceLinks, classModel, nullptr, nullptr,
                     &classModelPasses()};
};

/// Button ids of the Output dialog.
inline constexpr int okButton = 1;
inline constexpr int stopButton = 2;

/// The directory that holds the program's data files (templates, Images, help file, About
/// picture): `current` when it holds them, else `program` or its data folder when one of
/// them does, else `current`.
std::string findStartupDirectory(const std::string& current, const std::string& program);

/// The path of the reference links file that a load or save uses now.
std::string referenceLinksPath(const ConversionSettings& settings, const RunState& run);

/// Loads the reference links of a run into the context's table and returns its warnings:
/// a file that is there but is a folder, cannot be read or is no links file at all gives
/// one (the run goes on without links), and so do links whose URLs would run code, which
/// are left out of the table. A missing file means no links, without a word.
std::vector<std::string> loadRunLinks(RunContext& context);

/// The file that the installer writes beside the program it installs; a copy unpacked
/// from the ZIP has none.
inline constexpr std::string_view installedMarkName = "Installed.txt";

/// Where the Windows program keeps the user's reference links.
struct ReferenceLinksHome {
  /// The links file; empty for ReferenceLinks.xml in the run's current directory.
  std::string file;
  /// The table beside the program, which `file` starts as while it does not exist.
  std::string takeOver;
};

/// An installed program (the installer's mark in `programDirectory`) keeps its links in
/// `userDirectory`\Quillon, where the user may write. A copy unpacked from the ZIP, or
/// one for whom no user folder is known, keeps them where it always did (an empty home).
ReferenceLinksHome findReferenceLinksHome(const std::string& programDirectory,
                                          const std::string& userDirectory);

/// Readies `home` before its file is loaded: makes the file's folder and, while the file
/// does not exist, copies the table beside the program there (which stays as it is).
/// Nothing for an empty home. False when the folder or the copy could not be made.
bool prepareReferenceLinksHome(const ReferenceLinksHome& home);

/// The Output dialog opens for a run: the counter and the stop flags are reset, the
/// dialog takes over the progress list, OK is disabled.
void openOutputDialog(RunState& run, platform::Window dialog);

/// Stop was pressed: asks "Are you sure you want to stop converting?". On Yes the run is
/// asked to stop at its next check and true is returned.
bool requestStop(RunState& run);

/// The worker of a stopped run has returned: the start-up directory is current again,
/// "Conversion was canceled." ends the list, OK is enabled and Stop disabled.
void finishStoppedRun(RunContext& context);

/// Convert File and Convert Project once the file at `path` is chosen: loads the reference
/// links (from the run's current directory as it was), makes the file's directory the
/// current directory and, with the default output directory, the output directory;
/// otherwise asks for the output folder. False when that prompt was cancelled: no run
/// starts, and the table stays loaded until the next load or clear.
bool prepareCommandRun(RunContext& context, const std::string& path);

/// Converts the file at `path` (its directory and the output directory chosen before).
void singleFileRun(RunContext& context, const std::string& path);

/// Converts the project file at `path` into its workspace; a solution, each of its projects.
void projectRun(RunContext& context, const std::string& path);

/// What becomes of several convertible files dropped together.
enum class DropMode {
  Workspace,  ///< one workspace (a single file: its page)
  Pages,      ///< each its own page, as Convert File makes it
};

/// Converts files as if dropped together on the main window: project files and solutions
/// at once, in order; the other convertible files alone (one) or as one workspace
/// (several), or each on its own page in Pages mode; any other file is listed as
/// "<NAME can't be converted>". False when the output folder prompt was cancelled and
/// nothing was done.
bool droppedFilesRun(RunContext& context, const std::vector<std::string>& paths,
                     DropMode mode = DropMode::Workspace);

/// Converts `content`, the whole of standard input, into the page that a file of it in
/// `language` gets, written to `page`: with the run's reference links and settings, and
/// without progress lines. False, with a problem line, when it is no text or the page
/// could not be written.
bool textRun(RunContext& context, std::string content, SourceLanguage language,
             std::FILE* page);

/// Asks "Would you like to open the file?" and on Yes opens the page written last.
void offerToOpenResult(RunContext& context);

}  // namespace quillon
