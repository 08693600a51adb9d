#pragma once
// Helpers of the GUI driver (gui_driver.cpp): the windows of quillon.exe seen from
// another process. Every wait has a time limit; a failure ends quillon.exe and the driver
// with a message that says what was expected.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

/// The running quillon.exe.
extern PROCESS_INFORMATION quillon;
/// Where screenshots are asked for; empty for none.
extern std::string screenshotFolder;

void say(const char* format, ...);
[[noreturn]] void fail(const std::string& what);
void expect(bool condition, const std::string& what);

/// A path of the Unix side ("/tmp/x") as this system sees it ("Z:\tmp\x").
std::string windowsPath(std::string path);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);

/// Polls `ready` every 50 ms for up to `seconds`; fails with `what` when it never is, or
/// when quillon.exe ends meanwhile.
void waitUntil(const std::string& what, double seconds, const std::function<bool()>& ready);

std::string className(HWND window);
/// The text of a window of quillon.exe (its WM_GETTEXT answer).
std::string textOf(HWND window);
/// A visible top-level window of quillon.exe with this class ("" for any) and title.
HWND findTopWindow(const std::string& windowClass, const std::string& title);
HWND waitForWindow(const std::string& windowClass, const std::string& title, double seconds = 30);
void waitForWindowGone(HWND window, const std::string& what);
/// A child window (at any depth) whose class and text match ("" for any text).
HWND findChild(HWND parent, const std::string& windowClass, const std::string& text);
/// The lines of a list box of quillon.exe.
std::vector<std::string> listLines(HWND list);
/// "[line][line]..." for messages.
std::string joined(const std::vector<std::string>& lines);

/// Clicks a button of a dialog without waiting for what the click starts.
void click(HWND dialog, int id);
void setText(HWND control, const std::string& text);
/// Waits for the message box with `caption` that says `text`, and presses `button`.
void answerBox(const std::string& caption, const std::string& text, int button);
/// Asks for a screenshot of `window`'s rectangle, NAME.png in the screenshot folder.
void screenshot(const std::string& name, HWND window);

/// Starts quillon.exe in `folder` with `arguments` on its command line.
void startQuillon(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& folder);
/// Ends quillon.exe with the Escape key in its main window; it must exit with 0.
void pressEscape(HWND mainWindow);

}  // namespace driver
