// Files and processes on POSIX systems.
#include "platform/platform.h"

#include <fcntl.h>
#include <limits.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <thread>

extern char** environ;

namespace platform {

static std::string directoryOfPath(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool isAbsolutePath(std::string_view path) { return !path.empty() && path[0] == '/'; }

std::string joinPath(std::string_view directory, std::string_view name) {
  std::string out(directory);
  if (!out.empty() && out.back() != '/') out += '/';
  out += name;
  return out;
}

std::string resolvePath(std::string_view directory, std::string_view name) {
  std::string native(name);
  std::replace(native.begin(), native.end(), '\\', '/');
  if (isAbsolutePath(native) || directory.empty()) return native;
  return joinPath(directory, native);
}

std::string currentDirectory() {
  std::string buffer(PATH_MAX, '\0');
  if (!getcwd(buffer.data(), buffer.size())) return ".";
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

std::string programDirectory() {
  std::string buffer(PATH_MAX, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return currentDirectory();
  buffer.resize(static_cast<size_t>(n));
  size_t slash = buffer.rfind('/');
  return slash == 0 ? "/" : buffer.substr(0, slash);
}

std::string userDataDirectory() {
  // Relative values are ignored, as the base directory rules ask.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return joinPath(home, ".config");
  return "";
}

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {
FileStamp stampOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}
}  // namespace

bool fileStamp(const std::string& path, FileStamp* stamp) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  *stamp = stampOf(st);
  return true;
}

bool directoryExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && directoryExists(path);
}

bool copyFileNoReplace(const std::string& from, const std::string& to) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(in);
    return false;
  }
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok = false;
        break;
      }
      done += w;
    }
    if (!ok) break;
  }
  close(in);
  if (close(out) != 0) ok = false;
  if (!ok) unlink(to.c_str());  // a half copy would be kept forever, since copies never replace
  return ok;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
  const std::string temporary = temporaryNameFor(to);
  if (!copyFileNoReplace(from, temporary)) return false;
  if (replaceFile(temporary, to)) return true;
  unlink(temporary.c_str());
  return false;
}

bool flushToDisk(std::FILE* file) {
  return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

std::string linkTargetOf(const std::string& path) {
  std::string current = path;
  // As many links as the system itself follows; a longer chain is a loop.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) return current;
    target.resize(static_cast<size_t>(n));
    current = target[0] == '/' ? target : joinPath(directoryOfPath(current), target);
  }
  return path;
}

bool keepPermissions(const std::string& original, std::FILE* replacement) {
  struct stat st;
  if (stat(original.c_str(), &st) != 0) return errno == ENOENT;
  if (access(original.c_str(), W_OK) != 0) return false;
  const int fd = fileno(replacement);
  // Giving the file back to its owner takes privileges, and keeping its group membership
  // of it; without them the file stays the saver's, which is no reason not to save.
  const bool sameOwner = st.st_uid == geteuid() && st.st_gid == getegid();
  if (!sameOwner && fchown(fd, st.st_uid, st.st_gid) != 0) {
    const int groupKept = fchown(fd, static_cast<uid_t>(-1), st.st_gid);
    static_cast<void>(groupKept);
  }
  return fchmod(fd, st.st_mode & 07777) == 0;
}

bool createDirectoryAlias(const std::string& directory, const std::string& alias) {
  std::string aliasPath = joinPath(directoryOfPath(directory), alias);
  if (directoryExists(aliasPath)) return true;
  std::string target = directory.substr(directory.find_last_of('/') + 1);
  return symlink(target.c_str(), aliasPath.c_str()) == 0;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string fileNameAsUtf8(std::string_view name) { return std::string(name); }

std::string temporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static const std::string pid = std::to_string(getpid());  // asked once: a call to the system each
  return target + ".tmp" + pid + "-" + std::to_string(counter++);
}

