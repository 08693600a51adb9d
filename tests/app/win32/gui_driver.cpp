// Drives quillon.exe from outside, as a user would, through window messages: it finds the
// windows by class and title, reads lists and texts, presses buttons and answers the
// message boxes. Every wait has a time limit; a failure ends quillon.exe and says what
// was expected.
//
//   gui_driver full <quillon.exe> <work folder> <screenshot folder>
//   gui_driver package <quillon.exe> <file or project to convert> <page it must write>
//   gui_driver links <quillon.exe> <reference links file it must write> <word to add>
//
// Screenshots are asked for by writing NAME.request (the window's geometry, WxH+X+Y) into
// the screenshot folder; the script that runs the driver takes them and writes NAME.done.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "quillon_version.h"
#include "tests/app/win32/driver_windows.h"

using namespace driver;

namespace {

// ------------------------------------------------------------------ the Output dialog

/// Waits for a run's Output dialog, checks the button states around the closing prompt,
/// answers it with No, and returns the list once OK is enabled. The dialog stays open.
std::vector<std::string> finishRun(HWND* dialogOut, const std::string& screenshotName = "") {
  HWND dialog = waitForWindow("#32770", "Output", 60);
  HWND list = GetDlgItem(dialog, 1011);
  expect(list != nullptr, "the Output dialog has its list 1011");
  expect(textOf(GetDlgItem(dialog, IDCANCEL)) == "Stop", "the Output dialog has Stop");
  HWND box = waitForWindow("#32770", "Prompt", 60);
  expect(findChild(box, "Static", "Would you like to open the file?") != nullptr,
         "the closing prompt asks \"Would you like to open the file?\"");
  expect(!IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)), "Stop is disabled before the prompt");
  expect(!IsWindowEnabled(GetDlgItem(dialog, IDOK)) || !IsWindowEnabled(dialog),
         "OK stays disabled until the prompt is answered");
  answerBox("Prompt", "Would you like to open the file?", IDNO);
  waitUntil("OK to be enabled", 30, [&] { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != 0; });
  if (!screenshotName.empty()) screenshot(screenshotName, dialog);
  *dialogOut = dialog;
  return listLines(list);
}

void closeWithOk(HWND dialog) {
  click(dialog, IDOK);
  waitForWindowGone(dialog, "the Output dialog");
}

/// The body's colour attribute of a written page.
std::string backgroundOf(const std::string& page) {
  const std::string text = readFile(page);
  const size_t at = text.find("<body bgcolor=\"");
  if (at == std::string::npos) fail(page + " has no body tag");
  return text.substr(at + 15, 7);
}

// ------------------------------------------------------------------ menus

struct MenuItemText {
  int id;
  const char* text;
};

const MenuItemText expectedItems[] = {
    {40014, "Convert &File                Ctrl+F"},
    {40030, "Convert &Project          Ctrl+P"},
    {40002, "&Quit                             Ctrl+Q"},
    {40020, "Pick &Colors                        Ctrl+C"},
    {40006, "Pick Fo&nt                           Ctrl+N"},
    {40034, "Default &Output Directory  Ctrl+O"},
    {40038, "Create/Edit &Reference Links"},
    {40040, "Line &Numbers"},
    {40042, "&Modern Keywords"},
    {40044, "Cross-&References"},
    {40046, "&Rich Colours"},
    {40052, "&Text Search"},
    {40054, "&Incremental"},
    {40048, "&Light"},
    {40050, "&Dark"},
    {40025, "Help...         Ctrl+H"},
    {40010, "&About          Ctrl+A"},
};

std::string menuString(HMENU menu, UINT item, UINT flags) {
  char text[256] = "";
  GetMenuStringA(menu, item, text, sizeof text, flags);
  return text;
}

void checkMenu(HMENU menu, const std::string& where) {
  expect(GetMenuItemCount(menu) == 3, where + ": the menu bar has three popups");
  expect(menuString(menu, 0, MF_BYPOSITION) == "&File", where + ": first popup \"&File\"");
  expect(menuString(menu, 1, MF_BYPOSITION) == "&Settings", where + ": second popup \"&Settings\"");
  expect(menuString(menu, 2, MF_BYPOSITION) == "Help", where + ": third popup \"Help\"");
  for (const MenuItemText& item : expectedItems)
    expect(menuString(menu, item.id, MF_BYCOMMAND) == item.text,
           where + ": menu item " + std::to_string(item.id) + " reads \"" + item.text + "\"");
}

