// Opening a page or web address in the browser: the shell first; when it cannot, the
// command registered for ".htm" files, read from the registry, with the target appended.
// Texts of any length are held in strings, so no value or target can overrun a buffer.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/browser_command.h"
#include "app/win32/shell.h"

namespace quillon::win32 {

namespace {

/// The default value of `key` under HKEY_CLASSES_ROOT, environment references expanded.
bool readDefaultValue(const std::string& key, std::string* value) {
  HKEY opened;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, size = 0;
  LONG result = RegQueryValueExA(opened, nullptr, nullptr, &type, nullptr, &size);
  std::string text;
  if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
    text.assign(size + 1, '\0');
    size = static_cast<DWORD>(text.size());
    result = RegQueryValueExA(opened, nullptr, nullptr, &type,
                              reinterpret_cast<BYTE*>(text.data()), &size);
  }
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  text.resize(text.find('\0'));
  if (type == REG_EXPAND_SZ) {
    const DWORD length = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    std::string expanded(length + 1, '\0');
    if (length && ExpandEnvironmentStringsA(text.c_str(), expanded.data(), length + 1)) {
      expanded.resize(expanded.find('\0'));
      text = expanded;
    }
  }
  *value = text;
  return true;
}

}  // namespace

void openInBrowser(const std::string& target) {
  const HINSTANCE opened = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(opened) > 32) return;
  std::string fileType, command;
  if (!readDefaultValue(".htm", &fileType)) return;
  if (!readDefaultValue(fileType + "\\shell\\open\\command", &command)) return;
  const std::string line = browserCommandLine(command, target);
  if (line.size() >= 32767) return;  // longer than any command line Windows starts
  WinExec(line.c_str(), SW_SHOW);
}

}  // namespace quillon::win32
