// Micro-benchmarks of the line passes, the engine's against the straightforward reference
// (tests/reference), on typical C/C++ lines and on adversarial ones: a 1 MB line of code,
// lines of 10,000 and 100,000 keywords, lines of 10,000 reference-table words.
//
// The reference is quadratic on long lines, so its adversarial cases use the 10,000-item
// lines only.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/comments.h"
#include "engine/escape.h"
#include "engine/keywords.h"
#include "engine/line_pass.h"
#include "engine/reference_link_pass.h"
#include "tests/reference/reference_passes.h"
#include "tests/support/engine_fixture.h"

using namespace quillon;
using testing_support::EngineFixture;

namespace {

// Lines as they come in ordinary headers and sources.
const char* typicalSource[] = {
    "/* Copyright (C) 1991-2023 Free Software Foundation, Inc.",
    "   This file is part of the GNU C Library.",
    "   License as published by the Free Software Foundation; either */",
    "#ifndef _STDIO_H",
    "#define _STDIO_H\t1",
    "#include <bits/types.h>",
    "#include \"config.h\"",
    "",
    "__BEGIN_DECLS",
    "typedef struct _IO_FILE FILE;",
    "extern int fprintf (FILE *__restrict __stream, const char *__restrict __format, ...);",
    "extern int printf (const char *__restrict __format, ...);",
    "/* Write formatted output to S.  */",
    "extern int sprintf (char *__restrict __s, const char *__restrict __format, ...) __THROWNL;",
    "class Shape : public Base {",
    "public:",
    "    virtual void Draw(Canvas& canvas) const = 0;",
    "    double Area() const { return width_ * height_; }  // cached",
    "private:",
    "    std::vector<Point> points_;",
    "};",
    "static inline unsigned long hash(const char* s) {",
    "\tunsigned long h = 5381;",
    "\twhile (*s) h = ((h << 5) + h) + (unsigned char)*s++;",
    "\treturn h;",
    "}",
    "enum Color { RED, GREEN = 2, BLUE };",
    "#endif /* stdio.h */",
    "    if (x > 0 && y < 10) { printf(\"%d // not a comment\\n\", x); }",
    "namespace detail { template <typename T> struct Holder { T value; }; }",
};

std::vector<std::string> typicalRaw() {
  return {std::begin(typicalSource), std::end(typicalSource)};
}

std::vector<std::string> typicalEscaped() {
  std::vector<std::string> lines;
  for (const char* s : typicalSource) lines.push_back(escapeLine(s));
  return lines;
}

size_t totalSize(const std::vector<std::string>& lines) {
  size_t n = 0;
  for (const auto& l : lines) n += l.size();
  return n;
}

/// Typical code joined into one line of about `bytes` bytes (without its "//" comments,
/// after which a line holds nothing to colour).
std::string longCodeLine(size_t bytes) {
  std::string line;
  while (line.size() < bytes)
    for (const char* s : typicalSource)
      if (std::string_view(s).find("//") == std::string_view::npos) line += std::string(s) + " ";
  return line;
}

/// `count` keywords of the C/C++ table, in table order, round and round, spaced.
std::string keywordLine(size_t count) {
  const KeywordTable table = keywordTableFor(SourceLanguage::Cpp);
  std::string line;
  for (size_t i = 0; i < count; ++i) line += std::string(table.words[i % table.size]) + " ";
  return line;
}

/// `count` words of the reference table: all different, or one word over and over.
std::string tableWordLine(size_t count, bool sameWord) {
  std::string line;
  for (size_t i = 0; i < count; ++i)
    line += (sameWord ? "word0" : "word" + std::to_string(i)) + " ";
  return line;
}

/// A context with a reference table of 10,000 words (URLs without "//", so that a word's
/// every occurrence is linked) and a few recorded class names.
void furnish(EngineFixture& f) {
  f.as(SourceLanguage::Cpp);
  for (int i = 0; i < 10000; ++i)
    f.addLink("word" + std::to_string(i), "w" + std::to_string(i) + ".htm");
  f.addLink("printf", "http://x.org/printf");
  for (const char* name : {"Shape", "Point", "Canvas", "Holder"}) {
    ClassRecord r;
    r.name = name;
    r.page = "shapes.h.htm";
    r.link = r.page + "#" + r.name;
    f.classes.classRecords.push_back(r);
  }
  indexClassNames(f.classes);
}

enum class Impl { Engine, Reference };

// ---- Escaping

void escapeLines(benchmark::State& state, Impl impl, std::vector<std::string> lines) {
  std::string out;
  for (auto _ : state) {
    for (const std::string& l : lines) {
      out.clear();
      impl == Impl::Engine ? appendEscaped(out, l) : reference::appendEscaped(out, l);
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * totalSize(lines)));
}

// ---- The page body: what the floor program does per line, against the whole line pass

void floorEntries(benchmark::State& state, std::vector<std::string> lines) {
  std::string body;
  for (auto _ : state) {
    body.clear();
    for (const std::string& l : lines) {
      body += "<nobr>";
      appendEscaped(body, l);
      body += "</nobr><br>\n";
    }
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * totalSize(lines)));
}