/// The check mark of a menu item (Default Output Directory unless told) in the running
/// program's menu; -1 when the menu of another process cannot be read on this system.
int liveCheckMark(HWND mainWindow, UINT item = 40034) {
  HMENU menu = GetMenu(mainWindow);
  if (!menu || GetMenuItemCount(menu) != 3) return -1;
  const UINT state = GetMenuState(menu, item, MF_BYCOMMAND);
  if (state == static_cast<UINT>(-1)) return -1;
  return (state & MF_CHECKED) ? 1 : 0;
}

// ------------------------------------------------------------------ dialogs of commands

void command(HWND mainWindow, int id) { PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

/// Chooses `path` in the open-file dialog that a conversion command shows.
void chooseInOpenDialog(const std::string& path) {
  HWND dialog = waitForWindow("#32770", "Open", 30);
  HWND name = GetDlgItem(dialog, 1148);  // the file name box (cmb13)
  if (!name) name = GetDlgItem(dialog, 1152);  // older layout (edt1)
  expect(name != nullptr, "the open-file dialog has a file name box");
  setText(name, path);
  click(dialog, IDOK);
  waitForWindowGone(dialog, "the open-file dialog");
}

/// Sets the colour chooser that a swatch click opened to `rgb` and confirms it.
void chooseColor(HWND picker, const char* swatchClass, int red, int green, int blue) {
  HWND swatch = findChild(picker, swatchClass, "");
  expect(swatch != nullptr, std::string("the Color Picker has its swatch ") + swatchClass);
  PostMessageA(swatch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageA(swatch, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  HWND chooser = nullptr;
  waitUntil("the colour chooser", 30, [&] {
    chooser = findTopWindow("#32770", "Color");
    if (!chooser) chooser = findTopWindow("#32770", "Colour");
    return chooser != nullptr;
  });
  const int ids[] = {706, 707, 708};  // red, green, blue boxes
  const int values[] = {red, green, blue};
  for (int i = 0; i < 3; ++i) {
    HWND box = GetDlgItem(chooser, ids[i]);
    expect(box != nullptr, "the colour chooser has its red, green and blue boxes");
    setText(box, std::to_string(values[i]));
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(ids[i], EN_UPDATE), reinterpret_cast<LPARAM>(box));
  }
  Sleep(300);
  click(chooser, IDOK);
  waitForWindowGone(chooser, "the colour chooser");
}

/// Convert File on `path` with the default output directory; the page's background.
std::string convertChosenFile(HWND mainWindow, const std::string& path, const std::string& page) {
  DeleteFileA(page.c_str());
  command(mainWindow, 40014);
  chooseInOpenDialog(path);
  HWND dialog = nullptr;
  const std::vector<std::string> lines = finishRun(&dialog);
  expect(lines.size() == 2 && lines[1] == "Successfully converted files: 1",
         "Convert File lists one converted file: " + joined(lines));
  closeWithOk(dialog);
  return backgroundOf(page);
}

// ------------------------------------------------------------------ the scenarios

/// Many small files on the command line make a run that lasts long enough to stop it.
std::vector<std::string> manyFiles(const std::string& folder, int count) {
  const std::string many = folder + "\\many";
  CreateDirectoryA(many.c_str(), nullptr);
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    paths.push_back(many + "\\f" + std::to_string(i) + ".cpp");
    writeFile(paths.back(), "int f" + std::to_string(i) + "() { return " + std::to_string(i) + "; }\r\n");
  }
  return paths;
}

HWND waitForFirstConvertingLine(HWND* mainWindow) {
  *mainWindow = waitForWindow("Tarnwick", "Quillon", 60);
  HWND dialog = waitForWindow("#32770", "Output", 60);
  waitUntil("the run's first \"Converting\" line", 60, [&] {
    for (const std::string& line : listLines(GetDlgItem(dialog, 1011)))
      if (line.rfind("Converting ", 0) == 0) return true;
    return false;
  });
  return dialog;
}

void stopScenario(const std::string& program, const std::string& folder) {
  const std::vector<std::string> files = manyFiles(folder, 150);

  say("11. Stop during a run: No goes on, Yes ends the list with the cancel line");
  startQuillon(program, files, folder);
  HWND mainWindow = nullptr;
  HWND dialog = waitForFirstConvertingLine(&mainWindow);
  HWND list = GetDlgItem(dialog, 1011);
  click(dialog, IDCANCEL);
  answerBox("Prompt", "Are you sure you want to stop converting?", IDNO);
  const size_t before = listLines(list).size();
  waitUntil("the run to go on after No", 30, [&] { return listLines(list).size() > before; });
  click(dialog, IDCANCEL);
  answerBox("Prompt", "Are you sure you want to stop converting?", IDYES);
  waitUntil("OK after the stop", 30, [&] { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != 0; });
  waitUntil("the cancel line", 30, [&] {
    const std::vector<std::string> lines = listLines(list);
    return !lines.empty() && lines.back() == "Conversion was canceled.";
  });
  Sleep(1000);  // nothing of the stopped run may follow
  const std::vector<std::string> lines = listLines(list);
  expect(lines.back() == "Conversion was canceled.", "the cancel line stays last: " + lines.back());
  expect(!IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)), "Stop is disabled after the stop");
  size_t converting = 0;
  for (const std::string& line : lines) converting += line.rfind("Converting ", 0) == 0;
  expect(converting < files.size(), "the stopped run converted fewer than all files");
  say("  stopped after %u of %u files; the cancel line is last", static_cast<unsigned>(converting),
      static_cast<unsigned>(files.size()));
  closeWithOk(dialog);
  pressEscape(mainWindow);
  CloseHandle(quillon.hProcess);
  CloseHandle(quillon.hThread);

  say("12. The close box during a run stops it and the program goes on");
  startQuillon(program, files, folder);
  dialog = waitForFirstConvertingLine(&mainWindow);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  waitForWindowGone(dialog, "the Output dialog after its close box");
  Sleep(500);
  expect(findTopWindow("#32770", "Prompt") == nullptr, "no closing prompt after the close box");
  pressEscape(mainWindow);
}

