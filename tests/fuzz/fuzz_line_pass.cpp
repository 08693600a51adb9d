// Arbitrary bytes through the line pass of every language, with and without a reference
// link table, recorded class names, today's keywords and rich colours. The first byte
// chooses the set-up. Every converted line must hold only the program's own tags, and the
// escaped source text between them. With rich colours, each of the rich pass's tags must
// wrap source text alone, and the line without its font tags must be the line the pass
// was given without them (the pass adds font tags and drops keyword tags, nothing else).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/keyword_sets.h"
#include "engine/line_pass.h"
#include "tests/support/markup_check.h"

using namespace quillon;

namespace {

void addLink(ReferenceLinkTable& table, const std::string& word, const std::string& url) {
  table.index[word] = static_cast<int>(table.links.size());
  table.links.push_back({word, url});
}

void addRecord(std::vector<ClassRecord>& list, const std::string& name, const std::string& page) {
  list.push_back({name, page + "#" + name, page, {}});
}

/// The line without its font tags.
std::string withoutFonts(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size();) {
    const size_t end = line[i] == '<' ? line.find('>', i) : std::string::npos;
    const bool font = end != std::string::npos &&
                      (line.compare(i, 6, "<font ") == 0 || line.compare(i, 7, "</font>") == 0);
    if (font) {
      i = end + 1;
      continue;
    }
    out += line[i++];
  }
  return out;
}

/// Whether every tag that opens `open` is followed by text and then "</font>".
bool wrapsTextAlone(const std::string& line, const std::string& open) {
  for (size_t at = line.find(open); at != std::string::npos; at = line.find(open, at + 1)) {
    const size_t next = line.find('<', at + open.size());
    if (next == at + open.size() || line.compare(next, 7, "</font>") != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t setup = data[0];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  ConversionSettings settings;
  RunState run;
  ReferenceLinkTable links;
  ClassModel classes;
  if (setup & 4) {
    addLink(links, "printf", "http://x.org/printf");
    addLink(links, "foo", "foo.htm");
    addLink(links, "int", "i\"nt.htm");
    // Words that the program's own markup and entities are made of.
    addLink(links, "style", "s.htm");
    addLink(links, "lt", "lt.htm");
  }
  if (setup & 8) {
    addRecord(classes.classRecords, "Foo", "a.h.htm");
    addRecord(classes.structRecords, "Bar", "b.h.htm");
    addRecord(classes.enumRecords, "Foo", "c.h.htm");
    // Names that the markup is made of, declared in files with hostile names.
    addRecord(classes.classRecords, "a", "x\" onmouseover=\"alert(1) '.h.htm");
    addRecord(classes.structRecords, "color", "java&#115;cript&colon;alert(1).h.htm");
    addRecord(classes.structRecords, "nbsp", "\x01javascript:x\\.h.htm");
    addRecord(classes.enumRecords, "href", "data:text/html,<script>.h.htm");
    addRecord(classes.enumRecords, "gt", "java\rscript:x.h.htm");
    indexClassNames(classes);
  }
  if (setup & 32) {  // today's keywords after each table
    static const auto modern = [] {
      KeywordAdditions additions;
      additions.modern = true;
      return std::make_shared<const KeywordSet>(additions);
    }();
    settings.keywords = modern;
  }
  // The same lines without rich colours, beside them.
  ConversionSettings plainSettings = settings;
  settings.richColours = setup & 64;
  RunContext context{settings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  RunContext plainContext{plainSettings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  SourceFileConverter converter(context), plain(plainContext);
  static const SourceLanguage languages[] = {SourceLanguage::Cpp, SourceLanguage::CSharp,
                                             SourceLanguage::Java, SourceLanguage::VB};
  for (SourceFileConverter* c : {&converter, &plain}) {
    c->language = languages[setup & 3];
    c->utf8Columns = setup & 16;
    c->input.openText(text);
  }
  std::string line, plainLine, problem;
  while (converter.input.readLine(line) && plain.input.readLine(plainLine)) {
    const std::string source = line;
    convertLine(converter, line);
    if (!testing_support::checkConvertedLine(line, source, &problem, converter.utf8Columns)) {
      std::fprintf(stderr, "bad markup: %s\nline: %s\n", problem.c_str(), line.c_str());
      std::abort();
    }
    if (!settings.richColours) continue;
    convertLine(plain, plainLine);
    const PageMarkup& m = converter.markup;
    if (withoutFonts(line) != withoutFonts(plainLine) || !wrapsTextAlone(line, m.stringOpen) ||
        !wrapsTextAlone(line, m.numberOpen) || !wrapsTextAlone(line, m.preprocessorOpen)) {
      std::fprintf(stderr, "bad rich markup\nline: %s\nplain: %s\n", line.c_str(), plainLine.c_str());
      std::abort();
    }
  }
  return 0;
}
