// The per-file cross-reference scan alone: each file read as the pages read it, its text
// repeated to some megabytes, then scanned by its language's scanner and put in order.
// Prints the speed of each stage.
//
//   xref_scan FILE...
#include <chrono>
#include <cstdio>
#include <string>

#include "engine/file_kinds.h"
#include "xref/scan.h"

using namespace quillon;
using namespace quillon::xref;

namespace {

constexpr size_t leastBytes = size_t{20} << 20;

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xref_scan FILE...\n");
    return 2;
  }
  for (int a = 1; a < argc; ++a) {
    std::string one, text;
    const SourceLanguage language = languageOf(argv[a]);
    if (language == SourceLanguage::None || !readSourceText(argv[a], &one) || one.empty()) {
      std::fprintf(stderr, "xref_scan: %s: no source file\n", argv[a]);
      return 1;
    }
    while (text.size() < leastBytes) text += one;
    FileScan scan;
    const auto start = std::chrono::steady_clock::now();
    switch (language) {
      case SourceLanguage::Cpp: scanCpp(text, scan); break;
      case SourceLanguage::CSharp: scanCSharp(text, scan); break;
      case SourceLanguage::Java: scanJava(text, scan); break;
      default: scanVisualBasic(text, scan); break;
    }
    const double scanned = seconds(start);
    const auto finishing = std::chrono::steady_clock::now();
    finishScan(text, scan);
    const double finished = seconds(finishing);
    const double mb = static_cast<double>(text.size()) / 1e6;
    std::printf("%s: %.0f MB, scan %.1f MB/s, finish %.1f MB/s, %zu records\n", argv[a], mb,
                mb / scanned, mb / finished, scan.records.size());
  }
  return 0;
}