/// Steps 1 and 2: the window, and the file of the command line converted at once.
HWND startWithFile(const std::string& program, const std::string& folder,
                   const std::string& file) {
  say("1. start with a file on the command line");
  startQuillon(program, {file}, folder);
  HWND mainWindow = waitForWindow("Tarnwick", "Quillon", 60);
  say("  main window: class Tarnwick, title Quillon");
  RECT client;
  GetClientRect(mainWindow, &client);
  expect(client.right == 640, "the client area is 640 pixels wide, not " + std::to_string(client.right));
  expect(client.bottom > 400 && client.bottom < 496,
         "the menu bar takes its height out of 496 pixels: " + std::to_string(client.bottom));
  expect((GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0,
         "the main window accepts dropped files");

  say("2. the command line's file is converted in the Output dialog");
  HWND output = nullptr;
  const std::vector<std::string> lines = finishRun(&output, "output_dialog");
  expect(joined(lines) == "[Converting hello.cpp....][Successfully converted files: 1]",
         "Output list: " + joined(lines));
  expect(!IsWindowEnabled(GetDlgItem(output, IDCANCEL)), "Stop is disabled at the end");
  closeWithOk(output);
  expect(backgroundOf(file + ".htm") == "#ffffff", "hello.cpp.htm has the default background");
  screenshot("main_window", mainWindow);
  return mainWindow;
}

/// Step 3: the menu as built into quillon.exe, and as running when it can be read.
/// Returns the running check mark, or -1 when it cannot be read.
int checkMenus(const std::string& program, HWND mainWindow) {
  say("3. menu texts and the Default Output Directory check mark");
  HMODULE resources = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  expect(resources != nullptr, "quillon.exe's resources can be read");
  HMENU menu = LoadMenuA(resources, "TW_Menu");
  expect(menu != nullptr, "quillon.exe has the menu TW_Menu");
  checkMenu(menu, "resource");
  expect((GetMenuState(menu, 40034, MF_BYCOMMAND) & MF_CHECKED) != 0,
         "Default Output Directory starts checked");
  for (UINT item : {40040u, 40042u, 40044u, 40046u, 40050u, 40052u, 40054u})
    expect((GetMenuState(menu, item, MF_BYCOMMAND) & MF_CHECKED) == 0,
           "Line Numbers, Modern Keywords, Cross-References, Rich Colours, the dark "
           "theme, Text Search and Incremental start unchecked");
  expect((GetMenuState(menu, 40048, MF_BYCOMMAND) & MF_CHECKED) != 0, "the light theme starts checked");
  DestroyMenu(menu);
  FreeLibrary(resources);
  const int liveMark = liveCheckMark(mainWindow);
  if (liveMark < 0) {
    say("  (the running program's menu cannot be read from another process here; the");
    say("   toggle is checked through its effect on Convert File instead)");
  } else {
    checkMenu(GetMenu(mainWindow), "running program");
    expect(liveMark == 1, "the check mark is on at start");
  }
  return liveMark;
}

HWND findFolderPrompt() {
  HWND prompt = nullptr;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == quillon.dwProcessId && IsWindowVisible(window) &&
            findChild(window, "Static", "Choose Output Directory")) {
          *reinterpret_cast<HWND*>(param) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&prompt));
  return prompt;
}

