#include "classmodel/preprocess.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>
#include <vector>

#include "classmodel/recognize.h"
#include "classmodel/records.h"
#include "engine/comments.h"
#include "engine/converter.h"
#include "engine/escape.h"
#include "engine/keywords.h"
#include "engine/thread_scratch.h"
#include "workspace/disk_paths.h"
#include "workspace/page_names.h"

namespace quillon {

namespace {

/// Whether `line` holds a block comment's marker: a line without one leaves the comment
/// state as it is.
bool mayComment(std::string_view line) {
  return line.find("/*") != std::string_view::npos || line.find("*/") != std::string_view::npos;
}

/// Whether `line` holds a word that the recognition looks for: a line without one
/// declares nothing.
bool mayDeclare(std::string_view line) {
  for (std::string_view word : {"class", "struct", "enum"})
    if (line.find(word) != std::string_view::npos) return true;
  return false;
}

/// Reads one listed file (`entry`, found at `path`) with collecting on. False when a stop
/// request ended it.
bool preprocessFile(SourceFileConverter& converter, const std::string& entry,
                    const std::string& path, const std::string& page) {
  RunContext& context = converter.context;
  converter.input.close();
  // A picture or a program gets no page, so it declares nothing either.
  if (!converter.input.open(path)) return true;
  if (!converter.input.startsAsText()) {
    converter.input.close();
    return true;
  }
  converter.outputFileName = page;
  // Each file is read with its own comment rules, whatever was converted before it.
  converter.language = languageOf(entry);
  const bool recognizes = hasClassRecognition(converter.language);
  // The keywords the page colours, its language's and any added ones: a declared name
  // that is a keyword of the page ("class extends" in Java) is coloured there and gets no
  // anchor, so it must not be recorded either, nor a "struct" that a Java page leaves
  // plain.
  converter.keywords = context.settings.keywords.get();
  std::string line;
  while (converter.input.readLine(line)) {
    if (line.empty()) continue;
    if (context.run.stopRequested) return false;
    stripByteOrderMark(line);
    // Most lines change nothing that collecting gathers: they are passed by unescaped,
    // or escaped only to follow the comments.
    const bool declares = recognizes && mayDeclare(line);
    if (!declares && !mayComment(line)) continue;
    line = escapeLine(line);
    size_t lineComment = colourLineComment(converter, line);
    colourBlockComments(converter, line, lineComment);
    if (!declares) continue;
    colourKeywords(converter, line, converter.language);
    recognizeClass(converter, line, true);
    recognizeStruct(converter, line, true);
    recognizeEnum(converter, line, true);
  }
  converter.input.close();
  return true;
}

/// A listed file, where it is read and the page that its declarations link to.
struct ListedFile {
  const std::string& entry;
  std::string path;
  std::string page;
};

/// Reads `entry` into records of its own, starting inside a block comment or not. Touches
/// nothing the run shares but reading the stop flag.
GatheredFile readFile(RunContext& shared, const PageMarkup& markup, const ListedFile& entry,
                     bool startsInComment) {
  GatheredFile file;
  file.read = true;
  RunContext context{shared.settings, shared.run, shared.referenceLinks, file.model,
                     nullptr,          nullptr,    shared.namePasses};
  SourceFileConverter converter(context);
  converter.markup = markup;
  converter.inBlockComment = file.startedInComment = startsInComment;
  try {
    file.complete = preprocessFile(converter, entry.entry, entry.path, entry.page);
  } catch (const std::bad_alloc&) {
    // A line too long for the memory there is: the file declares nothing (its page
    // reports the same), and the thread's grown buffers are let go.
    converter.input.close();
    releaseThreadScratch();
    file.model = ClassModel();
    converter.inBlockComment = startsInComment;
  }
  file.endedInComment = converter.inBlockComment;
  file.outputFileName = converter.outputFileName;
  return file;
}

/// Appends the records of `from` to `to`, copied (or moved from a model no longer needed).
void appendRecords(ClassModel& to, const ClassModel& from) {
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    const std::vector<ClassRecord>& records = recordsOf(from, kind);
    recordsOf(to, kind).insert(recordsOf(to, kind).end(), records.begin(), records.end());
  }
}
void appendRecords(ClassModel& to, ClassModel&& from) {
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum})
    for (ClassRecord& record : recordsOf(from, kind)) recordsOf(to, kind).push_back(std::move(record));
}

}  // namespace