bool listDirectory(const std::string& directory, std::vector<std::string>* files,
                   std::vector<std::string>* subdirectories) {
  DIR* dir = opendir(directory.c_str());
  if (!dir) return false;
  while (struct dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string full = joinPath(directory, name);
    // The entry's type, where the directory tells it, saves looking at each entry.
    const bool told = full.size() < PATH_MAX && (entry->d_type == DT_DIR || entry->d_type == DT_REG);
    if (told ? entry->d_type == DT_DIR : directoryExists(full)) {
      if (subdirectories) subdirectories->push_back(name);
    } else if (told || fileExists(full)) {
      if (files) files->push_back(name);
    }
  }
  closedir(dir);
  if (files) std::sort(files->begin(), files->end());
  if (subdirectories) std::sort(subdirectories->begin(), subdirectories->end());
  return true;
}

bool readDirectory(const std::string& directory, std::vector<DirectoryEntry>* entries) {
  DIR* dir = opendir(directory.c_str());
  if (!dir) return false;
  while (struct dirent* found = readdir(dir)) {
    DirectoryEntry entry;
    entry.name = found->d_name;
    if (entry.name == "." || entry.name == "..") continue;
    const std::string full = joinPath(directory, entry.name);
    entry.hidden = entry.name[0] == '.';
    // A folder or file that the directory says is no link needs looking at only for a
    // file's size.
    const bool told = full.size() < PATH_MAX && (found->d_type == DT_DIR || found->d_type == DT_REG);
    if (told && found->d_type == DT_DIR) {
      entry.isDirectory = true;
      entries->push_back(std::move(entry));
      continue;
    }
    struct stat link, target;
    if (told) {
      // Looked at from the open directory: the path need not be walked again.
      if (fstatat(dirfd(dir), found->d_name, &target, 0) != 0 || !S_ISREG(target.st_mode)) continue;
      entry.size = static_cast<std::uint64_t>(target.st_size);
      entry.stamp = stampOf(target);
      entry.stamped = true;
      entries->push_back(std::move(entry));
      continue;
    }
    if (lstat(full.c_str(), &link) != 0) {
      // Too deep to be looked at by its path: a folder still counts, so that reading it
      // fails where the caller can tell.
      entry.isDirectory = found->d_type == DT_DIR;
      if (entry.isDirectory) entries->push_back(std::move(entry));
      continue;
    }
    entry.isLink = S_ISLNK(link.st_mode);
    if (stat(full.c_str(), &target) != 0) continue;  // a link that leads nowhere
    if (!S_ISDIR(target.st_mode) && !S_ISREG(target.st_mode)) continue;
    entry.isDirectory = S_ISDIR(target.st_mode);
    entry.size = entry.isDirectory ? 0 : static_cast<std::uint64_t>(target.st_size);
    if (!entry.isDirectory) {
      entry.stamp = stampOf(target);
      entry.stamped = true;
    }
    entries->push_back(std::move(entry));
  }
  closedir(dir);
  std::sort(entries->begin(), entries->end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return true;
}

bool openWithShell(const std::string& target) {
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv),
                   environ) != 0)
    return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void useLargePages(char** argv) {
#if defined(__linux__) && defined(__GLIBC__)
  static constexpr const char* tunables = "GLIBC_TUNABLES";
  static constexpr const char* largePages = "glibc.malloc.hugetlb=1";
  if (const char* told = std::getenv(tunables)) {
    // Started again here: the programs it starts in turn are not told.
    if (std::strcmp(told, largePages) == 0) unsetenv(tunables);
    return;
  }
  // Only where large pages are given on request: "always" gives them anyway, "never" not.
  std::string mode;
  if (FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r")) {
    char text[128] = {};
    mode.assign(text, std::fread(text, 1, sizeof text - 1, f));
    std::fclose(f);
  }
  if (mode.find("[madvise]") == std::string::npos) return;
  // The program's own file, by its name: a tool that runs it (a debugger, an emulator)
  // tells its name, where "/proc/self/exe" itself would start the tool.
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0 || length >= static_cast<ssize_t>(sizeof self) - 1) return;
  self[length] = '\0';
  if (setenv(tunables, largePages, 1) != 0) return;
  execv(self, argv);
  unsetenv(tunables);  // it could not start again: go on as it is
#else
  (void)argv;
#endif
}

void sleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

int terminalColumns(std::FILE* stream) {
  struct winsize size;
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

void setBinaryMode(std::FILE*) {}

}  // namespace platform