/// Step 4: with the toggle off, Convert File asks for the output folder.
void toggleOutputDirectory(HWND mainWindow, int liveMark, const std::string& file) {
  say("4. Default Output Directory off: Convert File asks for the output folder");
  command(mainWindow, 40034);
  if (liveMark >= 0)
    waitUntil("the check mark to go", 10, [&] { return liveCheckMark(mainWindow) == 0; });
  command(mainWindow, 40014);
  chooseInOpenDialog(file);
  HWND prompt = nullptr;
  waitUntil("the \"Choose Output Directory\" prompt", 30, [&] {
    prompt = findFolderPrompt();
    return prompt != nullptr;
  });
  click(prompt, IDCANCEL);
  waitForWindowGone(prompt, "the folder prompt");
  Sleep(1500);
  expect(findTopWindow("#32770", "Output") == nullptr, "a cancelled folder prompt starts no run");
  command(mainWindow, 40034);
  if (liveMark >= 0)
    waitUntil("the check mark to come back", 10, [&] { return liveCheckMark(mainWindow) == 1; });
  say("  toggled off and on again");
}

/// Steps 5 and 6: Cancel puts the colours back, OK keeps them (seen in the next page).
void pickColors(HWND mainWindow, const std::string& file) {
  say("5. Color Picker: Cancel puts the colours back");
  command(mainWindow, 40020);
  HWND picker = waitForWindow("#32770", "Color Picker");
  for (const char* name : {"ControlClass1", "ControlClass2", "ControlClass3", "ControlClass4",
                           "ControlClass5", "ControlClass6", "ControlClass7", "ExampleHTML"})
    expect(findChild(picker, name, "") != nullptr, std::string("the Color Picker shows ") + name);
  chooseColor(picker, "ControlClass1", 0x12, 0x34, 0x56);
  screenshot("color_picker", picker);
  click(picker, IDCANCEL);
  waitForWindowGone(picker, "the Color Picker");
  std::string background = convertChosenFile(mainWindow, file, file + ".htm");
  expect(background == "#ffffff", "after Cancel the page background is #ffffff, not " + background);
  say("  after Cancel: %s", background.c_str());

  say("6. Color Picker: OK keeps the chosen colour");
  command(mainWindow, 40020);
  picker = waitForWindow("#32770", "Color Picker");
  chooseColor(picker, "ControlClass1", 0x12, 0x34, 0x56);
  click(picker, IDOK);
  waitForWindowGone(picker, "the Color Picker");
  background = convertChosenFile(mainWindow, file, file + ".htm");
  expect(background == "#123456", "after OK the page background is #123456, not " + background);
  say("  after OK: %s", background.c_str());
}

/// Step 7: Line Numbers and Modern Keywords, each turned on and off again, seen in the
/// pages of Convert File.
void toggleReadingSettings(HWND mainWindow, int liveMark, const std::string& folder) {
  say("7. Line Numbers and Modern Keywords: on, then off again");
  const std::string file = folder + "\\modern.cpp";
  writeFile(file, "auto p = nullptr;\r\nint q;\r\n");
  const std::string anchor = "<nobr><a id=\"L2\" href=\"#L2\"></a>";
  const std::string keyword = ">nullptr</font>";
  for (bool on : {true, false}) {
    for (UINT item : {40040u, 40042u}) {
      command(mainWindow, item);
      if (liveMark >= 0)
        waitUntil("the check mark to follow", 10,
                  [&] { return liveCheckMark(mainWindow, item) == (on ? 1 : 0); });
    }
    convertChosenFile(mainWindow, file, file + ".htm");
    const std::string page = readFile(file + ".htm");
    const char* state = on ? "on" : "off";
    expect((page.find(anchor) != std::string::npos) == on,
           std::string("with Line Numbers ") + state + " the page's lines have " +
               (on ? "anchors" : "no anchors"));
    expect((page.find("content:counter(line)") != std::string::npos) == on,
           std::string("with Line Numbers ") + state + " the head has the gutter's style");
    expect((page.find(keyword) != std::string::npos) == on,
           std::string("with Modern Keywords ") + state + " nullptr is " + (on ? "" : "not ") +
               "coloured");
    say("  %s: anchors, gutter and nullptr %s", state, on ? "there" : "gone");
  }
}