void pageEntries(benchmark::State& state, std::vector<std::string> lines) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  std::string body, line;
  for (auto _ : state) {
    body.clear();
    f.converter.inBlockComment = false;
    for (const std::string& l : lines) {
      line.assign(l);
      convertLine(f.converter, line);
      appendPageEntry(body, line);
    }
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * totalSize(lines)));
}

// ---- One pass over escaped lines (each iteration starts from fresh copies)

using Pass = void (*)(EngineFixture&, std::string&);

void runPass(benchmark::State& state, Pass pass, std::vector<std::string> lines, bool links) {
  EngineFixture f;
  if (links) furnish(f);
  std::vector<std::string> work = lines;
  for (auto _ : state) {
    // Each round starts from fresh copies (the copying is measured by copy_only).
    for (size_t i = 0; i < lines.size(); ++i) work[i].assign(lines[i]);
    f.converter.inBlockComment = false;
    for (std::string& l : work) pass(f, l);
    benchmark::DoNotOptimize(work.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * totalSize(lines)));
}

void copyOnly(EngineFixture&, std::string&) {}

void engineKeywords(EngineFixture& f, std::string& l) {
  colourKeywords(f.converter, l, SourceLanguage::Cpp);
}
void referenceKeywords(EngineFixture& f, std::string& l) {
  reference::colourKeywords(f.converter, l, SourceLanguage::Cpp);
}
void engineComments(EngineFixture& f, std::string& l) {
  colourBlockComments(f.converter, l, colourLineComment(f.converter, l));
}
void referenceComments(EngineFixture& f, std::string& l) {
  reference::colourBlockComments(f.converter, l, reference::colourLineComment(f.converter, l));
}
void engineReferenceLinks(EngineFixture& f, std::string& l) { applyReferenceLinks(f.converter, l); }
void referenceReferenceLinks(EngineFixture& f, std::string& l) {
  reference::applyReferenceLinks(f.converter, l);
}
void engineClassLinks(EngineFixture& f, std::string& l) { linkClassNames(f.converter, l); }
void referenceClassLinks(EngineFixture& f, std::string& l) {
  reference::linkClassNames(f.converter, l);
}
void engineWholeLine(EngineFixture& f, std::string& l) { convertLine(f.converter, l); }
void referenceWholeLine(EngineFixture& f, std::string& l) {
  reference::referenceConvertLine(f.converter, l);
}

const size_t megabyte = 1 << 20;

}  // namespace

BENCHMARK_CAPTURE(escapeLines, engine_typical, Impl::Engine, typicalRaw());
BENCHMARK_CAPTURE(escapeLines, reference_typical, Impl::Reference, typicalRaw());
BENCHMARK_CAPTURE(escapeLines, engine_1MB_line, Impl::Engine,
                  std::vector<std::string>{longCodeLine(megabyte)});
BENCHMARK_CAPTURE(escapeLines, reference_1MB_line, Impl::Reference,
                  std::vector<std::string>{longCodeLine(megabyte)});

