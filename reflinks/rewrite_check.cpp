// A strict reading of the links format beside the tolerant one: it accepts only the tags
// the format has, blanks and line breaks between them, and texts that the reader keeps
// whole. Whatever it accepts is then compared with the reader's records, so a file passes
// only when both readings agree item by item.
#include "reflinks/rewrite_check.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace quillon {

namespace {

constexpr std::string_view flagNames[] = {"cpp", "csharp", "java", "vb", "all"};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct Cursor {
  std::string_view text;
  size_t pos = 0;
  int line = 1;
  size_t lineStart = 0;

  bool atEnd() const { return pos >= text.size(); }
  bool startsWith(std::string_view s) const { return text.substr(pos, s.size()) == s; }
  void advance(size_t n) {
    for (; n > 0 && pos < text.size(); --n, ++pos)
      if (text[pos] == '\n') {
        ++line;
        lineStart = pos + 1;
      }
  }
  void skipSpace() {
    while (!atEnd() && isSpace(text[pos])) advance(1);
  }
  bool accept(std::string_view s) {
    if (!startsWith(s)) return false;
    advance(s.size());
    return true;
  }
  /// The text at the cursor up to the end of its tag or line, for a message.
  std::string quoted() const {
    size_t end = std::min({text.find('>', pos), text.find('\n', pos), pos + 40, text.size()});
    if (end < text.size() && text[end] == '>') ++end;
    std::string shown(text.substr(pos, end - pos));
    if (!shown.empty() && shown.back() == '\r') shown.pop_back();
    return "\"" + shown + "\"";
  }
};

/// One item as written: its texts with blanks and line breaks taken out, and its flags.
struct WrittenItem {
  int line = 0;
  ReferenceLink record;
};

class StrictReading {
 public:
  explicit StrictReading(std::string_view text) : c_{text} {}

  std::vector<WrittenItem> items;
  RewriteLoss loss;

  bool readFile() {
    c_.accept("\xEF\xBB\xBF");
    c_.skipSpace();
    if (c_.atEnd()) return true;
    if (c_.startsWith("<?xml")) {
      size_t end = c_.text.find("?>", c_.pos);
      if (end == std::string_view::npos) return fail("the declaration \"<?xml\" is not closed");
      c_.advance(end + 2 - c_.pos);
      c_.skipSpace();
    }
    const bool root = c_.accept("<referenceLinks>");
    if (!root && !c_.startsWith("<item>")) {
      if (!holdsReferenceLinks(c_.text))
        return fail("this is not a reference links file (it has no <referenceLinks> or <item>)", 0);
      return unknown();
    }
    for (c_.skipSpace(); c_.startsWith("<item>"); c_.skipSpace())
      if (!readItem()) return false;
    if (root && !c_.accept("</referenceLinks>")) return unknown();
    c_.skipSpace();
    return c_.atEnd() || unknown();
  }

 private:
  bool fail(std::string what, int line = -1) {
    loss = {line < 0 ? c_.line : line, std::move(what)};
    return false;
  }
  bool unknown() {
    return fail(c_.quoted() + " is not part of the reference links format and would be lost");
  }

  bool readItem() {
    WrittenItem item{c_.line, {}};
    c_.accept("<item>");
    bool haveWord = false, haveLink = false;
    for (c_.skipSpace(); !c_.startsWith("</item>"); c_.skipSpace()) {
      if (c_.startsWith("<word>")) {
        if (haveWord) return fail("a second <word> in an item replaces the first");
        if (!readText("word", &item.record.word)) return false;
        haveWord = true;
      } else if (c_.startsWith("<link>")) {
        if (haveLink) return fail("a second <link> in an item replaces the first");
        if (!readText("link", &item.record.link)) return false;
        haveLink = true;
      } else if (!readFlag(item.record)) {
        return loss.what.empty() ? unknown() : false;
      }
    }
    if (c_.pos == c_.lineStart)
      return fail("\"</item>\" in the first column is passed over by the reader, so this item "
                  "runs into the next one");
    c_.accept("</item>");
    if (!haveWord || !haveLink)
      return fail(std::string("the item has no ") + (haveWord ? "<link>" : "<word>") +
                      ", so the reader skips it",
                  item.line);
    items.push_back(std::move(item));
    return true;
  }