/// Step 7a: Rich Colours on, a string colour picked: the page of Convert File shows its
/// string in that colour; off again, it shows none.
void richColoursScenario(HWND mainWindow, int liveMark, const std::string& folder) {
  say("7a. Rich Colours: on, a string colour picked, then off again");
  const std::string file = folder + "\\rich.cpp";
  writeFile(file, "const char* s = \"hi\"; // \"no\"\r\nint n = 0x1F;\r\n");
  command(mainWindow, 40046);
  if (liveMark >= 0)
    waitUntil("the check mark to follow", 10, [&] { return liveCheckMark(mainWindow, 40046) == 1; });
  command(mainWindow, 40020);
  HWND picker = waitForWindow("#32770", "Color Picker");
  chooseColor(picker, "ControlClass5", 0xAB, 0xCD, 0xEF);
  screenshot("color_picker_rich", picker);
  click(picker, IDOK);
  waitForWindowGone(picker, "the Color Picker");
  convertChosenFile(mainWindow, file, file + ".htm");
  std::string page = readFile(file + ".htm");
  expect(page.find("<font color=\"#abcdef\">\"hi\"</font>") != std::string::npos,
         "with Rich Colours the string is in the colour picked");
  expect(page.find("#abcdef\">\"no\"") == std::string::npos, "a quote in a comment stays comment");
  expect(page.find(">0x1F</font>") != std::string::npos, "the number is coloured");
  command(mainWindow, 40046);
  if (liveMark >= 0)
    waitUntil("the check mark to go", 10, [&] { return liveCheckMark(mainWindow, 40046) == 0; });
  convertChosenFile(mainWindow, file, file + ".htm");
  page = readFile(file + ".htm");
  expect(page.find("#abcdef") == std::string::npos, "with Rich Colours off no string is coloured");
  say("  on: the string in #abcdef; off: none");
}

/// Step 7b: Cross-References on, Convert Project makes a workspace whose pages carry their
/// line anchors and whose call of a function leads to its definition in the other file; off
/// again, neither.
void crossReferencesScenario(HWND mainWindow, int liveMark, const std::string& folder) {
  say("7b. Cross-References: on for a project, then off again");
  const std::string project = folder + "\\xref";
  CreateDirectoryA(project.c_str(), nullptr);
  writeFile(project + "\\area.c", "int area(int w, int h) { return w * h; }\r\n");
  writeFile(project + "\\main.c", "int area(int w, int h);\r\nint main(void) { return area(2, 3); }\r\n");
  writeFile(project + "\\Xref.vcproj",
            "<VisualStudioProject\r\n\tName=\"Xref\"\r\n\t>\r\n\t<Files>\r\n"
            "\t\t<File RelativePath=\".\\main.c\">\r\n\t\t</File>\r\n"
            "\t\t<File RelativePath=\".\\area.c\">\r\n\t\t</File>\r\n"
            "\t</Files>\r\n</VisualStudioProject>\r\n");
  const std::string page = project + "\\Xref_HTML\\main.c.htm";
  for (bool on : {true, false}) {
    command(mainWindow, 40044);
    if (liveMark >= 0)
      waitUntil("the check mark to follow", 10,
                [&] { return liveCheckMark(mainWindow, 40044) == (on ? 1 : 0); });
    DeleteFileA(page.c_str());
    command(mainWindow, 40030);
    chooseInOpenDialog(project + "\\Xref.vcproj");
    HWND dialog = nullptr;
    const std::vector<std::string> lines = finishRun(&dialog);
    expect(!lines.empty() && lines.back() == "Successfully converted files: 2",
           "Convert Project converts both files: " + joined(lines));
    closeWithOk(dialog);
    const std::string text = readFile(page);
    const char* state = on ? "on" : "off";
    expect((text.find("<nobr id=L2>") != std::string::npos) == on,
           std::string("with Cross-References ") + state + " the page's lines have " +
               (on ? "anchors" : "no anchors"));
    expect((text.find("<a href=area.c.htm#x1.4>") != std::string::npos) == on,
           std::string("with Cross-References ") + state + " the call of area " +
               (on ? "leads to its definition in area.c" : "is plain text"));
    say("  %s: line anchors and the link to area's definition %s", state, on ? "there" : "gone");
  }
}