BENCHMARK_CAPTURE(floorEntries, typical, typicalRaw());
BENCHMARK_CAPTURE(pageEntries, typical, typicalRaw());
BENCHMARK_CAPTURE(runPass, copy_only_typical, copyOnly, typicalEscaped(), false);
BENCHMARK_CAPTURE(runPass, keywords_engine_typical, engineKeywords, typicalEscaped(), false);
BENCHMARK_CAPTURE(runPass, keywords_reference_typical, referenceKeywords, typicalEscaped(), false);
BENCHMARK_CAPTURE(runPass, keywords_engine_1MB_line, engineKeywords,
                  {escapeLine(longCodeLine(megabyte))}, false);
BENCHMARK_CAPTURE(runPass, keywords_engine_10k_keywords, engineKeywords,
                  {escapeLine(keywordLine(10000))}, false);
BENCHMARK_CAPTURE(runPass, keywords_reference_10k_keywords, referenceKeywords,
                  {escapeLine(keywordLine(10000))}, false)
    ->Iterations(2);
BENCHMARK_CAPTURE(runPass, keywords_engine_100k_keywords, engineKeywords,
                  {escapeLine(keywordLine(100000))}, false);

BENCHMARK_CAPTURE(runPass, comments_engine_typical, engineComments, typicalEscaped(), false);
BENCHMARK_CAPTURE(runPass, comments_reference_typical, referenceComments, typicalEscaped(), false);
BENCHMARK_CAPTURE(runPass, comments_engine_1MB_line, engineComments,
                  {escapeLine(longCodeLine(megabyte))}, false);
BENCHMARK_CAPTURE(runPass, comments_engine_100KB_line, engineComments,
                  {escapeLine(longCodeLine(megabyte / 10))}, false);
BENCHMARK_CAPTURE(runPass, comments_reference_100KB_line, referenceComments,
                  {escapeLine(longCodeLine(megabyte / 10))}, false)
    ->Iterations(1);

BENCHMARK_CAPTURE(runPass, reflinks_engine_typical, engineReferenceLinks, typicalEscaped(), true);
BENCHMARK_CAPTURE(runPass, reflinks_reference_typical, referenceReferenceLinks, typicalEscaped(),
                  true);
BENCHMARK_CAPTURE(runPass, reflinks_engine_10k_words, engineReferenceLinks,
                  {escapeLine(tableWordLine(10000, false))}, true);
BENCHMARK_CAPTURE(runPass, reflinks_reference_10k_words, referenceReferenceLinks,
                  {escapeLine(tableWordLine(10000, false))}, true)
    ->Iterations(2);
BENCHMARK_CAPTURE(runPass, reflinks_engine_10k_same_word, engineReferenceLinks,
                  {escapeLine(tableWordLine(10000, true))}, true);
BENCHMARK_CAPTURE(runPass, reflinks_reference_10k_same_word, referenceReferenceLinks,
                  {escapeLine(tableWordLine(10000, true))}, true)
    ->Iterations(1);

BENCHMARK_CAPTURE(runPass, classlinks_engine_typical, engineClassLinks, typicalEscaped(), true);
BENCHMARK_CAPTURE(runPass, classlinks_reference_typical, referenceClassLinks, typicalEscaped(),
                  true);
BENCHMARK_CAPTURE(runPass, classlinks_engine_1MB_line, engineClassLinks,
                  {escapeLine(longCodeLine(megabyte))}, true);

BENCHMARK_CAPTURE(runPass, line_engine_typical, engineWholeLine, typicalRaw(), false);
BENCHMARK_CAPTURE(runPass, line_reference_typical, referenceWholeLine, typicalRaw(), false);
BENCHMARK_CAPTURE(runPass, line_engine_typical_with_links, engineWholeLine, typicalRaw(), true);
BENCHMARK_CAPTURE(runPass, line_reference_typical_with_links, referenceWholeLine, typicalRaw(),
                  true);
BENCHMARK_CAPTURE(runPass, line_engine_1MB_line, engineWholeLine, {longCodeLine(megabyte)}, true);
BENCHMARK_CAPTURE(runPass, line_engine_100k_keywords, engineWholeLine, {keywordLine(100000)}, true);
BENCHMARK_CAPTURE(runPass, line_engine_10k_words, engineWholeLine, {tableWordLine(10000, false)},
                  true);

BENCHMARK_MAIN();
