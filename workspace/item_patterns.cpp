#include "workspace/item_patterns.h"

#include <algorithm>

#include "platform/platform.h"

namespace quillon {

namespace {

/// Deep enough for any real source tree; a walk stops there even when told to go on.
constexpr int deepestWalk = 64;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

/// The names of a path, without empty and "." names.
std::vector<std::string_view> namesOf(std::string_view path) {
  std::vector<std::string_view> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view name = path.substr(start, end - start);
    if (!name.empty() && name != ".") names.push_back(name);
    start = end + 1;
  }
  return names;
}

std::string joined(const std::vector<std::string_view>& names, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to; ++i) {
    if (i > from) out += '\\';
    out += names[i];
  }
  return out;
}

/// One name against one pattern name with "*" and "?": the usual scan that goes back to
/// the last "*" on a mismatch, so it never takes more than length times length steps.
bool nameMatches(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool isSkippedFolder(const std::string& name) {
  return name.empty() || name[0] == '.' || sameIgnoringCase(name, "bin") ||
         sameIgnoringCase(name, "obj");
}

struct WalkState {
  FolderWalk walk;
  WalkBudget& budget;
  bool depthIsLimit = false;  ///< the depth is the walk's own limit, not the caller's wish
};

void walkInto(const std::string& directory, const std::string& prefix, int depth,
              WalkState& state) {
  std::vector<std::string> files, subfolders;
  if (!platform::listDirectory(directory, &files, &subfolders)) return;
  for (const std::string& file : files) {
    if (state.budget.files == 0) {
      state.walk.cutShort = true;
      return;
    }
    --state.budget.files;
    state.walk.files.push_back(prefix + file);
  }
  for (const std::string& folder : subfolders) {
    if (isSkippedFolder(folder)) continue;
    if (depth == 0) {
      state.walk.cutShort = state.walk.cutShort || state.depthIsLimit;
      continue;
    }
    if (state.budget.folders == 0) {
      state.walk.cutShort = true;
      return;
    }
    --state.budget.folders;
    walkInto(platform::joinPath(directory, folder), prefix + folder + "\\", depth - 1, state);
  }
}

}  // namespace

bool hasWildcard(std::string_view value) {
  return value.find_first_of("*?") != std::string_view::npos;
}

bool matchesItemPattern(std::string_view pattern, std::string_view path) {
  const std::vector<std::string_view> pat = namesOf(pattern);
  const std::vector<std::string_view> names = namesOf(path);
  // reach[j]: the pattern names taken so far can match exactly the first j path names.
  std::vector<char> reach(names.size() + 1, 0);
  reach[0] = 1;
  for (std::string_view p : pat) {
    std::vector<char> next(names.size() + 1, 0);
    for (size_t j = 0; j <= names.size(); ++j) {
      if (p == "**") {
        next[j] = reach[j] || (j > 0 && next[j - 1]);
      } else if (j > 0) {
        next[j] = reach[j - 1] && nameMatches(p, names[j - 1]);
      }
    }
    reach.swap(next);
  }
  return reach[names.size()] != 0;
}

std::string itemKey(std::string_view path) {
  const std::vector<std::string_view> names = namesOf(path);
  std::string key = joined(names, 0, names.size());
  for (char& c : key) c = lower(c);
  return key;
}

FolderWalk walkFolder(const std::string& root, int depth, WalkBudget& budget) {
  WalkState state{FolderWalk(), budget};
  state.depthIsLimit = depth >= deepestWalk;
  walkInto(root, "", std::min(depth, deepestWalk), state);
  std::sort(state.walk.files.begin(), state.walk.files.end());
  return state.walk;
}

std::vector<std::string> expandItemPattern(const std::string& projectDirectory,
                                           std::string_view pattern, WalkBudget& budget,
                                           bool* cutShort) {
  const std::vector<std::string_view> names = namesOf(pattern);
  size_t firstWild = 0;
  while (firstWild < names.size() && !hasWildcard(names[firstWild])) ++firstWild;
  if (firstWild == names.size()) return {};
  const std::string prefix = joined(names, 0, firstWild);
  const std::string rest = joined(names, firstWild, names.size());
  const bool anyDepth =
      std::find(names.begin() + firstWild, names.end(), "**") != names.end();
  const int depth = anyDepth ? deepestWalk : static_cast<int>(names.size() - firstWild) - 1;

  const FolderWalk walk =
      walkFolder(platform::resolvePath(projectDirectory, prefix), depth, budget);
  if (walk.cutShort && cutShort) *cutShort = true;
  std::vector<std::string> found;
  for (const std::string& file : walk.files)
    if (matchesItemPattern(rest, file)) found.push_back(prefix.empty() ? file : prefix + "\\" + file);
  return found;
}

}  // namespace quillon
