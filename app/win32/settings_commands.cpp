// The small commands of the main menu: the font face of the pages, the settings that are
// switched on and off, and the help file.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "app/win32/resource.h"
#include "app/win32/shell.h"
#include "engine/keyword_sets.h"
#include "engine/themes.h"
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

namespace {
/// Flips a setting and the check mark of its menu item.
bool toggleChecked(int item, bool on) {
  CheckMenuItem(GetMenu(mainWindow), item, MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
  return !on;
}
}  // namespace

void toggleLineNumbers() {
  shell.settings.lineNumbers = toggleChecked(IDM_LINE_NUMBERS, shell.settings.lineNumbers);
}

void toggleCrossReferences() {
  shell.settings.crossReferences =
      toggleChecked(IDM_CROSS_REFERENCES, shell.settings.crossReferences);
}

void toggleTextSearch() {
  shell.settings.textSearch = toggleChecked(IDM_TEXT_SEARCH, shell.settings.textSearch);
}

void toggleIncremental() {
  shell.settings.incremental = toggleChecked(IDM_INCREMENTAL, shell.settings.incremental);
}

void toggleRichColours() {
  shell.settings.richColours = toggleChecked(IDM_RICH_COLOURS, shell.settings.richColours);
}

void chooseTheme(Theme theme) {
  // A theme sets all seven colours; the Color Picker changes them one by one after.
  shell.settings.theme = theme;
  shell.settings.colors = themeColors(theme);
  CheckMenuRadioItem(GetMenu(mainWindow), IDM_THEME_LIGHT, IDM_THEME_DARK,
                     theme == Theme::Dark ? IDM_THEME_DARK : IDM_THEME_LIGHT, MF_BYCOMMAND);
}

void toggleModernKeywords() {
  // Commands are refused while a run is on: no page is being coloured with the old set.
  if (toggleChecked(IDM_MODERN_KEYWORDS, shell.settings.keywords != nullptr)) {
    KeywordAdditions modern;
    modern.modern = true;
    shell.settings.keywords = std::make_shared<const KeywordSet>(modern);
  } else {
    shell.settings.keywords.reset();
  }
}

void openHelp() {
  const std::string help = platform::resolvePath(shell.run.currentDirectory, "Quillon.chm");
  ShellExecuteA(mainWindow, "open", help.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace quillon::win32
