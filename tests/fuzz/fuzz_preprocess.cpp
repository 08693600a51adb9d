// Arbitrary bytes as a header file of a workspace: the class-tree preprocessing, the class
// tree block and the page of the file must get through without fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "classmodel/class_tree.h"
#include "classmodel/preprocess.h"
#include "engine/converter.h"
#include "engine/line_pass.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dir = [] {
    char pattern[] = "/tmp/quillon-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  const std::string name = size > 0 && (data[0] & 1) ? "f.cs" : "f.h";
  {
    std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  ConversionSettings settings;
  RunState run;
  run.currentDirectory = dir;
  ReferenceLinkTable links;
  ClassModel classes;
  RunContext context{settings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  SourceFileConverter converter(context);
  converter.project.headerFiles = {name};
  preprocessClassTree(converter);
  sortClassRecords(classes);
  std::vector<std::string> tree;
  buildClassTree(classes, tree);

  // The page of the same file, with the names just recorded.
  SourceFileConverter page(context);
  page.language = languageOf(name);
  page.input.openText(std::string(reinterpret_cast<const char*>(data), size));
  std::string line;
  while (page.input.readLine(line)) convertLine(page, line);
  return 0;
}
