// The About dialog: two texts and the picture "Quillon.bmp" tiled in a 176 x 176 window.
#include <windows.h>

#include "app/win32/resource.h"
#include "app/win32/shell.h"
#include "platform/platform.h"

namespace quillon::win32 {

namespace {

/// The picture window's class, with the picture read afresh from the run's current
/// directory at each opening. The class owns its pattern brush once registered.
HBITMAP registerPictureClass() {
  const std::string path = platform::resolvePath(shell.run.currentDirectory, "Quillon.bmp");
  HBITMAP picture = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = picture ? CreatePatternBrush(picture) : nullptr;
  windowClass.lpszClassName = "PictureClass";
  RegisterClassA(&windowClass);
  return picture;
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CreateWindowExA(WS_EX_CLIENTEDGE, "PictureClass", "A Picture", WS_CHILD | WS_VISIBLE, 3, 3,
                      176, 176, dialog, nullptr, instance, nullptr);
      centreOver(dialog, static_cast<HWND>(shell.run.outputWindow));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, IDOK);
      return TRUE;  // Escape (cancel) does nothing
    case WM_CLOSE:
      EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void showAboutDialog() {
  HBITMAP picture = registerPictureClass();
  showModalDialog(IDD_ABOUT, aboutProc);
  UnregisterClassA("PictureClass", instance);  // deletes the class's brush
  if (picture) DeleteObject(picture);
  shell.run.outputWindow = mainWindow;
  SetForegroundWindow(mainWindow);
}

}  // namespace quillon::win32
