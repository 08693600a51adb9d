#include "engine/line_pass.h"

#include <charconv>
#include <cstring>

#include "engine/comments.h"
#include "engine/converter.h"
#include "engine/escape.h"
#include "engine/include_links.h"
#include "engine/keyword_matcher.h"
#include "engine/keyword_sets.h"
#include "engine/keywords.h"
#include "engine/reference_link_pass.h"
#include "engine/rich_pass.h"
#include "engine/text_tests.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {

/// Whether the comment tag and the link style hold no "<" but the tag's first, as those
/// of `pageMarkupFor` do. Remembered for the last markup seen, as it runs once per line.
bool plainMarkup(const PageMarkup& markup) {
  struct Memo {
    std::string comment, style;
    bool plain = false;
  };
  Memo& memo = threadScratch<Memo>();
  if (!sameText(markup.commentOpen, memo.comment) || !sameText(markup.linkStyle, memo.style)) {
    memo.comment = markup.commentOpen;
    memo.style = markup.linkStyle;
    memo.plain = memo.comment.find('<', 1) == npos && memo.style.find('<') == npos;
  }
  return memo.plain;
}

/// The line pass's buffers, kept from line to line.
struct LineScratch {
  std::string escaped;
  std::vector<KeywordOccurrence> found;
};

/// The page body and the line being read, kept from file to file.
struct PageScratch {
  std::string body;
  std::string line;
};

}  // namespace

void convertLine(SourceFileConverter& converter, std::string& line) {
  // Escaped into a buffer kept from line to line, so that no line allocates. Escaping
  // tells which of the bytes the passes look for the line holds; a pass whose marker is
  // missing is not called, as it would find nothing ("#include" needs "#", a comment "/"
  // or "'", a block comment "/" and "*").
  //
  // A line that does not start inside a block comment is searched for keywords while it
  // is escaped (the keyword pass works on the search unless links change the line).
  const bool startsInComment = converter.inBlockComment;
  LineScratch& scratch = threadScratch<LineScratch>();
  std::string& escaped = scratch.escaped;
  std::vector<KeywordOccurrence>& found = scratch.found;
  const KeywordMatcher& matcher = keywordMatcherFor(converter, converter.language);
  const bool search = !converter.inBlockComment && matcher.searchesSource();
  auto escape = [&] {
    escaped.clear();
    return search ? matcher.escapeAndFind(escaped, line, found)
                  : appendEscapedNoting(escaped, line);
  };
  // On a UTF-8 page a tab after a multi-byte character is widened by characters first
  // (which strips the byte-order mark, as below).
  const bool expanded = converter.utf8Columns && expandTabsByCharacters(line);
  unsigned holds = escape();
  if (!expanded && (holds & holdsByteOrderMarkStart)) {
    const size_t before = line.size();
    stripByteOrderMark(line);
    if (line.size() != before) holds = escape();
  }
  line.swap(escaped);
  const size_t escapedSize = line.size();

  if (holds & holdsHash) linkInclude(converter, line);
  // (Most runs have no table and no class names: the calls are spared then.)
  if (!converter.context.referenceLinks.links.empty()) applyReferenceLinks(converter, line);
  // With cross-references the workspace's analysis places every name, class names too.
  const NamePasses* passes = converter.context.namePasses;
  if (converter.placedNames)
    linkPlacedNames(converter, line);
  else if (passes && passes->linkNames)
    passes->linkNames(converter, line);
  const bool linked = line.size() != escapedSize;
  const unsigned sourceHolds = holds;
  if (linked) holds = holdsAnything;  // links brought their markup
  const bool visualBasic = converter.language == SourceLanguage::VB;
  size_t lineComment = npos;
  if (holds & (visualBasic ? holdsApostrophe : holdsSlash))
    lineComment = colourLineComment(converter, line);
  // (The line comment's tag may bring what the line lacked.)
  if (((holds & holdsSlash) && (holds & holdsStar)) || lineComment != npos)
    colourBlockComments(converter, line, lineComment);

  // Unchanged since escaping, the line still holds only the bytes escaping saw.
  KeywordLineFacts facts;
  if (line.size() == escapedSize) {
    facts.mayHoldSlash = holds & holdsSlash;
    facts.mayHoldQuote = holds & holdsQuote;
  }
  if (!linked) {
    facts.source = &escaped;  // the source line, swapped out above
    if (search) facts.found = &found;
    if (line.size() != escapedSize) facts.commentTag = &converter.markup.commentOpen;
  }
  const bool declaring = colourKeywords(converter, line, converter.language, facts);
  // A declaration pattern ("class</font>&nbsp;" and the like) arises only where the
  // keyword pass coloured its keyword: "<" stands only in markup, and no other pass puts
  // "</font>" after a word (a comment's follows "*/" or ends the line), unless its tags
  // hold a "<" of their own.
  if ((declaring || !plainMarkup(converter.markup)) && hasClassRecognition(converter.language) &&
      passes && passes->anchorDeclarations)
    passes->anchorDeclarations(converter, line);
  // Last, so that every pass before it sees the line as it always did.
  // (`escaped` holds the source line, swapped out above.)
  if (converter.context.settings.richColours &&
      (converter.literals.kind != LiteralState::Code || startsInComment ||
       (mayHoldLiteral(sourceHolds, converter.language) &&
        sourceMayHoldLiteral(escaped, converter.language))))
    colourLiterals(converter, line, startsInComment);
}

