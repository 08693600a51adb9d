// The small commands of the main menu: the font face of the pages and the help file.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "app/win32/shell.h"
#include "platform/platform.h"

namespace quillon::win32 {

void pickFont() {
  // Always from an empty face: the chooser does not show the current one.
  LOGFONTA font{};
  CHOOSEFONTA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = static_cast<HWND>(shell.run.outputWindow);
  request.lpLogFont = &font;
  request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_SELECTSCRIPT;
  if (ChooseFontA(&request)) shell.settings.fontFace = font.lfFaceName;  // style and size unused
}

void openHelp() {
  const std::string help = platform::resolvePath(shell.run.currentDirectory, "Quillon.chm");
  ShellExecuteA(mainWindow, "open", help.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace quillon::win32
