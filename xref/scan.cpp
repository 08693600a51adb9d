#include "xref/scan.h"

#include <algorithm>
#include <unordered_map>

#include "engine/escape.h"
#include "engine/line_reader.h"

namespace quillon::xref {

namespace {

/// The start of each line of `text`, and one past the end.
std::vector<size_t> lineStarts(std::string_view text) {
  std::vector<size_t> starts{0};
  for (size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1))
    starts.push_back(i + 1);
  if (starts.back() != text.size() || text.empty()) starts.push_back(text.size() + 1);
  return starts;
}

/// Line `n` (from 1) without its line end.
std::string_view lineOf(std::string_view text, const std::vector<size_t>& starts, size_t n) {
  if (n == 0 || n + 1 > starts.size()) return {};
  const size_t begin = starts[n - 1];
  size_t end = std::min(starts[n] - 1, text.size());
  if (end > begin && text[end - 1] == '\r') --end;
  return text.substr(begin, end - begin);
}

bool wholeIdentifierAt(std::string_view line, size_t at, std::string_view name) {
  if (name.empty() || at + name.size() > line.size() || line.compare(at, name.size(), name) != 0)
    return false;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(line[i]); };
  if (at > 0 && isIdentifierByte(byte(at - 1))) return false;
  const size_t end = at + name.size();
  return end == line.size() || !isIdentifierByte(byte(end));
}

/// How many whole identifiers equal to a name stand on a line before a column: the
/// identifiers of the line counted once from its start, as its records come by column
/// (a line of a million names costs no more than reading it).
class LineOrdinals {
 public:
  void startLine(std::string_view line) {
    line_ = line;
    next_ = 0;
    few_.clear();
    if (counts_.bucket_count() > 1024) counts_ = {};  // clearing a big table costs its size
    else counts_.clear();
  }
  std::uint32_t at(size_t column, std::string_view name) {
    while (next_ < column && next_ < line_.size()) {
      if (!isIdentifierByte(static_cast<unsigned char>(line_[next_]))) {
        ++next_;
        continue;
      }
      size_t end = next_;
      while (end < line_.size() && isIdentifierByte(static_cast<unsigned char>(line_[end]))) ++end;
      ++count(line_.substr(next_, end - next_));
      next_ = end;
    }
    if (few_.size() <= fewest) {
      for (const auto& [known, n] : few_)
        if (known == name) return n;
      return 0;
    }
    auto found = counts_.find(name);
    return found == counts_.end() ? 0 : found->second;
  }

 private:
  // A line's few names are counted in a short list; one of many, in a table.
  static constexpr size_t fewest = 32;
  std::uint32_t& count(std::string_view name) {
    if (few_.size() <= fewest) {
      for (auto& [known, n] : few_)
        if (known == name) return n;
      few_.emplace_back(name, 0);
      if (few_.size() <= fewest) return few_.back().second;
      for (const auto& [known, n] : few_) counts_.emplace(known, n);
    }
    return counts_[name];
  }

  std::string_view line_;
  size_t next_ = 0;
  std::vector<std::pair<std::string_view, std::uint32_t>> few_;
  std::unordered_map<std::string_view, std::uint32_t> counts_;
};

/// The line without its leading and trailing blanks, cut to the limit at a character
/// boundary (no UTF-8 sequence split).
std::string_view trimmedLine(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
  if (line.size() <= lineTextLimit) return line;
  // A UTF-8 sequence is at most four bytes: a lead byte up to three back whose sequence
  // reaches past the cut is cut off whole. Bytes that are no UTF-8 (8-bit text) are cut
  // where the limit falls, never back to nothing.
  size_t cut = lineTextLimit;
  for (size_t back = 1; back <= 3; ++back) {
    const unsigned char c = static_cast<unsigned char>(line[cut - back]);
    if ((c & 0xC0) == 0x80) continue;
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (length > back) cut -= back;
    break;
  }
  return line.substr(0, cut);
}

}  // namespace

namespace {

std::uint64_t nameHash(std::string_view name) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a, then mixed: names are short
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h ^ (h >> 29);
}

}  // namespace

void FileScan::indexNames() {
  size_t size = 64;
  while (size < (names.size() + 1) * 2) size <<= 1;  // room for the next name too
  slots_.assign(size, 0);
  indexed_ = 0;
  for (NameId id = 1; id < names.size(); ++id) {
    const std::uint64_t hash = nameHash(names[id]);
    for (size_t i = static_cast<size_t>(hash) & (size - 1);; i = (i + 1) & (size - 1)) {
      const std::uint64_t slot = slots_[i];
      if (slot == 0) {
        slots_[i] = (hash & 0xFFFFFFFF00000000ull) | id;
        break;
      }
      if ((slot >> 32) == (hash >> 32) && names[slot & 0xFFFFFFFFu] == names[id]) break;  // kept first
    }
  }
  indexed_ = names.size();
}

