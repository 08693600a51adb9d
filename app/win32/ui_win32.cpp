// The user-facing side of the platform for the Windows application: progress lines go to
// the Output dialog's list, buttons are enabled in place, questions and messages are
// message boxes, and the output folder comes from the folder prompt. The worker calls
// these too: every call is a synchronous window message, handled on the interface thread.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "app/win32/resource.h"
#include "engine/file_kinds.h"
#include "platform/platform.h"

namespace platform {

namespace {

HWND handle(Window window) { return static_cast<HWND>(window); }

}  // namespace

void addListLine(Window window, std::string_view line) {
  HWND list = GetDlgItem(handle(window), IDC_OUTPUT_LIST);
  if (!list) return;
  const std::string text(line);
  const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (at >= 0) SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
}

void addProblemLine(Window window, std::string_view line) { addListLine(window, line); }

void addNoteLine(Window window, std::string_view line) { addListLine(window, line); }

void paceProgress() { Sleep(50); }

void enableButton(Window window, int id, bool enabled) {
  EnableWindow(GetDlgItem(handle(window), id), enabled ? TRUE : FALSE);
}

void showMessage(Window owner, std::string_view text, std::string_view caption) {
  MessageBoxA(handle(owner), std::string(text).c_str(), std::string(caption).c_str(), MB_OK);
}

bool askYesNo(Window owner, std::string_view text) {
  return MessageBoxA(handle(owner), std::string(text).c_str(), "Prompt",
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool chooseOutputDirectory(Window owner, std::string* directory) {
  // The prompt may come from the worker thread, which has no COM of its own yet.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char displayName[MAX_PATH] = "";
  BROWSEINFOA request{};
  request.hwndOwner = handle(owner);
  request.pszDisplayName = displayName;
  request.lpszTitle = "Choose Output Directory";
  request.ulFlags = BIF_BROWSEINCLUDEFILES;
  bool chosen = false;
  if (LPITEMIDLIST item = SHBrowseForFolderA(&request)) {
    // The full path, not the display name alone; a file chosen stands for its folder.
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(item, path)) {
      *directory = path;
      if (!directoryExists(*directory) && fileExists(*directory))
        *directory = quillon::directoryOf(*directory);
      chosen = true;
    }
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

void bringToForeground(Window window) { SetForegroundWindow(handle(window)); }

}  // namespace platform