void appendPageEntry(std::string& body, const std::string& line, size_t number,
                     bool numberShown) {
  static constexpr std::string_view open = "<nobr>", close = "</nobr><br>\n";
  if (number != 0) {
    appendEntryStart(body, number, numberShown);
    body += line;
    body += close;
    return;
  }
  // The usual entry: the body grows once for all of it, not once for each of its parts.
  const size_t at = body.size();
  body.resize(at + open.size() + line.size() + close.size());
  char* w = &body[at];
  std::memcpy(w, open.data(), open.size());
  std::memcpy(w + open.size(), line.data(), line.size());
  std::memcpy(w + open.size() + line.size(), close.data(), close.size());
}

void appendEntryStart(std::string& body, size_t number, bool numberShown) {
  static constexpr std::string_view open = "<nobr>";
  if (number == 0) {
    body += open;
    return;
  }
  // Put together beside the body and appended at once: it comes with every line.
  char text[64];
  char* w = text;
  auto put = [&w](std::string_view part) {
    std::memcpy(w, part.data(), part.size());
    w += part.size();
  };
  char digits[20];
  const std::string_view n(digits, static_cast<size_t>(
                                        std::to_chars(digits, digits + 20, number).ptr - digits));
  if (numberShown) {
    put("<nobr><a id=\"L");
    put(n);
    put("\" href=\"#L");
    put(n);
    put("\"></a>");
  } else {
    // An anchor that shows no number is no link (nothing could be clicked): the line
    // itself carries it.
    put("<nobr id=L");
    put(n);
    put(">");
  }
  body.append(text, static_cast<size_t>(w - text));
}

// The number is generated content of the empty anchor, counted by the style: it is no
// text of the page, so a selection of lines copies the source alone.
std::string_view lineNumberStyle() {
  return "<style type=\"text/css\">\n"
         "body{counter-reset:line}\n"
         "nobr>a[id]{counter-increment:line;display:inline-block;min-width:5ch;"
         "margin-right:2ch;text-align:right;color:inherit;text-decoration:none;opacity:.5;"
         "-webkit-user-select:none;user-select:none}\n"
         "nobr>a[id]::before{content:counter(line)}\n"
         "nobr>a[id]:target{opacity:1;font-weight:bold}\n"
         "</style>\n";
}

void convertLines(SourceFileConverter& converter) {
  // The body is collected and handed to the page writer in blocks; the page only takes
  // its place when the whole file has been read (the writer renames it into place). A
  // block the size of the writer's own stays in the cache while the writer copies it, and
  // each converting thread's body stays that small.
  static constexpr size_t flushSize = 1 << 16;
  // Kept from file to file (and line to line), so that their memory is reused.
  PageScratch& scratch = threadScratch<PageScratch>();
  std::string& body = scratch.body;
  std::string& line = scratch.line;
  body.clear();
  // With line numbers each entry carries the number of the line the reader gave it.
  const ConversionSettings& settings = converter.context.settings;
  const bool numbered = settings.lineNumbers || settings.crossReferences || settings.textSearch;
  const bool shown = settings.lineNumbers;
  while (converter.input.readLine(line)) {
    if (converter.context.run.stopRequested) break;
    convertLine(converter, line);
    const size_t number = numbered ? converter.input.lineNumber() : 0;
    if (line.size() >= flushSize) {
      // A huge line goes to the page as it is, not copied into the body first.
      appendEntryStart(body, number, shown);
      converter.output.write(body);
      body.clear();
      converter.output.write(line);
      converter.output.write("</nobr><br>\n");
      continue;
    }
    appendPageEntry(body, line, number, shown);
    if (body.size() >= flushSize) {
      converter.output.write(body);
      body.clear();
    }
  }
  converter.output.write(body);
}

}  // namespace quillon
