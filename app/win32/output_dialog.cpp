// The Output dialog of a run: the progress list, Stop and OK. The run goes on the worker
// thread, started once the dialog is ready, so that no early line or count is lost. The
// worker posts the dialog a message when it has returned; a confirmed Stop or the close
// box only asks the run to stop, and the dialog finishes the stop on that message, so it
// stays responsive and the cancel line is always the run's last line.
#include <windows.h>

#include "app/win32/resource.h"
#include "app/win32/shell.h"

namespace quillon::win32 {

namespace {

struct OutputDialogState {
  std::function<void()> body;
  bool workerReturned = false;
  bool stopConfirmed = false;
  bool closeRequested = false;
};

void askToStop(RunState& run) {
  run.cancelled = true;
  run.stopRequested = true;
}

void onStop(HWND dialog, OutputDialogState& state) {
  HWND stop = GetDlgItem(dialog, IDCANCEL);
  if (!IsWindowEnabled(stop) || state.stopConfirmed) return;
  if (!requestStop(shell.run)) return;
  state.stopConfirmed = true;
  EnableWindow(stop, FALSE);
  if (state.workerReturned) finishStoppedRun(shell.context);
}

void onWorkerReturned(HWND dialog, OutputDialogState& state) {
  stopWorker(worker);
  state.workerReturned = true;
  if (state.closeRequested) {
    EndDialog(dialog, 0);
    return;
  }
  if (state.stopConfirmed) finishStoppedRun(shell.context);
}

INT_PTR CALLBACK outputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<OutputDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<OutputDialogState*>(lParam);
      centreOver(dialog, static_cast<HWND>(shell.run.outputWindow));
      openOutputDialog(shell.run, dialog);
      if (!startWorker(worker, state->body,
                       [dialog] { PostMessageA(dialog, runFinishedMessage, 0, 0); }))
        state->workerReturned = true;  // never happens: commands wait for the last run
      return TRUE;
    case runFinishedMessage:
      if (state) onWorkerReturned(dialog, *state);
      return TRUE;
    case WM_COMMAND:
      if (!state) return FALSE;
      if (LOWORD(wParam) == IDOK && IsWindowEnabled(GetDlgItem(dialog, IDOK)))
        EndDialog(dialog, 0);
      else if (LOWORD(wParam) == IDCANCEL)
        onStop(dialog, *state);
      return TRUE;
    case WM_CLOSE:
      // The close box stops the run first; the dialog ends once the worker returned.
      if (!state || state->workerReturned) {
        EndDialog(dialog, 0);
      } else {
        state->closeRequested = true;
        askToStop(shell.run);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

/// The dialog ended while its worker still runs (the program is quitting): the run is
/// asked to stop and the program keeps answering the worker's messages until it returns.
void waitForRunToReturn() {
  if (workerRunning(worker)) askToStop(shell.run);
  bool quit = false;
  WPARAM quitCode = 0;
  while (workerRunning(worker)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  stopWorker(worker);
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace

void runInOutputDialog(std::function<void()> body) {
  DialogScope running;
  OutputDialogState state;
  state.body = std::move(body);
  showModalDialog(IDD_OUTPUT, outputDialogProc, reinterpret_cast<LPARAM>(&state));
  waitForRunToReturn();
  shell.run.outputWindow = mainWindow;
  SetForegroundWindow(mainWindow);
  clearReferenceLinks(shell.referenceLinks);
}

}  // namespace quillon::win32
