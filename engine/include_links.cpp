#include "engine/include_links.h"

#include <algorithm>

#include <tuple>

#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/text_tests.h"
#include "platform/platform.h"

namespace quillon {

namespace {

/// The source text of an escaped name: the escaping's entities back as characters.
std::string unescaped(std::string_view text) {
  static constexpr std::pair<std::string_view, char> entities[] = {
      {"&nbsp;", ' '}, {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&lt", '<'}, {"&gt", '>'}};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    bool decoded = false;
    if (text[i] == '&') {
      for (const auto& [entity, c] : entities) {
        if (text.compare(i, entity.size(), entity) == 0) {
          out += c;
          i += entity.size() - 1;
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) out += text[i];
  }
  return out;
}

/// How many leading folders two folder keys share.
size_t sharedFolders(std::string_view a, std::string_view b) {
  size_t shared = 0;
  for (size_t i = 0;; ++i) {
    const bool endA = i == a.size() || a[i] == '\\';
    const bool endB = i == b.size() || b[i] == '\\';
    if (endA && endB && i > 0) ++shared;
    if (endA || endB || a[i] != b[i]) return shared;
  }
}

}  // namespace

std::string includedPage(const WorkspacePages& pages, std::string_view includingPath,
                         std::string_view name) {
  const std::string folder = directoryOf(platform::resolvePath(pages.sourceDirectory, includingPath));
  const std::string beside = platform::resolvePath(folder, name);
  auto exact = pages.byExactPath.find(pathKey(beside, true));
  if (exact != pages.byExactPath.end()) return exact->second;
  auto found = pages.byPath.find(pathKey(beside));
  if (found != pages.byPath.end()) return found->second;
  // The compiler takes the file beside the including one when it is there, page or not.
  if (platform::fileExists(beside)) return {};
  auto named = pages.byName.find(pathKey(baseName(name)));
  if (named == pages.byName.end()) return {};
  // The file whose folders end as the include names them ("detail/util.h"), and of those
  // the nearest to the including file.
  const std::string from = pathKey(folder);
  const std::string wanted = pathKey(directoryOf(name));
  const std::string spelt = baseName(name);
  const WorkspacePages::Page* best = nullptr;
  std::tuple<bool, size_t, bool> bestScore;
  for (const WorkspacePages::Page& candidate : named->second) {
    const std::string& in = candidate.folderKey;
    const bool endsAsNamed =
        wanted.empty() || (in.size() >= wanted.size() && in.compare(in.size() - wanted.size(), wanted.size(), wanted) == 0 &&
                           (in.size() == wanted.size() || in[in.size() - wanted.size() - 1] == '\\'));
    const std::tuple<bool, size_t, bool> score{endsAsNamed, sharedFolders(from, in),
                                               candidate.name == spelt};
    if (!best || score > bestScore) {
      best = &candidate;
      bestScore = score;
    }
  }
  return best->page;
}

void WorkspacePages::add(const std::string& path, const std::string& page) {
  const std::string full = platform::resolvePath(sourceDirectory, path);
  const std::string key = pathKey(full);
  byPath.emplace(key, page);
  byExactPath.emplace(pathKey(full, true), page);
  const size_t cut = key.rfind('\\');
  const std::string name = cut == std::string::npos ? key : key.substr(cut + 1);
  byName[name].push_back(
      {cut == std::string::npos ? std::string() : key.substr(0, cut), baseName(full), page});
}

void linkInclude(const SourceFileConverter& converter, std::string& line) {
  if (!contains(line, "#include")) return;
  if (insideQuotes(line, "#include") || converter.inBlockComment) return;
  size_t q1 = line.find('"');
  if (q1 == npos) return;
  size_t q2 = line.find('"', q1 + 1);
  if (q2 == npos) return;  // no closing quote: no name to link
  std::string_view name = std::string_view(line).substr(q1 + 1, q2 - q1 - 1);
  std::string target;
  if (const WorkspacePages* pages = converter.context.pages) {
    const std::string included = unescaped(name);
    if (std::vector<std::string>* seen = converter.includesSeen)
      if (std::find(seen->begin(), seen->end(), included) == seen->end()) seen->push_back(included);
    const std::string page = includedPage(*pages, converter.sourcePath, included);
    if (page.empty()) return;  // the included file has no page in this workspace
    target = fileNameLinkTarget(page);
  } else {
    size_t cut = name.rfind('/');
    if (cut == npos) cut = name.rfind('\\');
    // The name comes from the source: a target that would start with a URL scheme
    // ("javascript:") is made relative, so an include can only link a page.
    target = fileLinkTarget(cut == npos ? name : name.substr(cut + 1)) + ".htm";
  }
  line.insert(q2, "</a>");
  line.insert(q1 + 1, "<a href=\"" + target + "\">");
}

}  // namespace quillon
