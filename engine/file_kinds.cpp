#include "engine/file_kinds.h"

#include <initializer_list>
#include <vector>

namespace quillon {

namespace {
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWithAny(std::string_view name, std::initializer_list<std::string_view> suffixes) {
  for (std::string_view s : suffixes)
    if (endsWithIgnoreCase(name, s)) return true;
  return false;
}
}  // namespace

bool endsWithIgnoreCase(std::string_view name, std::string_view suffix) {
  if (name.empty() || suffix.empty() || name.size() < suffix.size()) return false;
  std::string_view tail = name.substr(name.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i)
    if (lower(tail[i]) != lower(suffix[i])) return false;
  return true;
}

bool isProjectFile(std::string_view n) {
  return endsWithAny(n, {".dsp", ".vcproj", ".vcxproj", ".csproj", ".vbproj", ".vjsproj"});
}

bool isSolutionFile(std::string_view n) { return endsWithIgnoreCase(n, ".sln"); }

bool isSourceFile(std::string_view n) {
  return isCppFile(n) || endsWithAny(n, {".cs", ".java", ".jsl", ".bas", ".js", ".cls", ".frm",
                                          ".vb", ".rc"});
}

bool isResourceFile(std::string_view n) {
  return endsWithAny(n, {".bmp", ".jpg", ".gif", ".png", ".ico", ".cur", ".jpeg", ".resx",
                         ".bin", ".rc"});
}

bool isCppFile(std::string_view n) {
  return endsWithAny(n, {".cpp", ".c", ".h", ".hpp", ".cc", ".cxx", ".hh", ".hxx", ".inl"});
}
bool isCSharpFile(std::string_view n) { return endsWithIgnoreCase(n, ".cs"); }
bool isJavaFile(std::string_view n) { return endsWithAny(n, {".js", ".java", ".jsl"}); }
bool isVisualBasicFile(std::string_view n) {
  return endsWithAny(n, {".cls", ".frm", ".bas", ".vb"});
}

SourceLanguage languageOf(std::string_view name) {
  if (isCppFile(name)) return SourceLanguage::Cpp;
  if (isCSharpFile(name)) return SourceLanguage::CSharp;
  if (isJavaFile(name)) return SourceLanguage::Java;
  if (isVisualBasicFile(name)) return SourceLanguage::VB;
  return SourceLanguage::None;
}

std::string baseName(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string directoryOf(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

std::string pathKey(std::string_view path, bool keepCase) {
  const bool rooted = !path.empty() && (path[0] == '/' || path[0] == '\\');
  std::string key = rooted ? "\\" : "";
  key.reserve(path.size() + 1);
  // The names in the key; the first `climbs` of them are "..", which only lead.
  size_t names = 0, climbs = 0;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view name = path.substr(start, end - start);
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == ".." && names > climbs) {  // back out of the last name
      key.resize(names == 1 ? (rooted ? 1 : 0) : key.rfind('\\'));
      --names;
      continue;
    }
    if (name == ".." && rooted) continue;  // nothing lies above the root
    if (name == "..") ++climbs;
    if (names++ > 0) key += '\\';
    const size_t from = key.size();
    key += name;
    if (!keepCase)
      for (size_t c = from; c < key.size(); ++c) key[c] = lower(key[c]);
  }
  return key;
}

}  // namespace quillon