/// Step 7c: Text Search on, Convert Project makes a workspace with its text index and
/// pages with line anchors; off again, neither.
void textSearchScenario(HWND mainWindow, int liveMark, const std::string& folder) {
  say("7c. Text Search: on for a project, then off again");
  const std::string project = folder + "\\text";
  CreateDirectoryA(project.c_str(), nullptr);
  writeFile(project + "\\area.c", "int area(int w, int h)\r\n{ return w * h; }\r\n");
  writeFile(project + "\\Text.vcproj",
            "<VisualStudioProject\r\n\tName=\"Text\"\r\n\t>\r\n\t<Files>\r\n"
            "\t\t<File RelativePath=\".\\area.c\">\r\n\t\t</File>\r\n"
            "\t</Files>\r\n</VisualStudioProject>\r\n");
  const std::string workspace = project + "\\Text_HTML";
  const std::string index = workspace + "\\text\\index.js";
  for (bool on : {true, false}) {
    command(mainWindow, 40052);
    if (liveMark >= 0)
      waitUntil("the check mark to follow", 10,
                [&] { return liveCheckMark(mainWindow, 40052) == (on ? 1 : 0); });
    DeleteFileA(index.c_str());
    DeleteFileA((workspace + "\\area.c.htm").c_str());
    command(mainWindow, 40030);
    chooseInOpenDialog(project + "\\Text.vcproj");
    HWND dialog = nullptr;
    const std::vector<std::string> lines = finishRun(&dialog);
    expect(!lines.empty() && lines.back() == "Successfully converted files: 1",
           "Convert Project converts the file: " + joined(lines));
    closeWithOk(dialog);
    const char* state = on ? "on" : "off";
    expect(fileExists(index) == on, std::string("with Text Search ") + state +
                                        " the workspace " + (on ? "has" : "has no") + " text index");
    const std::string page = readFile(workspace + "\\area.c.htm");
    expect((page.find("<nobr id=L2>") != std::string::npos) == on,
           std::string("with Text Search ") + state + " the page's lines have " +
               (on ? "anchors" : "no anchors"));
    if (on)
      expect(readFile(index).find("\"area.c.htm\"") != std::string::npos,
             "the text index names the page");
    say("  %s: text index %s", state, on ? "there" : "gone");
  }
}

/// Step 7d: Incremental on, Convert Project twice: the second run keeps the page that did
/// not change and converts the one that did.
void incrementalScenario(HWND mainWindow, int liveMark, const std::string& folder) {
  say("7d. Incremental: a project converted twice, one of its files changed between");
  const std::string project = folder + "\\incremental";
  CreateDirectoryA(project.c_str(), nullptr);
  writeFile(project + "\\a.c", "int a;\r\n");
  writeFile(project + "\\b.c", "int b;\r\n");
  writeFile(project + "\\Inc.vcproj",
            "<VisualStudioProject\r\n\tName=\"Inc\"\r\n\t>\r\n\t<Files>\r\n"
            "\t\t<File RelativePath=\".\\a.c\">\r\n\t\t</File>\r\n"
            "\t\t<File RelativePath=\".\\b.c\">\r\n\t\t</File>\r\n"
            "\t</Files>\r\n</VisualStudioProject>\r\n");
  command(mainWindow, 40054);
  if (liveMark >= 0)
    waitUntil("the check mark to follow", 10, [&] { return liveCheckMark(mainWindow, 40054) == 1; });
  for (int round = 0; round < 2; ++round) {
    if (round == 1) writeFile(project + "\\b.c", "int b, c;\r\n");
    command(mainWindow, 40030);
    chooseInOpenDialog(project + "\\Inc.vcproj");
    HWND dialog = nullptr;
    const std::vector<std::string> lines = finishRun(&dialog);
    closeWithOk(dialog);
    const std::string converted = round == 0 ? "Successfully converted files: 2"
                                             : "Successfully converted files: 1";
    expect(!lines.empty() && lines.back() == converted,
           "round " + std::to_string(round + 1) + " converts what changed: " + joined(lines));
    if (round == 1)
      expect(std::find(lines.begin(), lines.end(), "Unchanged pages kept: 1") != lines.end(),
             "the second run says it kept a page: " + joined(lines));
  }
  expect(fileExists(project + "\\Inc_HTML\\Quillon.manifest"), "the workspace keeps its manifest");
  expect(readFile(project + "\\Inc_HTML\\b.c.htm").find("c;") != std::string::npos,
         "the changed file's page is new");
  command(mainWindow, 40054);  // off again
  say("  the second run kept one page and converted the changed one");
}

