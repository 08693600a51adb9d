// The tolerant reader of ReferenceLinks.xml: a tag scanner that turns the lines into a
// flat list of elements, then an item pass that turns the elements into records. The
// file is hand-editable, so nothing in it stops the reading; odd input only yields fewer
// or merged records.
#include <algorithm>

#include "engine/line_reader.h"
#include "reflinks/reference_links.h"

namespace quillon {

namespace {

bool isTagNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-';
}

// The scanner's state lives across lines: a text may run over several lines and is only
// completed by the next "<".
class TagScanner {
 public:
  std::vector<ReferenceLinkElement> elements;

  void scanLine(std::string_view line) {
    size_t p = 0;
    while (p < line.size()) {
      if (line[p] != '<') {
        if (collecting_) buffer_ += line[p];
        ++p;
        continue;
      }
      if (collecting_ && !elements.empty()) {
        elements.back().text = buffer_;
        collecting_ = false;
      }
      if (p + 1 < line.size() && line[p + 1] == '/') {
        if (lastOpeningMadeElement_) closingTag(line, p);
        ++p;
        continue;
      }
      p = openingTag(line, p);
    }
  }

 private:
  // Returns where scanning goes on; that position is examined again by the line loop.
  size_t openingTag(std::string_view line, size_t p) {
    lastOpeningMadeElement_ = false;
    if (p + 1 < line.size() && (line[p + 1] == '!' || line[p + 1] == '?')) return p + 1;
    size_t i = p + 1;
    while (i < line.size() && isTagNameChar(line[i])) ++i;
    if (i == line.size()) return i;  // the tag is cut by the line end
    std::string name(line.substr(p + 1, i - p - 1));
    std::string text;
    size_t stop = textStep(line, i, name, text);
    elements.push_back({std::move(name), true, std::move(text)});
    lastOpeningMadeElement_ = true;
    return stop;
  }

  size_t textStep(std::string_view line, size_t i, const std::string& name, std::string& text) {
    buffer_.clear();
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (c == ']') {
        collecting_ = false;
        text = buffer_;
        return i;
      }
      if (c == '/' && i + 1 < line.size() && line[i + 1] == '>') {
        elements.push_back({name, false, {}});
        text.clear();
        return i;
      }
      if (c == '<') {
        // The opener of a CDATA section is nine characters long; its content is text.
        if (line.compare(i, 3, "<![") == 0 && i + 8 < line.size()) {
          i += 8;
          continue;
        }
        collecting_ = false;
        text = buffer_;
        return i;
      }
      if (collecting_) buffer_ += static_cast<unsigned char>(c) >= 128 ? ',' : c;
      if (c == '>') collecting_ = true;
    }
    text = buffer_;
    return i;
  }

  void closingTag(std::string_view line, size_t p) {
    if (p == 0 || elements.empty()) return;  // a closing tag in the first column is ignored
    // Stopping at a further "<" keeps the names of a run like "</</</" from each holding
    // the rest of the line; such a name matches no known tag either way.
    size_t end = line.find_first_of("<>", p + 2);
    if (end == std::string_view::npos) end = line.size();
    else if (line[end] == '<') ++end;
    elements.push_back({std::string(line.substr(p + 2, end - p - 2)), false, {}});
  }

  std::string buffer_;
  bool collecting_ = false;
  bool lastOpeningMadeElement_ = false;
};

void setFlag(ReferenceLink& record, const std::string& name) {
  if (name == "cpp") record.cpp = true;
  else if (name == "csharp") record.csharp = true;
  else if (name == "java") record.java = true;
  else if (name == "vb") record.vb = true;
  else if (name == "all") record.all = true;
}

void removeBlanks(std::string& text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
}

}  // namespace

std::vector<ReferenceLinkElement> scanReferenceLinkElements(std::string_view text) {
  TagScanner scanner;
  LineReader reader;
  reader.openText(std::string(text));
  std::string line;
  while (reader.readLine(line)) scanner.scanLine(line);
  return std::move(scanner.elements);
}

void collectReferenceLinks(ReferenceLinkTable& table,
                           const std::vector<ReferenceLinkElement>& elements) {
  for (size_t k = 0; k < elements.size(); ++k) {
    if (!elements[k].open || elements[k].name != "item") continue;
    ReferenceLink record;
    // Items are not nested: everything up to the next recognised "</item>" belongs to
    // this one, so an item whose closing tag was ignored runs on into the next.
    for (; k < elements.size(); ++k) {
      const ReferenceLinkElement& e = elements[k];
      if (!e.open && e.name == "item") break;
      setFlag(record, e.name);
      if (e.open && e.name == "word") record.word = e.text;
      else if (e.open && e.name == "link") record.link = e.text;
    }
    // Tested before the blanks go, so a word of blanks alone gives an empty word.
    if (record.word.empty() || record.link.empty()) continue;
    removeBlanks(record.word);
    removeBlanks(record.link);
    table.index[record.word] = static_cast<int>(table.links.size());
    table.links.push_back(std::move(record));
  }
}

void parseReferenceLinks(ReferenceLinkTable& table, std::string_view text) {
  clearReferenceLinks(table);
  collectReferenceLinks(table, scanReferenceLinkElements(text));
}

}  // namespace quillon
