// The entry point of the Windows application: the main window, the start-up values of the
// settings, the message loop with the accelerators, and a clean end of a run still going.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "app/win32/resource.h"
#include "app/win32/shell.h"
#include "platform/platform.h"

namespace quillon::win32 {

ShellState shell;
HINSTANCE instance = nullptr;
HWND mainWindow = nullptr;
Worker worker;
ReferenceLinksHome linksHome;

namespace {

int runMessageLoop() {
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (accelerators &&
        TranslateAcceleratorA(static_cast<HWND>(shell.run.outputWindow), accelerators, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

/// A run still going when the program ends is asked to stop; the program waits for it a
/// while, and leaves without it rather than hang.
void endRun(int code) {
  if (!workerRunning(worker)) return;
  shell.run.cancelled = true;
  shell.run.stopRequested = true;
  if (!waitForWorker(worker, 10000)) ExitProcess(static_cast<UINT>(code));
}

}  // namespace
}  // namespace quillon::win32

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int show) {
  using namespace quillon;
  using namespace quillon::win32;
  instance = hInstance;
  // The folder prompt and the shell calls use COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  mainWindow = createMainWindow(show);
  if (!mainWindow) return 1;
  shell.run.outputWindow = mainWindow;
  shell.settings = ConversionSettings();
  shell.settings.startupDirectory =
      findStartupDirectory(platform::currentDirectory(), platform::programDirectory());
  shell.run.currentDirectory = shell.settings.startupDirectory;
  // Installed under Program Files, the program may not write beside itself.
  linksHome = findReferenceLinksHome(platform::programDirectory(), platform::userDataDirectory());
  shell.settings.referenceLinksFile = linksHome.file;
  // The pages of a workspace are converted on every core; the list still fills in order.
  shell.settings.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  // Paths on the command line (files dropped on the program's icon, or opened with it)
  // are converted as if dropped on the window, once the window is up.
  if (__argc > 1) PostMessageA(mainWindow, commandLineMessage, 0, 0);

  const int code = runMessageLoop();
  endRun(code);
  UnregisterClassA("Tarnwick", instance);
  if (SUCCEEDED(com)) CoUninitialize();
  return code;
}