/// A reference link added through the dialog ("http://example.invalid/WORD", marked for
/// C/C++) is in the reference links file `linksFile` at once.
void addReferenceLink(HWND mainWindow, const std::string& linksFile, const std::string& word) {
  command(mainWindow, 40038);
  HWND links = waitForWindow("#32770", "Custom Reference Links");
  expect(textOf(GetDlgItem(links, 1017)) == "http://", "the link field starts with http://");
  expect(!IsWindowEnabled(GetDlgItem(links, 1027)), "Update starts disabled");
  const size_t before = listLines(GetDlgItem(links, 1015)).size();
  const std::string link = "http://example.invalid/" + word;
  setText(GetDlgItem(links, 1016), word);
  setText(GetDlgItem(links, 1017), link);
  SendMessageTimeoutA(GetDlgItem(links, 1022), BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG,
                      5000, nullptr);
  click(links, 1021);
  answerBox("Message", "Successfully added!", IDOK);
  waitUntil("the new word in the list", 10, [&] {
    const std::vector<std::string> words = listLines(GetDlgItem(links, 1015));
    return words.size() == before + 1 && std::find(words.begin(), words.end(), word) != words.end();
  });
  screenshot("reference_links", links);
  click(links, 1028);
  waitForWindowGone(links, "the reference links dialog");
  const std::string file = readFile(linksFile);
  const std::string item =
      "<item> <cpp/> <word> " + word + "</word>  <link> " + link + " </link> </item> \r\n";
  expect(file.find(item) != std::string::npos, linksFile + " holds the new item: " + file);
  say("  %s holds the new item", linksFile.c_str());
}

/// The version in the program's version resource.
std::string resourceVersion(const std::string& program) {
  std::vector<char> data(GetFileVersionInfoSizeA(program.c_str(), nullptr));
  char* value = nullptr;
  UINT length = 0;
  if (data.empty() || !GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductVersion",
                      reinterpret_cast<void**>(&value), &length) || !value)
    return "";
  return value;
}

/// The About dialog shows its picture window and the version, and ends with OK.
void showAbout(const std::string& program, HWND mainWindow) {
  say("9. About shows the picture and the version");
  expect(resourceVersion(program) == QUILLON_VERSION,
         "the version resource says " QUILLON_VERSION ", not " + resourceVersion(program));
  command(mainWindow, 40010);
  HWND about = waitForWindow("#32770", "About");
  HWND picture = findChild(about, "PictureClass", "A Picture");
  expect(picture != nullptr, "the About dialog has its picture window");
  const std::string closing = "Quillon " QUILLON_VERSION " - enjoy reading your sources.";
  bool versionShown = false;
  for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = textOf(child);
    versionShown = versionShown || (text.size() >= closing.size() &&
                                    text.compare(text.size() - closing.size(), closing.size(), closing) == 0);
  }
  expect(versionShown, "the About text ends with \"" + closing + "\"");
  RECT area;
  GetClientRect(picture, &area);
  expect(area.right > 150 && area.right <= 176, "the picture window is about 176 pixels wide");
  screenshot("about", about);
  click(about, IDCANCEL);  // Escape does nothing here
  Sleep(300);
  expect(IsWindowVisible(about) != 0, "the About dialog ignores Escape");
  click(about, IDOK);
  waitForWindowGone(about, "the About dialog");
}

/// Step 13: a folder given on the command line (handled as a drop) becomes its workspace.
void folderScenario(const std::string& program, const std::string& folder) {
  say("13. a folder on the command line becomes a workspace of its sources");
  const std::string tree = folder + "\\tree";
  CreateDirectoryA(tree.c_str(), nullptr);
  CreateDirectoryA((tree + "\\lib").c_str(), nullptr);
  CreateDirectoryA((tree + "\\.git").c_str(), nullptr);
  writeFile(tree + "\\lib\\shape.cpp", "#include \"shape.h\"\r\nclass Circle { int r; };\r\n");
  writeFile(tree + "\\lib\\shape.h", "class Shape { int n; };\r\n");
  writeFile(tree + "\\.git\\config.c", "int config;\r\n");
  startQuillon(program, {tree}, folder);
  HWND mainWindow = waitForWindow("Tarnwick", "Quillon", 60);
  HWND output = nullptr;
  const std::vector<std::string> lines = finishRun(&output);
  say("  Output list: %s", joined(lines).c_str());
  expect(joined(lines) ==
             "[Left out of tree: 1 version-control folder (.git)][Preprocessing class-tree data...]"
             "[Converting shape.cpp....][Converting shape.h....][Successfully converted files: 2]",
         "the folder's run lists what it left out and converts its sources: " + joined(lines));
  closeWithOk(output);
  expect(fileExists(folder + "\\tree_Project.htm"), "the folder's index page is beside it");
  expect(fileExists(folder + "\\tree_HTML\\shape.cpp.htm"), "the folder's pages are in tree_HTML");
  expect(fileExists(folder + "\\tree_HTML\\Tree.js"), "the tree pages' script is in tree_HTML");
  expect(fileExists(folder + "\\tree_HTML\\SearchIndex.js"), "the trees' search index is in tree_HTML");
  pressEscape(mainWindow);
  CloseHandle(quillon.hProcess);
  CloseHandle(quillon.hThread);
}

