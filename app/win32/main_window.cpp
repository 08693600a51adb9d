// The main window "Tarnwick": its menu commands, file drops and the command line's paths.
// The window shows nothing itself; all work happens in modal dialogs, and while one of
// them is open no other command starts (a second run would reload or clear the reference
// links that the running one reads).
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/win32/resource.h"
#include "app/win32/shell.h"
#include "platform/platform.h"

namespace quillon::win32 {

namespace {

int openDialogs = 0;

/// The open-file request, kept for the life of the program so that the dialog opens
/// where the last choice was made.
OPENFILENAMEA openRequest;
char selectedPath[MAX_PATH];

const char sourceFilter[] =
    "Source Files (*.cpp; *.c; *.h; *.hpp; *.cs; *.js; *.java; *.jsl; *.cls; *.frm; *.bas; "
    "*.vb; *.rc)\0*.cpp;*.c;*.h;*.hpp;*.cs;*.js;*.java;*.jsl;*.cls;*.frm;*.bas;*.vb;*.rc\0";
const char projectFilter[] =
    "Project Files (*.vcproj; *.vcxproj; *.dsp; *.csproj; *.vbproj; *.vjsproj; *.sln)\0"
    "*.vcproj;*.vcxproj;*.dsp;*.csproj;*.vbproj;*.vjsproj;*.sln\0";

void fillOpenRequest(HWND window) {
  ZeroMemory(&openRequest, sizeof openRequest);
  openRequest.lStructSize = sizeof openRequest;
  openRequest.hwndOwner = window;
  openRequest.lpstrFile = selectedPath;
  openRequest.nMaxFile = MAX_PATH;
  openRequest.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
}

/// Convert File and Convert Project: choose the file, the directories, then run.
void convertChosenFile(bool project) {
  openRequest.lpstrFilter = project ? projectFilter : sourceFilter;
  if (!GetOpenFileNameA(&openRequest)) return;
  const std::string path = selectedPath;
  prepareReferenceLinksHome(linksHome);
  if (!prepareCommandRun(shell.context, path)) return;
  runInOutputDialog([path, project] {
    if (project)
      projectRun(shell.context, path);
    else
      singleFileRun(shell.context, path);
  });
}

void convertDropped(std::vector<std::string> paths) {
  prepareReferenceLinksHome(linksHome);
  runInOutputDialog([paths = std::move(paths)] { droppedFilesRun(shell.context, paths); });
}

/// The dropped paths in the order the drop reports them; the drop is released.
std::vector<std::string> takeDroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    path.resize(DragQueryFileA(drop, i, path.data(), length + 1));
    paths.push_back(path);
  }
  DragFinish(drop);
  return paths;
}

/// The paths given on the command line, made full against the process's directory.
std::vector<std::string> commandLinePaths() {
  std::vector<std::string> paths;
  for (int i = 1; i < __argc; ++i) {
    const DWORD length = GetFullPathNameA(__argv[i], 0, nullptr, nullptr);
    if (length == 0) continue;
    std::string full(length, '\0');
    full.resize(GetFullPathNameA(__argv[i], length, full.data(), nullptr));
    paths.push_back(full);
  }
  return paths;
}

void runCommand(int id) {
  if (id == IDM_QUIT) {
    PostQuitMessage(0);
    return;
  }
  if (dialogOpen()) return;
  switch (id) {
    case IDM_CONVERT_FILE: convertChosenFile(false); break;
    case IDM_CONVERT_PROJECT: convertChosenFile(true); break;
    case IDM_PICK_COLORS: showColorPicker(); break;
    case IDM_PICK_FONT: pickFont(); break;
    case IDM_DEFAULT_OUTPUT_DIRECTORY: toggleDefaultOutputDirectory(); break;
    case IDM_REFERENCE_LINKS: showReferenceLinksDialog(); break;
    case IDM_LINE_NUMBERS: toggleLineNumbers(); break;
    case IDM_MODERN_KEYWORDS: toggleModernKeywords(); break;
    case IDM_CROSS_REFERENCES: toggleCrossReferences(); break;
    case IDM_RICH_COLOURS: toggleRichColours(); break;
    case IDM_TEXT_SEARCH: toggleTextSearch(); break;
    case IDM_INCREMENTAL: toggleIncremental(); break;
    case IDM_THEME_LIGHT: chooseTheme(Theme::Light); break;
    case IDM_THEME_DARK: chooseTheme(Theme::Dark); break;
    case IDM_HELP: openHelp(); break;
    case IDM_ABOUT: showAboutDialog(); break;
    default: break;
  }
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      runCommand(LOWORD(wParam));
      return 0;
    case WM_DROPFILES: {
      std::vector<std::string> paths = takeDroppedPaths(reinterpret_cast<HDROP>(wParam));
      if (!dialogOpen()) convertDropped(std::move(paths));
      return 0;
    }
    case commandLineMessage:
      if (!dialogOpen()) convertDropped(commandLinePaths());
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool dialogOpen() { return openDialogs > 0; }

DialogScope::DialogScope() { ++openDialogs; }
DialogScope::~DialogScope() { --openDialogs; }

INT_PTR showModalDialog(int templateId, DLGPROC procedure, LPARAM parameter) {
  DialogScope open;
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), nullptr, procedure, parameter);
}

void centreOver(HWND dialog, HWND over) {
  RECT outer, own;
  if (!GetWindowRect(over, &outer) || !GetWindowRect(dialog, &own)) return;
  const int width = own.right - own.left, height = own.bottom - own.top;
  const int left = outer.left + (outer.right - outer.left) / 2 - width / 2;
  const int top = outer.top + (outer.bottom - outer.top) / 2 - height / 2;
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void toggleDefaultOutputDirectory() {
  bool& on = shell.settings.useDefaultOutputDirectory;
  CheckMenuItem(GetMenu(mainWindow), IDM_DEFAULT_OUTPUT_DIRECTORY,
                MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
  on = !on;
}

HWND createMainWindow(int) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLON));
  windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLON));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszMenuName = IDR_MAIN_MENU_NAME;
  windowClass.lpszClassName = "Tarnwick";
  if (!RegisterClassExA(&windowClass)) return nullptr;

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  const DWORD extendedStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
  // The menu bar is not counted: it takes its height out of the 496 pixels.
  RECT frame{0, 0, 640, 496};
  AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  HWND window = CreateWindowExA(extendedStyle, "Tarnwick", "Quillon", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SetFocus(window);
  fillOpenRequest(window);
  return window;
}

}  // namespace quillon::win32
