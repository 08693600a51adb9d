#include "engine/line_pass.h"

#include "classmodel/class_links.h"
#include "classmodel/recognize.h"
#include "engine/comments.h"
#include "engine/converter.h"
#include "engine/escape.h"
#include "engine/include_links.h"
#include "engine/keywords.h"
#include "engine/reference_link_pass.h"

namespace quillon {

void convertLine(SourceFileConverter& converter, std::string& line) {
  stripByteOrderMark(line);
  line = escapeLine(line);
  linkInclude(converter, line);
  applyReferenceLinks(converter, line);
  linkClassNames(converter, line);
  size_t lineComment = colourLineComment(converter, line);
  colourBlockComments(converter, line, lineComment);
  colourKeywords(converter, line, converter.language);
  if (hasClassRecognition(converter.language)) {
    recognizeClass(converter, line, false);
    recognizeStruct(converter, line, false);
    recognizeEnum(converter, line, false);
  }
}

void appendPageEntry(std::string& body, const std::string& line) {
  body += "<nobr>";
  body += line;
  body += "</nobr><br>\n";
}

void convertLines(SourceFileConverter& converter) {
  // The body is collected and handed to the page writer in large blocks; the page only
  // takes its place when the whole file has been read (the writer renames it into place).
  static constexpr size_t flushSize = 1 << 20;
  std::string body;
  std::string line;
  while (converter.input.readLine(line)) {
    if (converter.context.run.stopRequested) break;
    convertLine(converter, line);
    appendPageEntry(body, line);
    if (body.size() >= flushSize) {
      converter.output.write(body);
      body.clear();
    }
  }
  converter.output.write(body);
}

}  // namespace quillon
