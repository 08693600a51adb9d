// Files and processes on Windows. Paths are 8-bit texts in the system's ANSI code page,
// as everywhere in the program, so the ANSI entry points are used throughout.
#include "platform/platform.h"

#include <windows.h>
#include <shellapi.h>
#include <io.h>

#include <algorithm>
#include <atomic>

namespace platform {

static bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isAbsolutePath(std::string_view path) {
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return true;
  if (path.size() >= 3 && path[1] == ':' && isSeparator(path[2])) return true;
  return !path.empty() && isSeparator(path[0]);
}

std::string joinPath(std::string_view directory, std::string_view name) {
  std::string out(directory);
  if (!out.empty() && !isSeparator(out.back())) out += '\\';
  out += name;
  return out;
}

std::string resolvePath(std::string_view directory, std::string_view name) {
  if (isAbsolutePath(name) || directory.empty()) return std::string(name);
  return joinPath(directory, name);
}

std::string currentDirectory() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  if (n == 0 || n >= sizeof buffer) return ".";
  return std::string(buffer, n);
}

std::string programDirectory() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return currentDirectory();
  std::string path(buffer, n);
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? currentDirectory() : path.substr(0, cut);
}

bool fileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool createDirectory(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && directoryExists(path);
}

bool copyFileNoReplace(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
  const std::string temporary = temporaryNameFor(to);
  if (!CopyFileA(from.c_str(), temporary.c_str(), TRUE)) return false;
  if (replaceFile(temporary, to)) return true;
  DeleteFileA(temporary.c_str());
  return false;
}

bool flushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool removeFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool createDirectoryAlias(const std::string& directory, const std::string&) {
  return directoryExists(directory);
}

static bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
  HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileInformationByHandle(h, info) != 0;
  CloseHandle(h);
  return ok;
}

bool sameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (!fileIdentity(a, &ia) || !fileIdentity(b, &ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

std::string fileNameAsUtf8(std::string_view name) {
  if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; }))
    return std::string(name);
  const int size = static_cast<int>(name.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, name.data(), size, nullptr, 0);
  if (wide <= 0) return std::string(name);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, name.data(), size, text.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string(name);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::string temporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(counter++);
}

bool listDirectory(const std::string& directory, std::vector<std::string>* files,
                   std::vector<std::string>* subdirectories) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(joinPath(directory, "*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (subdirectories) subdirectories->push_back(name);
    } else if (files) {
      files->push_back(name);
    }
  } while (FindNextFileA(h, &data));
  FindClose(h);
  if (files) std::sort(files->begin(), files->end());
  if (subdirectories) std::sort(subdirectories->begin(), subdirectories->end());
  return true;
}

bool readDirectory(const std::string& directory, std::vector<DirectoryEntry>* entries) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(joinPath(directory, "*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    DirectoryEntry entry;
    entry.name = data.cFileName;
    if (entry.name == "." || entry.name == "..") continue;
    const DWORD attributes = data.dwFileAttributes;
    entry.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.hidden = entry.name[0] == '.' || (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entries->push_back(std::move(entry));
  } while (FindNextFileA(h, &data));
  FindClose(h);
  std::sort(entries->begin(), entries->end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return true;
}

bool openWithShell(const std::string& target) {
  HINSTANCE r = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(r) > 32;
}

void sleepMilliseconds(int ms) { Sleep(static_cast<DWORD>(ms)); }

}  // namespace platform
