#include "classmodel/recognize.h"

#include <string>

#include "classmodel/member_scan.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/html_text.h"
#include "engine/placed_names.h"
#include "engine/text_tests.h"

namespace quillon {

namespace {

/// What distinguishes the three kinds: the keyword as the keyword pass leaves it,
/// followed by one escaped space.
struct Kind {
  RecordKind kind;
  std::string_view pattern;
  bool initialAccessPublic;
};

constexpr Kind classKind{RecordKind::Class, "class</font>&nbsp;", false};
constexpr Kind structKind{RecordKind::Struct, "struct</font>&nbsp;", true};
constexpr Kind enumKind{RecordKind::Enum, "enum</font>&nbsp;", true};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

/// "L" and digits: the form of the line anchors of pages with line numbers.
bool isLineAnchorName(std::string_view name) {
  return name.size() > 1 && name[0] == 'L' &&
         name.find_first_not_of("0123456789", 1) == std::string_view::npos;
}

/// The struct pass rejects variable declarations, pointers, references and casts: a
/// name followed by an escaped space and then "*", ")", a letter, or a "&" that does not
/// begin another "&nbsp;".
bool looksLikeStructVariable(std::string_view line, size_t end) {
  if (line.compare(end, 5, "&nbsp") != 0 || end + 6 >= line.size()) return false;
  char c = line[end + 6];
  if (c == '*' || c == ')' || isLetter(c)) return true;
  return c == '&' && (end + 7 >= line.size() || line[end + 7] != 'n');
}

/// The length of the link tag at `at` that an earlier pass of the line put there (an
/// opening "<a href=" tag, or a placed definition's anchor, up to its ">", or "</a>"), or 0
/// when none begins there.
size_t linkTagAt(std::string_view line, size_t at) {
  if (line.compare(at, 4, "</a>") == 0) return 4;
  if (!opensLinkOrPlacedAnchor(line, at)) return 0;
  const size_t close = line.find('>', at);
  return close == std::string_view::npos ? 0 : close - at + 1;
}

/// The declared name from `start`: up to the first "&", space, "{", "(", line feed or "<"
/// (the start of markup). A link that the reference-link or class-link pass put inside
/// the name (a class name that ends with another recorded name, or a name that is also a
/// record of another kind) is passed over, so that the name is the text as written and
/// matches the record that the class tree links. Sets `end` to the character that ended
/// the name, or to `start` when the name ran to the end of the line, and `close` to where
/// the anchor closes: before the first such link, else at `end`. False when the struct
/// pass gives up.
bool scanName(std::string_view line, size_t start, bool isStruct, std::string* name,
              size_t* end, size_t* close) {
  name->clear();
  size_t firstTag = std::string_view::npos;
  size_t i = start;
  while (i < line.size()) {
    const char c = line[i];
    if (c == '<') {
      const size_t tag = linkTagAt(line, i);
      if (tag == 0) break;
      if (firstTag == std::string_view::npos) firstTag = i;
      i += tag;
      continue;
    }
    if (c == '&' || c == ' ' || c == '{' || c == '(' || c == '\n') break;
    if (isStruct && (c == '*' || c == ')')) return false;
    *name += c;
    ++i;
  }
  *end = i < line.size() ? i : start;
  *close = firstTag != std::string_view::npos ? firstTag : *end;
  return true;
}

void recognize(SourceFileConverter& converter, std::string& line, bool collect,
               const Kind& kind) {
  if (line.empty() || !contains(line, kind.pattern)) return;
  if (insideQuotes(line, kind.pattern) || converter.inBlockComment) return;
  const size_t start = line.find(kind.pattern) + kind.pattern.size();
  const bool isStruct = kind.kind == RecordKind::Struct;
  std::string name;
  size_t end = 0;
  size_t close = 0;
  if (!scanName(line, start, isStruct, &name, &end, &close)) return;
  if (isStruct && looksLikeStructVariable(line, end)) return;
  if (name.empty()) return;
  if (name.size() > maxRecordNameLength) name.resize(maxRecordNameLength);

  const std::string open = "<a name=\"" + attributeText(name) + "\">";
  line.insert(start, open);
  line.insert(close + open.size(), "</a>");
  if (!collect) return;

  ClassRecord record;
  record.name = name;
  record.page = converter.outputFileName;
  record.link = record.page + "#" + name;
  // With line numbers, a name such as "L12" is also the anchor of line 12, which a
  // browser finds first: the record then leads to its own line instead.
  if (converter.context.settings.lineNumbers && isLineAnchorName(name))
    record.link = record.page + "#L" + std::to_string(converter.input.lineNumber());
  std::vector<ClassRecord>& list = recordsOf(converter.context.classModel, kind.kind);
  list.push_back(std::move(record));
  scanMembers(converter, line, kind.kind == RecordKind::Enum, kind.initialAccessPublic,
              list.back().members);
}

}  // namespace

void recognizeClass(SourceFileConverter& converter, std::string& line, bool collect) {
  recognize(converter, line, collect, classKind);
}

void recognizeStruct(SourceFileConverter& converter, std::string& line, bool collect) {
  recognize(converter, line, collect, structKind);
}

void recognizeEnum(SourceFileConverter& converter, std::string& line, bool collect) {
  recognize(converter, line, collect, enumKind);
}

}  // namespace quillon