NameId FileScan::intern(std::string_view name) {
  if (name.empty()) return 0;
  if (indexed_ != names.size() || (names.size() + 1) * 2 > slots_.size()) indexNames();
  const std::uint64_t hash = nameHash(name);
  const size_t mask = slots_.size() - 1;
  size_t i = static_cast<size_t>(hash) & mask;
  for (;; i = (i + 1) & mask) {
    const std::uint64_t slot = slots_[i];
    if (slot == 0) break;
    if ((slot >> 32) == (hash >> 32) && names[slot & 0xFFFFFFFFu] == name)
      return static_cast<NameId>(slot & 0xFFFFFFFFu);
  }
  const auto id = static_cast<NameId>(names.size());
  names.emplace_back(name);
  slots_[i] = (hash & 0xFFFFFFFF00000000ull) | id;
  indexed_ = names.size();
  return id;
}

void FileScan::releaseNameIndex() {
  std::vector<std::uint64_t>().swap(slots_);
  indexed_ = 0;
}

std::string_view FileScan::lineText(std::uint32_t line) const {
  auto at = std::lower_bound(lineSpans_.begin(), lineSpans_.end(), line,
                             [](const LineSpan& span, std::uint32_t l) { return span.line < l; });
  if (at == lineSpans_.end() || at->line != line) return {};
  return std::string_view(texts_).substr(at->start, at->size);
}

void FileScan::keepLineText(std::uint32_t line, std::string_view text) {
  lineSpans_.push_back({line, static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(text.size())});
  texts_ += text;
}

FileScan scanSource(std::string_view text, SourceLanguage language) {
  FileScan scan;
  switch (language) {
    case SourceLanguage::Cpp: scanCpp(text, scan); break;
    case SourceLanguage::CSharp:
      scan.family = 1;
      scanCSharp(text, scan);
      break;
    case SourceLanguage::Java:
      scan.family = 2;
      scanJava(text, scan);
      break;
    case SourceLanguage::VB:
      scan.caseInsensitive = true;
      scan.family = 1;
      scanVisualBasic(text, scan);
      break;
    case SourceLanguage::None: break;
  }
  finishScan(text, scan);
  scan.releaseNameIndex();  // the scan is done: its names are only read from here on
  return scan;
}

void finishScan(std::string_view text, FileScan& scan) {
  const std::vector<size_t> starts = lineStarts(text);
  // Indexes change as records are dropped and sorted: the links between records (a
  // function, a local's definition) are carried over through the old index.
  std::vector<std::uint32_t> order(scan.records.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  const auto byPlace = [&](std::uint32_t a, std::uint32_t b) {
    const Record &x = scan.records[a], &y = scan.records[b];
    if (x.line != y.line) return x.line < y.line;
    return x.column != y.column ? x.column < y.column : x.role < y.role;
  };
  // The scanners mostly give their records in order already.
  if (!std::is_sorted(order.begin(), order.end(), byPlace))
    std::stable_sort(order.begin(), order.end(), byPlace);
  std::vector<std::uint32_t> moved(scan.records.size(), none);
  std::vector<Record> kept;
  kept.reserve(scan.records.size());
  LineOrdinals ordinals;
  for (std::uint32_t old : order) {
    Record r = scan.records[old];
    const std::string_view line = lineOf(text, starts, r.line);
    const std::string_view name = scan.names[r.name];
    if (!wholeIdentifierAt(line, r.column, name)) continue;
    // One record a place: a definition over a use that a scanner gave the same place.
    if (!kept.empty() && kept.back().line == r.line && kept.back().column == r.column) {
      moved[old] = static_cast<std::uint32_t>(kept.size() - 1);
      continue;
    }
    if (kept.empty() || kept.back().line != r.line) {
      scan.keepLineText(r.line, trimmedLine(line));
      ordinals.startLine(line);
    }
    r.ordinal = ordinals.at(r.column, name);
    moved[old] = static_cast<std::uint32_t>(kept.size());
    kept.push_back(r);
  }
  for (Record& r : kept) {
    if (r.function != none) r.function = moved[r.function];
    if (r.local != none) r.local = moved[r.local];
  }
  std::vector<BaseOf> bases;
  for (const BaseOf& b : scan.bases)
    if (moved[b.record] != none) bases.push_back({moved[b.record], b.base});
  scan.bases = std::move(bases);
  scan.records = std::move(kept);
}

bool readSourceText(const std::string& path, std::string* text) {
  LineReader reader;
  if (!reader.open(path) || !reader.startsAsText()) return false;
  text->clear();
  std::string line;
  while (reader.readLine(line)) {
    stripByteOrderMark(line);
    *text += line;
    *text += '\n';
  }
  return !reader.failed();
}

}  // namespace quillon::xref