// The block-comment flag carries over from one file to the next, so strictly each file
// depends on the one before. Almost every file ends outside a comment, though: the files
// are read on the run's threads as if each started outside one, and the rare file whose
// predecessor ended inside a comment is read again, in order, from inside it. The lists
// are then those of reading the files one after another.
std::vector<std::string> gatheringOrder(const ProjectModel& project) {
  std::vector<std::string> order(project.headerFiles);
  order.insert(order.end(), project.sourceFiles.begin(), project.sourceFiles.end());
  return order;
}

void preprocessClassTree(SourceFileConverter& converter, GatheringCache* cache) {
  RunContext& context = converter.context;
  ClassModel& model = context.classModel;
  clearClassModel(model);
  addProgressLine(context.run, "Preprocessing class-tree data...");
  converter.markup = pageMarkupFor(context.settings.colors);

  std::vector<ListedFile> entries;
  const ProjectModel& project = converter.project;
  const std::vector<std::string> order = gatheringOrder(project);
  for (const std::string& entry : order)
    entries.push_back({entry, diskPathOf(project, context.run.currentDirectory, entry),
                       listedNameOf(project, entry).page});
  // An earlier run's records of a file, when they may stand for reading it.
  auto earlier = [&](size_t i, bool inComment) -> GatheredFile* {
    if (!cache || i >= cache->earlier.size() || !cache->earlier[i]) return nullptr;
    GatheredFile* file = cache->earlier[i];
    return file->startedInComment == inComment && file->complete ? file : nullptr;
  };
  // A file with earlier records most likely starts as it did then: it is not read ahead.
  auto cached = [&](size_t i) {
    return cache && i < cache->earlier.size() && cache->earlier[i] && cache->earlier[i]->complete;
  };

  std::vector<GatheredFile> files(entries.size());
  const size_t threads = std::min(static_cast<size_t>(std::max(context.settings.jobs, 1)),
                                  entries.size());
  if (threads > 1) {
    std::atomic<size_t> next{0};
    auto work = [&] {
      for (size_t i = next++; i < entries.size(); i = next++)
        if (!context.run.stopRequested && !cached(i))
          files[i] = readFile(context, converter.markup, entries[i], false);
      releaseThreadScratch();
    };
    std::vector<std::thread> workers;
    for (size_t t = 0; t < threads; ++t) workers.emplace_back(work);
    for (std::thread& worker : workers) worker.join();
  }

  bool inComment = converter.inBlockComment;
  std::vector<const GatheredFile*> used(entries.size(), nullptr);
  for (size_t i = 0; i < entries.size(); ++i) {
    GatheredFile* file = earlier(i, inComment);
    if (file) {
      appendRecords(model, std::move(file->model));
    } else {
      if ((!files[i].read || files[i].startedInComment != inComment) && context.run.stopRequested)
        break;
      if (!files[i].read || files[i].startedInComment != inComment)
        files[i] = readFile(context, converter.markup, entries[i], inComment);
      file = &files[i];
      // The records read are kept for the cache, so they are copied; else moved.
      if (cache)
        appendRecords(model, file->model);
      else
        appendRecords(model, std::move(file->model));
    }
    used[i] = file;
    inComment = file->endedInComment;
    if (!file->outputFileName.empty()) converter.outputFileName = file->outputFileName;
    if (!file->complete) break;
  }
  converter.inBlockComment = inComment;
  indexClassNames(model);
  if (cache) {
    cache->gathered = std::move(used);
    cache->read = std::move(files);  // the records `gathered` points at (moving keeps them)
  }
}

void sortClassRecords(ClassModel& model) {
  for (auto* list : {&model.classRecords, &model.structRecords, &model.enumRecords}) {
    // The places are sorted, and each record moved once, rather than the records.
    std::vector<size_t> order(list->size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [list](size_t a, size_t b) { return (*list)[a].name < (*list)[b].name; });
    std::vector<ClassRecord> sorted;
    sorted.reserve(list->size());
    for (size_t i : order) sorted.push_back(std::move((*list)[i]));
    *list = std::move(sorted);
  }
  indexClassNames(model);
}

}  // namespace quillon
