#include "classmodel/preprocess.h"

#include <algorithm>

#include "classmodel/recognize.h"
#include "classmodel/records.h"
#include "engine/comments.h"
#include "engine/converter.h"
#include "engine/escape.h"
#include "engine/keywords.h"
#include "engine/text_check.h"

namespace quillon {

namespace {

/// Reads one listed file with collecting on. False when a stop request ended it.
bool preprocessFile(SourceFileConverter& converter, const std::string& entry) {
  RunContext& context = converter.context;
  converter.input.close();
  const std::string path = platform::resolvePath(context.run.currentDirectory, entry);
  // A picture or a program gets no page, so it declares nothing either.
  if (!isTextFile(path) || !converter.input.open(path)) return true;
  converter.outputFileName = baseName(entry) + ".htm";
  // Each file is read with its own comment rules, whatever was converted before it.
  converter.language = languageOf(entry);
  const bool recognizes = hasClassRecognition(converter.language);
  std::string line;
  while (converter.input.readLine(line)) {
    if (line.empty()) continue;
    if (context.run.stopRequested) return false;
    stripByteOrderMark(line);
    line = escapeLine(line);
    size_t lineComment = colourLineComment(converter, line);
    colourBlockComments(converter, line, lineComment);
    if (!recognizes) continue;
    // Every language is read with the C/C++ keywords here: "class", "struct" and "enum"
    // are marked the same way in all of them.
    colourKeywords(converter, line, SourceLanguage::Cpp);
    recognizeClass(converter, line, true);
    recognizeStruct(converter, line, true);
    recognizeEnum(converter, line, true);
  }
  converter.input.close();
  return true;
}

}  // namespace

void preprocessClassTree(SourceFileConverter& converter) {
  ClassModel& model = converter.context.classModel;
  clearClassModel(model);
  addProgressLine(converter.context.run, "Preprocessing class-tree data...");
  converter.markup = pageMarkupFor(converter.context.settings.colors);
  bool going = true;
  for (const std::string& entry : converter.project.headerFiles)
    if (going) going = preprocessFile(converter, entry);
  for (const std::string& entry : converter.project.sourceFiles)
    if (going) going = preprocessFile(converter, entry);
  indexClassNames(model);
}

void sortClassRecords(ClassModel& model) {
  auto byName = [](const ClassRecord& a, const ClassRecord& b) { return a.name < b.name; };
  for (auto* list : {&model.classRecords, &model.structRecords, &model.enumRecords})
    std::stable_sort(list->begin(), list->end(), byName);
  indexClassNames(model);
}

}  // namespace quillon