int fullScenario(const std::string& program, const std::string& folder) {
  const std::string first = folder + "\\hello.cpp";
  const std::string second = folder + "\\second.cpp";
  writeFile(first, "#include <stdio.h>\r\n// greets\r\nint main() { return 0; }\r\n");
  writeFile(second, "class Second { int x; };\r\n");
  DeleteFileA((folder + "\\ReferenceLinks.xml").c_str());
  DeleteFileA((first + ".htm").c_str());

  HWND mainWindow = startWithFile(program, folder, first);
  const int liveMark = checkMenus(program, mainWindow);
  toggleOutputDirectory(mainWindow, liveMark, second);
  pickColors(mainWindow, second);
  toggleReadingSettings(mainWindow, liveMark, folder);
  richColoursScenario(mainWindow, liveMark, folder);
  crossReferencesScenario(mainWindow, liveMark, folder);
  textSearchScenario(mainWindow, liveMark, folder);
  incrementalScenario(mainWindow, liveMark, folder);
  say("8. Custom Reference Links: Add writes ReferenceLinks.xml in the current directory");
  addReferenceLink(mainWindow, folder + "\\ReferenceLinks.xml", "driverword");
  showAbout(program, mainWindow);
  say("10. Escape ends the program");
  pressEscape(mainWindow);
  CloseHandle(quillon.hProcess);
  CloseHandle(quillon.hThread);

  stopScenario(program, folder);
  folderScenario(program, folder);
  return 0;
}

int packageScenario(const std::string& program, const std::string& input,
                    const std::string& page) {
  DeleteFileA(page.c_str());
  std::string folder = input.substr(0, input.find_last_of('\\'));
  startQuillon(program, {input}, folder);
  HWND mainWindow = waitForWindow("Tarnwick", "Quillon", 60);
  HWND output = nullptr;
  const std::vector<std::string> lines = finishRun(&output);
  say("  Output list: %s", joined(lines).c_str());
  expect(!lines.empty() && lines.back().rfind("Successfully converted files: ", 0) == 0,
         "the run ends with its count");
  expect(lines.back() != "Successfully converted files: 0", "the run converted files");
  closeWithOk(output);
  expect(fileExists(page), "the run wrote " + page);
  say("  %s written", page.c_str());
  pressEscape(mainWindow);
  return 0;
}

/// The program started as its shortcut starts it, in its own folder: the dialog adds a
/// link for `word` to `linksFile`.
int linksScenario(const std::string& program, const std::string& linksFile,
                  const std::string& word) {
  startQuillon(program, {}, program.substr(0, program.find_last_of('\\')));
  HWND mainWindow = waitForWindow("Tarnwick", "Quillon", 60);
  addReferenceLink(mainWindow, linksFile, word);
  pressEscape(mainWindow);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: gui_driver full <quillon.exe> <work folder> <screenshot folder>\n"
                 "       gui_driver package <quillon.exe> <input> <page it must write>\n"
                 "       gui_driver links <quillon.exe> <links file it must write> <word>\n");
    return 2;
  }
  const std::string mode = argv[1];
  const std::string program = windowsPath(argv[2]);
  if (mode == "full") {
    screenshotFolder = windowsPath(argv[4]);
    return fullScenario(program, windowsPath(argv[3]));
  }
  if (mode == "package") return packageScenario(program, windowsPath(argv[3]), windowsPath(argv[4]));
  if (mode == "links") return linksScenario(program, windowsPath(argv[3]), argv[4]);
  std::fprintf(stderr, "gui_driver: unknown mode %s\n", mode.c_str());
  return 2;
}
