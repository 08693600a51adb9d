// The Color Picker: seven swatches that open the colour chooser (the page's four colours
// and the three of rich colouring), and the example drawn with the current colours, its
// literals, numbers and directive in theirs when Rich Colours is on. Changes apply at once; Cancel and the close box put back the
// colours of the moment the dialog opened.
#include <windows.h>
#include <commdlg.h>

#include "app/preview_layout.h"
#include "app/win32/resource.h"
#include "app/win32/shell.h"

namespace quillon::win32 {

namespace {

ColorScheme savedColors;
COLORREF customColors[16] = {};  // shared by every chooser while the program runs

struct Swatch {
  const char* className;
  const char* text;
  int placeholder;
  ColorRef ColorScheme::*color;
};

const Swatch swatches[] = {
    {"ControlClass1", "control1", IDC_BACKGROUND_SWATCH, &ColorScheme::background},
    {"ControlClass2", "control2", IDC_DEFAULT_SWATCH, &ColorScheme::defaultText},
    {"ControlClass3", "control3", IDC_KEYWORD_SWATCH, &ColorScheme::keyword},
    {"ControlClass4", "control4", IDC_COMMENT_SWATCH, &ColorScheme::comment},
    {"ControlClass5", "control5", IDC_STRING_SWATCH, &ColorScheme::string},
    {"ControlClass6", "control6", IDC_NUMBER_SWATCH, &ColorScheme::number},
    {"ControlClass7", "control7", IDC_PREPROCESSOR_SWATCH, &ColorScheme::preprocessor},
};

void chooseColor(ColorRef& color) {
  CHOOSECOLORA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = GetForegroundWindow();
  request.rgbResult = color;
  request.lpCustColors = customColors;
  request.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR | CC_ANYCOLOR;
  if (ChooseColorA(&request)) color = request.rgbResult;
  RedrawWindow(static_cast<HWND>(shell.run.outputWindow), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void fill(HWND window, HDC dc, ColorRef color) {
  RECT area;
  GetClientRect(window, &area);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

LRESULT CALLBACK swatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  const auto* swatch = reinterpret_cast<const Swatch*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (swatch && message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    fill(window, dc, shell.settings.colors.*(swatch->color));
    EndPaint(window, &paint);
  } else if (swatch && message == WM_LBUTTONDOWN) {
    chooseColor(shell.settings.colors.*(swatch->color));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void paintExample(HWND window, HDC dc) {
  fill(window, dc, shell.settings.colors.background);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ original = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, "Courier New");
  SelectObject(dc, font);
  for (const PreviewGlyph& glyph :
       layoutPreview(shell.settings.colors, metrics.tmHeight + 2, GetTextColor(dc),
                     shell.settings.richColours)) {
    SetTextColor(dc, glyph.color);
    TextOutA(dc, glyph.x, glyph.y, &glyph.character, 1);
  }
  SelectObject(dc, original);
  DeleteObject(font);
}

LRESULT CALLBACK exampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paintExample(window, dc);
    EndPaint(window, &paint);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);  // a second registration fails harmlessly
}

/// A child window over the hidden placeholder `id`, covering it exactly.
void createOver(HWND dialog, int id, const char* className, const char* text, void* param) {
  RECT area;
  GetWindowRect(GetDlgItem(dialog, id), &area);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
  CreateWindowExA(WS_EX_CLIENTEDGE, className, text, WS_CHILD | WS_VISIBLE, area.left, area.top,
                  area.right - area.left, area.bottom - area.top, dialog, nullptr, instance,
                  param);
}

void openColorPicker(HWND dialog) {
  savedColors = shell.settings.colors;
  for (const Swatch& swatch : swatches) {
    registerClass(swatch.className, swatchProc);
    createOver(dialog, swatch.placeholder, swatch.className, swatch.text,
               const_cast<Swatch*>(&swatch));
  }
  registerClass("ExampleHTML", exampleProc);
  createOver(dialog, IDC_EXAMPLE, "ExampleHTML", "Example HTML", nullptr);

  RECT main;
  GetWindowRect(static_cast<HWND>(shell.run.outputWindow), &main);
  SetWindowPos(dialog, nullptr, main.left + 50, main.top + 100, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  shell.run.outputWindow = dialog;
}

INT_PTR CALLBACK colorPickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      openColorPicker(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        shell.settings.colors = savedColors;
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_CLOSE:
      shell.settings.colors = savedColors;
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void showColorPicker() {
  showModalDialog(IDD_COLOR_PICKER, colorPickerProc);
  shell.run.outputWindow = mainWindow;
  SetForegroundWindow(mainWindow);
}

}  // namespace quillon::win32
