#pragma once
// The seam between the portable core and the operating system. Every call the core makes
// to the system goes through one of these free functions. Two families:
//  - files and processes: one implementation per system (platform_posix.cpp,
//    platform_win32.cpp), chosen by the build;
//  - the user-facing side (progress list, buttons, prompts, messages): one implementation
//    per front end: the Windows dialogs (app/win32), the command's console (ui_console.cpp)
//    and the tests' scripted user (tests/support).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// A window of the user interface (on Windows an HWND); null where there is none.
using Window = void*;

// ---------------------------------------------------------------- files and paths

/// True when `path` is absolute on this system ("/x", "C:\x", "\\server\x").
bool isAbsolutePath(std::string_view path);

/// `name` taken relative to `directory` (unless it is absolute). On POSIX a backslash in
/// `name` is a directory separator, as it is in the project files and links it comes from.
std::string resolvePath(std::string_view directory, std::string_view name);

/// `directory` and `name` joined with this system's separator.
std::string joinPath(std::string_view directory, std::string_view name);

/// The process's current directory (read once, at start-up).
std::string currentDirectory();

/// The directory that holds the running program.
std::string programDirectory();

/// The folder where programs keep the current user's own files: the roaming application
/// data (%APPDATA%) on Windows, $XDG_CONFIG_HOME or ~/.config on POSIX. Empty when the
/// system names none, or when its name cannot be spelt in the program's 8-bit paths.
std::string userDataDirectory();

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

/// A file's size and the time it was last written (in the system's own units: it is
/// only compared with another stamp of this system). False when there is no such file.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;
};
bool fileStamp(const std::string& path, FileStamp* stamp);

/// Creates one directory; true when it exists afterwards as a directory.
bool createDirectory(const std::string& path);

/// Copies a file, never replacing an existing target. True when the copy was made.
bool copyFileNoReplace(const std::string& from, const std::string& to);

/// Copies a file over `to`, which it replaces whole or not at all (the copy is made beside
/// it and renamed into place). True when the copy was made.
bool copyFileReplacing(const std::string& from, const std::string& to);

/// Pushes what was written to `file` through the C library's and the system's caches onto
/// the disk. True on success.
bool flushToDisk(std::FILE* file);

/// Renames `from` onto `to`, replacing `to` when it exists. True on success.
bool replaceFile(const std::string& from, const std::string& to);

bool removeFile(const std::string& path);

/// The file that a save to `path` should write: where a symbolic link at `path` (or a
/// chain of them) leads, also when that file does not exist yet; else `path` itself.
std::string linkTargetOf(const std::string& path);

/// Gives `replacement`, a new file open for writing that is to take the place of the file
/// at `original`, that file's permissions (and owner, where allowed) before anything is
/// written into it. True when there is no file at `original`; false when there is one
/// that may not be written (read-only), which a save must then leave alone.
bool keepPermissions(const std::string& original, std::FILE* replacement);

/// Makes `alias` (a name in the same directory as `directory`) reach `directory` too, for
/// pages that refer to a folder in another letter case: a symbolic link on POSIX, nothing
/// on Windows, whose file names ignore letter case. True when the alias works afterwards.
bool createDirectoryAlias(const std::string& directory, const std::string& alias);

/// True when both paths name the same existing file.
bool sameFile(const std::string& a, const std::string& b);

/// A file name (or path) as UTF-8, the form in which a browser looks a linked file up.
/// POSIX names are bytes and go as they are; Windows names, in the ANSI code page the
/// program's file functions use, are converted.
std::string fileNameAsUtf8(std::string_view name);

/// A name for a temporary file beside `target` that no other writer uses.
std::string temporaryNameFor(const std::string& target);

/// Lists the entries directly in `directory`: regular files and subdirectories, names
/// only, each list sorted bytewise. False when the directory cannot be read.
bool listDirectory(const std::string& directory, std::vector<std::string>* files,
                   std::vector<std::string>* subdirectories);

