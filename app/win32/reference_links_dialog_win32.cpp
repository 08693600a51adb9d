// The Custom Reference Links dialog's window: it copies its controls into the dialog's
// record before each command and shows the record afterwards. The list box sorts the
// words itself, and the record takes the list's order from it.
#include <windows.h>

#include "app/reference_links_dialog.h"
#include "app/win32/resource.h"
#include "app/win32/shell.h"

namespace quillon::win32 {

namespace {

struct LinksWindow {
  HWND dialog = nullptr;
  ReferenceLinksDialog logic;
};

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void showList(void* host, std::vector<std::string>& lines) {
  HWND list = GetDlgItem(static_cast<LinksWindow*>(host)->dialog, IDC_LINK_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  lines.clear();
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::string line(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    line.resize(static_cast<size_t>(
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
    lines.push_back(line);
  }
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void readControls(LinksWindow& window) {
  ReferenceLinksDialog& logic = window.logic;
  const HWND dialog = window.dialog;
  const LRESULT selected = SendDlgItemMessageA(dialog, IDC_LINK_LIST, LB_GETCURSEL, 0, 0);
  logic.selected = selected == LB_ERR ? -1 : static_cast<int>(selected);
  logic.word = controlText(dialog, IDC_WORD);
  logic.link = controlText(dialog, IDC_LINK);
  logic.checks = {checked(dialog, IDC_CPP), checked(dialog, IDC_CSHARP), checked(dialog, IDC_JAVA),
                  checked(dialog, IDC_VB), checked(dialog, IDC_ALL)};
}

void showControls(const LinksWindow& window) {
  const ReferenceLinksDialog& logic = window.logic;
  const HWND dialog = window.dialog;
  if (controlText(dialog, IDC_WORD) != logic.word) SetDlgItemTextA(dialog, IDC_WORD, logic.word.c_str());
  if (controlText(dialog, IDC_LINK) != logic.link) SetDlgItemTextA(dialog, IDC_LINK, logic.link.c_str());
  const int boxes[] = {IDC_CPP, IDC_CSHARP, IDC_JAVA, IDC_VB, IDC_ALL};
  const bool states[] = {logic.checks.cpp, logic.checks.csharp, logic.checks.java, logic.checks.vb,
                         logic.checks.all};
  for (int i = 0; i < 5; ++i) CheckDlgButton(dialog, boxes[i], states[i] ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(dialog, IDC_UPDATE), logic.updateEnabled ? TRUE : FALSE);
}

void runCommand(LinksWindow& window, int id) {
  readControls(window);
  switch (id) {
    case IDC_EDIT: editSelected(window.logic); break;
    case IDC_UPDATE: updateEdited(window.logic); break;
    case IDC_ADD: addTyped(window.logic); break;
    case IDC_DELETE: deleteSelected(window.logic); break;
    case IDC_GO_TO_PAGE: openInBrowser(goToPageTarget(window.logic)); return;
    default: return;
  }
  showControls(window);
}

INT_PTR CALLBACK referenceLinksProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<LinksWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      window = reinterpret_cast<LinksWindow*>(lParam);
      window->dialog = dialog;
      window->logic.window = dialog;
      centreOver(dialog, static_cast<HWND>(shell.run.outputWindow));
      shell.run.outputWindow = dialog;
      SetForegroundWindow(dialog);
      openReferenceLinksDialog(window->logic);
      showControls(*window);
      return TRUE;
    case WM_COMMAND:
      if (!window) return FALSE;
      if (LOWORD(wParam) == IDC_DONE) {
        EndDialog(dialog, 0);
      } else if (HIWORD(wParam) == BN_CLICKED) {
        runCommand(*window, LOWORD(wParam));
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void showReferenceLinksDialog() {
  prepareReferenceLinksHome(linksHome);
  loadReferenceLinks(shell.referenceLinks, referenceLinksPath(shell.settings, shell.run));
  LinksWindow window{nullptr, ReferenceLinksDialog(shell.referenceLinks,
                                                   referenceLinksPath(shell.settings, shell.run),
                                                   nullptr)};
  window.logic.showList = showList;
  window.logic.host = &window;
  showModalDialog(IDD_REFERENCE_LINKS, referenceLinksProc, reinterpret_cast<LPARAM>(&window));
  shell.run.outputWindow = mainWindow;
  clearReferenceLinks(shell.referenceLinks);
}

}  // namespace quillon::win32
