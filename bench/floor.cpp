// The least any converter must do: read each line with the engine's reader, escape it and
// write it wrapped in its page entry, between the page header and footer, through the
// engine's page writer. No other pass. One process for all files; each page lands in
// the output directory under the name Quillon gives it.
//
//   floor -o DIR FILE...
#include <cstdio>
#include <string>

#include "engine/converter.h"
#include "engine/escape.h"
#include "engine/line_reader.h"
#include "engine/page_writer.h"
#include "platform/platform.h"

using namespace quillon;

namespace {

bool writeFloorPage(const ConversionSettings& settings, const std::string& source,
                    const std::string& outputDirectory) {
  LineReader input;
  PageWriter output;
  if (!input.open(source)) return false;
  if (!output.open(platform::joinPath(outputDirectory, baseName(source) + ".htm"))) return false;
  output.write(pageHeader(settings));
  // The same blocks as the line pass: entries collected, handed over a megabyte at a time.
  static constexpr size_t flushSize = 1 << 20;
  std::string body;
  std::string line;
  while (input.readLine(line)) {
    body += "<nobr>";
    appendEscaped(body, line);
    body += "</nobr><br>\n";
    if (body.size() >= flushSize) {
      output.write(body);
      body.clear();
    }
  }
  output.write(body);
  output.write(pageFooter());
  return output.commit() && !input.failed();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::string(argv[1]) != "-o") {
    std::fputs("usage: floor -o DIR FILE...\n", stderr);
    return 2;
  }
  const std::string outputDirectory = argv[2];
  const ConversionSettings settings;
  int failures = 0;
  for (int i = 3; i < argc; ++i) {
    if (!writeFloorPage(settings, argv[i], outputDirectory)) {
      std::fprintf(stderr, "floor: %s: can't be converted\n", argv[i]);
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
