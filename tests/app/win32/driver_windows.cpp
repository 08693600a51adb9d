// Helpers of the GUI driver: finding the windows of quillon.exe, reading and setting
// their texts, pressing buttons, answering message boxes and asking for screenshots. Text
// crosses between the processes as Unicode, the one form Wine and Windows both convert
// reliably for list and edit controls of another process.
#include "tests/app/win32/driver_windows.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace driver {

PROCESS_INFORMATION quillon{};
std::string screenshotFolder;

void say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  std::fflush(stdout);
}

[[noreturn]] void fail(const std::string& what) {
  say("FAIL: %s", what.c_str());
  if (quillon.hProcess) TerminateProcess(quillon.hProcess, 3);
  std::exit(1);
}

void expect(bool condition, const std::string& what) {
  if (!condition) fail(what);
}

/// A path of the Unix side ("/tmp/x") as this system sees it ("Z:\tmp\x").
std::string windowsPath(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

/// Polls `ready` every 50 ms for up to `seconds`; fails with `what` when it never is.
void waitUntil(const std::string& what, double seconds, const std::function<bool()>& ready) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (!ready()) {
    if (GetTickCount64() > end) fail("timed out waiting for " + what);
    DWORD code = 0;
    if (GetExitCodeProcess(quillon.hProcess, &code) && code != STILL_ACTIVE)
      fail("quillon.exe ended (code " + std::to_string(code) + ") while waiting for " + what);
    Sleep(50);
  }
}

// ------------------------------------------------------------------ windows of quillon

std::string className(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

namespace {

/// Wide text of the other process as this program's 8-bit text.
std::string narrow(const std::wstring& text) {
  if (text.empty()) return "";
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

/// Asks a window of the other process for a text with `lengthMessage` and `textMessage`
/// (Unicode messages: their texts cross between processes reliably).
std::string askText(HWND window, UINT lengthMessage, UINT textMessage, WPARAM item, bool listItem) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, lengthMessage, item, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return "";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, textMessage, listItem ? item : text.size(),
                      reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied <= length ? copied : length);
  return narrow(text);
}

}  // namespace

std::string textOf(HWND window) { return askText(window, WM_GETTEXTLENGTH, WM_GETTEXT, 0, false); }

/// A visible top-level window of quillon.exe with this class ("" for any) and title.
HWND findTopWindow(const std::string& windowClass, const std::string& title) {
  struct Search {
    std::string windowClass, title;
    HWND found = nullptr;
  } search{windowClass, title};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != quillon.dwProcessId || !IsWindowVisible(window)) return TRUE;
        if (!s->windowClass.empty() && className(window) != s->windowClass) return TRUE;
        if (textOf(window) != s->title) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitForWindow(const std::string& windowClass, const std::string& title, double seconds) {
  HWND found = nullptr;
  waitUntil("the window \"" + title + "\"", seconds, [&] {
    found = findTopWindow(windowClass, title);
    return found != nullptr;
  });
  return found;
}

void waitForWindowGone(HWND window, const std::string& what) {
  waitUntil(what + " to close", 30, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

/// A child window (at any depth) whose class and text match ("" for any text).
HWND findChild(HWND parent, const std::string& windowClass, const std::string& text) {
  struct Search {
    std::string windowClass, text;
    HWND found = nullptr;
  } search{windowClass, text};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (className(window) != s->windowClass) return TRUE;
        if (!s->text.empty() && textOf(window) != s->text) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::string> listLines(HWND list) {
  std::vector<std::string> lines;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  for (DWORD_PTR i = 0; i < count; ++i)
    lines.push_back(askText(list, LB_GETTEXTLEN, LB_GETTEXT, i, true));
  return lines;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "[" + line + "]";
  return out;
}

/// Clicks a button of a dialog without waiting for what the click starts.
void click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void setText(HWND control, const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(),
                                                      static_cast<int>(wide.size()))) - 1);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                      SMTO_ABORTIFHUNG, 5000, &result);
}

/// Waits for the message box with `caption` that says `text`, and presses `button`.
void answerBox(const std::string& caption, const std::string& text, int button) {
  HWND box = nullptr;
  waitUntil("the \"" + caption + "\" box \"" + text + "\"", 30, [&] {
    box = findTopWindow("#32770", caption);
    return box && findChild(box, "Static", text);
  });
  say("  answered \"%s\" with %s", text.c_str(), button == IDYES ? "Yes" : button == IDNO ? "No" : "OK");
  click(box, button);
  waitForWindowGone(box, "the \"" + caption + "\" box");
}

/// Asks for a screenshot of `window`'s rectangle on the screen.
void screenshot(const std::string& name, HWND window) {
  if (screenshotFolder.empty()) return;
  Sleep(300);  // let the last paint reach the screen
  RECT area;
  GetWindowRect(window, &area);
  const std::string geometry = std::to_string(area.right - area.left) + "x" +
                               std::to_string(area.bottom - area.top) + "+" +
                               std::to_string(area.left) + "+" + std::to_string(area.top);
  const std::string base = screenshotFolder + "\\" + name;
  DeleteFileA((base + ".done").c_str());
  writeFile(base + ".request", geometry);
  waitUntil("the screenshot " + name, 60, [&] { return fileExists(base + ".done"); });
  say("  screenshot %s taken", name.c_str());
}

void startQuillon(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& folder) {
  std::string commandLine = "\"" + program + "\"";
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &quillon))
    fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
  say("started %s", commandLine.size() < 300 ? commandLine.c_str() : "quillon.exe with many files");
}

/// Ends quillon.exe with the Escape key in its main window; it must exit with 0.
void pressEscape(HWND mainWindow) {
  PostMessageA(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  if (WaitForSingleObject(quillon.hProcess, 20000) != WAIT_OBJECT_0)
    fail("quillon.exe did not end after Escape");
  DWORD code = 99;
  GetExitCodeProcess(quillon.hProcess, &code);
  expect(code == 0, "exit code after Escape is " + std::to_string(code) + ", not 0");
  say("Escape ended quillon.exe with code 0");
}

}  // namespace driver
