// Arbitrary bytes through the line pass of every language, with and without a reference
// link table and recorded class names. The first byte chooses the set-up.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/converter.h"
#include "engine/line_pass.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t setup = data[0];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  ConversionSettings settings;
  RunState run;
  ReferenceLinkTable links;
  ClassModel classes;
  if (setup & 4) {
    links.links = {{"printf", "http://x.org/printf"}, {"foo", "foo.htm"}, {"int", "i\"nt.htm"}};
    links.index = {{"printf", 0}, {"foo", 1}, {"int", 2}};
  }
  if (setup & 8) {
    classes.classRecords.push_back({"Foo", "a.h.htm#Foo", "a.h.htm", {}});
    classes.structRecords.push_back({"Bar", "b.h.htm#Bar", "b.h.htm", {}});
    classes.enumRecords.push_back({"Foo", "c.h.htm#Foo", "c.h.htm", {}});
    indexClassNames(classes);
  }
  RunContext context{settings, run, links, classes};
  SourceFileConverter converter(context);
  static const SourceLanguage languages[] = {SourceLanguage::Cpp, SourceLanguage::CSharp,
                                             SourceLanguage::Java, SourceLanguage::VB};
  converter.language = languages[setup & 3];
  converter.input.openText(std::move(text));
  std::string line;
  while (converter.input.readLine(line)) convertLine(converter, line);
  return 0;
}
