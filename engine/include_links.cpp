#include "engine/include_links.h"

#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/text_tests.h"

namespace quillon {

void linkInclude(const SourceFileConverter& converter, std::string& line) {
  if (!contains(line, "#include")) return;
  if (insideQuotes(line, "#include") || converter.inBlockComment) return;
  size_t q1 = line.find('"');
  if (q1 == npos) return;
  size_t q2 = line.find('"', q1 + 1);
  if (q2 == npos) return;  // no closing quote: no name to link
  std::string_view name = std::string_view(line).substr(q1 + 1, q2 - q1 - 1);
  size_t cut = name.rfind('/');
  if (cut == npos) cut = name.rfind('\\');
  // The name comes from the source: a target that would start with a URL scheme
  // ("javascript:") is made relative, so an include can only link a page.
  std::string target = fileLinkTarget(cut == npos ? name : name.substr(cut + 1));
  line.insert(q2, "</a>");
  line.insert(q1 + 1, "<a href=\"" + target + ".htm\">");
}

}  // namespace quillon
