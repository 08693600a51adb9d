#pragma once
// What the windows of the Windows application share: the one ShellState of the process,
// the main window, the worker, and the entry points of the dialogs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/runs.h"
#include "app/worker.h"

namespace quillon::win32 {

extern ShellState shell;
extern HINSTANCE instance;
extern HWND mainWindow;
extern Worker worker;
/// Where the user's reference links are kept: in the user's folder when installed.
extern ReferenceLinksHome linksHome;

/// The Output dialog posts this to itself when the worker has returned.
inline constexpr UINT runFinishedMessage = WM_APP + 1;
/// The main window posts this to itself to convert the paths of the command line.
inline constexpr UINT commandLineMessage = WM_APP + 2;

/// The main window's class, title and procedure; creates the window (null on failure).
HWND createMainWindow(int show);

/// True while one of the program's modal dialogs is open (or a run is ending): commands
/// are refused then.
bool dialogOpen();

/// Counts as an open dialog for as long as it lives.
struct DialogScope {
  DialogScope();
  ~DialogScope();
  DialogScope(const DialogScope&) = delete;
  DialogScope& operator=(const DialogScope&) = delete;
};

/// Shows a modal dialog of the program (no owner window) and counts it as open.
INT_PTR showModalDialog(int templateId, DLGPROC procedure, LPARAM parameter = 0);

/// Moves `dialog` so that it is centred over `over`, keeping its size.
void centreOver(HWND dialog, HWND over);

/// Shows the Output dialog and runs `body` on the worker once the dialog is ready.
/// Returns when the dialog has ended and the worker has returned.
void runInOutputDialog(std::function<void()> body);

/// The dialogs and small commands.
void showColorPicker();
void showAboutDialog();
void showReferenceLinksDialog();
void pickFont();
void toggleDefaultOutputDirectory();
/// Line Numbers and Modern Keywords: each flips its setting and its check mark (both
/// start off, and last as long as the program runs).
void toggleLineNumbers();
void toggleModernKeywords();
void toggleCrossReferences();
/// Rich Colours: literals, numbers and directives coloured (off at start).
void toggleRichColours();
/// Text Search: workspaces get an index of their pages' text for the search box (off at
/// start).
void toggleTextSearch();
/// Incremental: workspaces keep a manifest, and a later conversion into the same folder
/// converts only the pages that changed (off at start).
void toggleIncremental();
/// Settings > Theme: the theme's seven colours replace the page colours, and its item
/// is checked.
void chooseTheme(Theme theme);
void openHelp();

/// Opens a page or web address in the browser: the shell first, else the program that
/// is registered for ".htm" files.
void openInBrowser(const std::string& target);

}  // namespace quillon::win32