  bool readFlag(ReferenceLink& record) {
    bool* flags[] = {&record.cpp, &record.csharp, &record.java, &record.vb, &record.all};
    for (size_t i = 0; i < std::size(flagNames); ++i) {
      const std::string open = "<" + std::string(flagNames[i]);
      if (!c_.accept(open + "/>") && !c_.accept(open + " />")) {
        if (!c_.accept(open + ">")) continue;
        c_.skipSpace();
        if (!c_.accept("</" + std::string(flagNames[i]) + ">"))
          return fail("text inside " + open + "> would be lost: the tag alone sets the flag");
      }
      *flags[i] = true;
      return true;
    }
    return false;
  }

  // The text of <word> or <link>, plain or as one CDATA section, kept whole by the reader.
  bool readText(const std::string& name, std::string* text) {
    c_.accept("<" + name + ">");
    bool raw = false;  // something other than blanks was written, as the reader requires
    while (!c_.atEnd() && c_.text[c_.pos] != '<') {
      if (!plainChar(name, text, &raw)) return false;
    }
    if (c_.accept("<![CDATA[")) {
      while (!c_.atEnd() && !c_.startsWith("]]>") && c_.text[c_.pos] != '<' &&
             c_.text[c_.pos] != ']') {
        if (!plainChar(name, text, &raw)) return false;
      }
      if (!c_.accept("]]>")) return fail("the CDATA section of the " + name + " is cut short");
      c_.skipSpace();
    }
    if (!c_.accept("</" + name + ">")) return unknown();
    if (!raw) return fail("the " + name + " is empty, so the reader skips the item");
    return true;
  }

  bool plainChar(const std::string& name, std::string* text, bool* raw) {
    const char ch = c_.text[c_.pos];
    if (ch == ']') return fail("\"]\" ends the " + name + " for the reader; what follows would be lost");
    if (static_cast<unsigned char>(ch) >= 128)
      return fail("the " + name + " holds a non-ASCII character, which the reader reads as \",\"");
    if (ch != '\n' && !(ch == '\r' && c_.startsWith("\r\n"))) {
      *raw = true;
      if (ch != ' ') *text += ch;
    }
    c_.advance(1);
    return true;
  }

  Cursor c_;
};

bool sameRecord(const ReferenceLink& a, const ReferenceLink& b) {
  return a.word == b.word && a.link == b.link && a.cpp == b.cpp && a.csharp == b.csharp &&
         a.java == b.java && a.vb == b.vb && a.all == b.all;
}

}  // namespace

RewriteLoss findRewriteLoss(std::string_view text, const ReferenceLinkTable& table) {
  StrictReading reading(text);
  if (!reading.readFile()) return reading.loss;
  const std::vector<WrittenItem>& items = reading.items;
  for (size_t i = 0; i < items.size(); ++i)
    if (i >= table.links.size() || !sameRecord(items[i].record, table.links[i]))
      return {items[i].line, "the reader does not read this item as it is written"};
  if (table.links.size() > items.size())
    return {0, "the reader finds more items than the file shows"};
  return {};
}

bool readsBackAsTyped(const ReferenceLink& typed) {
  ReferenceLink expected = typed;
  for (std::string* text : {&expected.word, &expected.link})
    text->erase(std::remove(text->begin(), text->end(), ' '), text->end());
  ReferenceLinkTable table;
  parseReferenceLinks(table, "<referenceLinks>\n" + formatItemLine(typed) + "\n</referenceLinks>\n");
  return table.links.size() == 1 && sameRecord(table.links[0], expected);
}

}  // namespace quillon
