#include "classmodel/class_links.h"

#include <algorithm>
#include <vector>

#include "classmodel/recognize.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/line_index.h"
#include "engine/line_pass.h"
#include "engine/reference_link_pass.h"
#include "engine/text_tests.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {

void linkRecordedNames(const SourceFileConverter& converter, std::string& line) {
  // (Most runs have no class names: the scan is spared then.)
  if (!converter.context.classModel.nameIndex.empty()) linkClassNames(converter, line);
}

void anchorDeclarations(SourceFileConverter& converter, std::string& line) {
  recognizeClass(converter, line, false);
  recognizeStruct(converter, line, false);
  recognizeEnum(converter, line, false);
}

}  // namespace

const NamePasses& classModelPasses() {
  static constexpr NamePasses passes{linkRecordedNames, anchorDeclarations};
  return passes;
}

std::string recordLinkTarget(const std::string& link, const std::string& page) {
  if (link.size() > page.size() && link.compare(0, page.size(), page) == 0 &&
      link[page.size()] == '#')
    return pageLinkTarget(page, std::string_view(link).substr(page.size() + 1));
  return relativeLinkTarget(link);
}

void linkClassNames(const SourceFileConverter& converter, std::string& line) {
  const ClassModel& model = converter.context.classModel;
  if (model.nameIndex.empty() || converter.inBlockComment) return;
  // A name linked earlier in the scan is not linked again (see applyReferenceLinks).
  // (Kept from line to line, so that their memory is reused.)
  struct Scratch {
    std::vector<std::string> linked;
    WordScanner scanner;
    std::string word;
  };
  Scratch& scratch = threadScratch<Scratch>();
  std::vector<std::string>& linked = scratch.linked;
  linked.clear();
  WordScanner& scanner = scratch.scanner;
  scanner.reset(line);
  std::string& word = scratch.word;
  size_t q = 0;
  while (q < line.size()) {
    std::string_view found = scanner.next(q, converter.inBlockComment);
    if (found.empty() || !mayBeRecordedName(model, found)) continue;
    word.assign(found);
    if (std::find(linked.begin(), linked.end(), word) != linked.end()) continue;
    auto records = model.nameIndex.find(word);
    if (records == model.nameIndex.end()) continue;
    const size_t before = line.size();
    for (const ClassModel::NameEntry& entry : records->second) {
      // The declaring keyword's lines get no links to records of that kind.
      static constexpr std::string_view excluded[] = {"class&nbsp;", "struct&nbsp;", "enum&nbsp;"};
      if (contains(line, excluded[static_cast<int>(entry.kind)])) continue;
      const ClassRecord& record = recordsOf(model, entry.kind)[entry.position];
      linkWord(converter, line, word, recordLinkTarget(record.link, record.page), 0,
               LinkVariant::Plain);
      // A later record of the name finds the same first occurrence, now inside this
      // link's tag when it was linked: it could link nothing. Stopping here keeps a name
      // declared in many files from costing files times records.
      break;
    }
    if (line.size() == before) continue;
    // The scan goes on from the same position in the longer line.
    linked.push_back(word);
    scanner.reset(line);
  }
}

}  // namespace quillon