/// One entry of a directory as `readDirectory` finds it.
struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;  ///< a directory, or a link that leads to one
  bool isLink = false;       ///< a symbolic link or junction, to a file or a directory
  bool hidden = false;       ///< hidden by the system's custom: a "." name, or marked hidden
  std::uint64_t size = 0;    ///< the size of a file
  /// A file's stamp as `fileStamp` gives it, when `stamped` (not for a link on systems
  /// whose listing tells the link's own times rather than its target's).
  FileStamp stamp;
  bool stamped = false;
};

/// The files and directories directly in `directory` (links included, with what they lead
/// to), sorted bytewise by name. False when the directory cannot be read.
bool readDirectory(const std::string& directory, std::vector<DirectoryEntry>* entries);

// ---------------------------------------------------------------- processes

/// Asks the system, where it can, to back the program's memory with large pages: a big
/// workspace then touches a few hundred pages where it touched tens of thousands, each a
/// fault to serve. With glibc on Linux, where large pages are given on request, the
/// program starts again once, at once, with the allocator told to ask for them; a
/// program that cannot start again, or whose allocator was told anything already, goes
/// on as it is. Elsewhere nothing. Called early in main (before any thread starts), with
/// main's arguments.
void useLargePages(char** argv);

/// Asks the system to open `target` (a page or a web address) in the program registered
/// for it: the shell on Windows, xdg-open on POSIX. True when the request was accepted.
bool openWithShell(const std::string& target);

/// Pauses the calling thread.
void sleepMilliseconds(int ms);

// ---------------------------------------------------------------- standard streams

/// True when `stream` writes to (or reads from) a terminal: a console window on Windows.
bool isTerminal(std::FILE* stream);

/// How many columns the terminal of `stream` is wide; 80 when that cannot be told.
int terminalColumns(std::FILE* stream);

/// Makes `stream` (standard input or output) carry bytes as they are: on Windows it no
/// longer turns CR LF into LF or back; on POSIX it always did.
void setBinaryMode(std::FILE* stream);

// ---------------------------------------------------------------- the user-facing side

/// Adds a line to the progress list of `window` (the Output dialog's list 1011).
void addListLine(Window window, std::string_view line);

/// Adds a line that reports a problem the user must see (a file that could not be read
/// or written, a workspace that could not be made). In the dialogs it is an ordinary list
/// line; the console also writes it to standard error.
void addProblemLine(Window window, std::string_view line);

/// The run will begin `count` more pages than it has announced so far, so that a
/// progress display can tell how many of them are done. Nothing in the dialogs.
void expectPages(Window window, int count);

/// Adds the line that begins a page ("Converting main.cpp...."): an ordinary list line
/// in the dialogs; the console on a terminal shows it on one updating line instead.
void addPageLine(Window window, std::string_view line);

/// Adds a line that warns of something the run went on without (a reference links file
/// that is not one, a link left out of the pages). An ordinary list line in the dialogs;
/// the console writes it to standard error. It is not counted as a problem.
void addWarningLine(Window window, std::string_view line);

/// Paces the progress list around each "Converting" line so that the dialog can be read
/// while it fills. Does nothing where nobody watches (the command, the tests).
void paceProgress();

/// Enables or disables the button with `id` in `window`.
void enableButton(Window window, int id, bool enabled);

/// A message box with an OK button: caption "Message" (information) or "Error".
void showMessage(Window owner, std::string_view text, std::string_view caption);

/// A Yes/No question with caption "Prompt" and the question icon. True for Yes.
bool askYesNo(Window owner, std::string_view text);

/// The "Choose Output Directory" prompt. True with the chosen folder in `directory`.
bool chooseOutputDirectory(Window owner, std::string* directory);

/// Brings `window` to the foreground.
void bringToForeground(Window window);

}  // namespace platform
