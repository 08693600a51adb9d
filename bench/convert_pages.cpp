// Quillon's page conversion for many files in one process, each file its own page (the
// command makes a workspace of two or more files): the counterpart of `floor`.
//
//   convert_pages -o DIR [--links FILE] FILE...
#include <cstdio>
#include <string>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "platform/platform.h"
#include "reflinks/reference_links.h"

using namespace quillon;

int main(int argc, char** argv) {
  if (argc < 4 || std::string(argv[1]) != "-o") {
    std::fputs("usage: convert_pages -o DIR [--links FILE] FILE...\n", stderr);
    return 2;
  }
  ConversionSettings settings;
  RunState run;
  ReferenceLinkTable links;
  ClassModel classes;
  RunContext context{settings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  settings.outputDirectory = argv[2];
  settings.sourceDirectory = platform::currentDirectory();
  int first = 3;
  if (argc > 5 && std::string(argv[3]) == "--links") {
    loadReferenceLinks(links, argv[4]);
    first = 5;
  }
  SourceFileConverter converter(context);
  for (int i = first; i < argc; ++i) convertFile(converter, argv[i]);
  const int failures = run.problemCount;
  return failures ? 1 : 0;
}
