#include "classmodel/class_links.h"

#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/reference_link_pass.h"
#include "engine/text_tests.h"

namespace quillon {

void linkClassNames(const SourceFileConverter& converter, std::string& line) {
  const ClassModel& model = converter.context.classModel;
  if (model.nameIndex.empty()) return;
  size_t q = 0;
  while (q < line.size()) {
    std::string word = nextWord(q, line, converter.inBlockComment);
    if (word.empty()) continue;
    auto found = model.nameIndex.find(word);
    if (found == model.nameIndex.end()) continue;
    for (const ClassModel::NameEntry& entry : found->second) {
      // The declaring keyword's lines get no links to records of that kind.
      static constexpr std::string_view excluded[] = {"class&nbsp;", "struct&nbsp;", "enum&nbsp;"};
      if (contains(line, excluded[static_cast<int>(entry.kind)])) continue;
      const ClassRecord& record = recordsOf(model, entry.kind)[entry.position];
      linkWord(converter, line, word, relativeLinkTarget(record.link), 0, LinkVariant::Plain);
      // A later record of the name finds the same first occurrence, now inside this
      // link's tag when it was linked: it could link nothing. Stopping here keeps a name
      // declared in many files from costing files times records.
      break;
    }
  }
}

}  // namespace quillon
