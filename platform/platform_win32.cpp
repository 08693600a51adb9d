// Files and processes on Windows. Paths are 8-bit texts in the system's ANSI code page,
// as everywhere in the program, so the ANSI entry points are used throughout.
#include "platform/platform.h"

#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <shlobj.h>
#include <knownfolders.h>
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

/// A wide path in the ANSI code page; empty when some character has no place in it.
static std::string ansiPath(const std::wstring& path) {
  const int size = static_cast<int>(path.size());
  BOOL lossy = FALSE;
  // The UTF-8 code page spells every name, and takes no lossy flag.
  BOOL* lossyFlag = GetACP() == CP_UTF8 ? nullptr : &lossy;
  const DWORD flags = lossyFlag ? WC_NO_BEST_FIT_CHARS : 0;
  const int bytes =
      WideCharToMultiByte(CP_ACP, flags, path.data(), size, nullptr, 0, nullptr, lossyFlag);
  if (bytes <= 0 || lossy) return "";
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, path.data(), size, out.data(), bytes, nullptr, nullptr);
  return out;
}

/// `path` in the ANSI code page, or else its short form (8.3 names) when that has one.
static std::string spellablePath(const std::wstring& path) {
  std::string out = ansiPath(path);
  if (!out.empty()) return out;
  const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return "";
  std::wstring shortPath(length, L'\0');
  shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), length));
  return ansiPath(shortPath);
}

std::string userDataDirectory() {
  PWSTR folder = nullptr;
  std::string out;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)))
    out = spellablePath(folder);
  CoTaskMemFree(folder);
  return out;
}

bool fileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool fileStamp(const std::string& path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  stamp->size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp->modified = static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                              data.ftLastWriteTime.dwLowDateTime);
  return true;
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

std::string linkTargetOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return path;  // a link that leads nowhere
  char buffer[MAX_PATH * 4];
  const DWORD n = GetFinalPathNameByHandleA(h, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
  CloseHandle(h);
  if (n == 0 || n >= sizeof buffer) return path;
  std::string target(buffer, n);
  // The final path comes in its long form, "\\?\C:\x" or "\\?\UNC\server\x".
  if (target.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + target.substr(7);
  if (target.rfind("\\\\?\\", 0) == 0) return target.substr(4);
  return target;
}

bool keepPermissions(const std::string& original, std::FILE* replacement) {
  const DWORD attributes = GetFileAttributesA(original.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) return false;
  // The marks a user sets on a file go with it; who may open it is what its folder gives
  // every new file there, as it was when the file was first made.
  const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  if (kept == 0) return true;
  FILE_BASIC_INFO info{};
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(replacement)));
  if (!GetFileInformationByHandleEx(h, FileBasicInfo, &info, sizeof info)) return false;
  info.FileAttributes |= kept;
  return SetFileInformationByHandle(h, FileBasicInfo, &info, sizeof info) != 0;
}

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
    if (!entry.isDirectory && !entry.isLink) {  // a link's own times are not its target's
      entry.stamp = {entry.size, static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                                           data.ftLastWriteTime.dwLowDateTime)};
      entry.stamped = true;
    }
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

void useLargePages(char**) {}  // large pages need a privilege that users do not have

void sleepMilliseconds(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

int terminalColumns(std::FILE* stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  if (GetConsoleScreenBufferInfo(h, &info)) return info.srWindow.Right - info.srWindow.Left + 1;
  return 80;
}

void setBinaryMode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

}  // namespace platform
