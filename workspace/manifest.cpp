#include "workspace/manifest.h"

#include <algorithm>
#include <cstring>

#include "engine/html_text.h"

namespace quillon {

namespace {

constexpr std::string_view manifestHeading = "quillon manifest 2";

// ---- the manifest's text: lines of fields; the last field of a line may hold blanks,
// and every text has its line ends, tabs and "%" written as "%XX".

void appendEscaped(std::string& out, std::string_view text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  auto plain = [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != '%' && c != 0x7F; };
  if (std::all_of(text.begin(), text.end(), plain)) {
    out += text;
    return;
  }
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || c == '%' || b == 0x7F) {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    } else {
      out += c;
    }
  }
}

/// Unescapes `text` into `out`; with no `out`, only checks it.
bool unescape(std::string_view text, std::string* out) {
  if (text.find('%') == std::string_view::npos) {
    if (out) out->assign(text);
    return true;
  }
  if (out) out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      if (out) *out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    unsigned value = 0;
    for (size_t k = 1; k <= 2; ++k) {
      const char c = text[i + k];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
      else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
      else return false;
    }
    if (out) *out += static_cast<char>(value);
    i += 2;
  }
  return true;
}

void appendHex64(std::string& out, std::uint64_t value) {
  static constexpr char hex[] = "0123456789abcdef";
  char digits[16];
  for (int i = 15; i >= 0; --i, value >>= 4) digits[i] = hex[value & 15];
  out.append(digits, 16);
}

/// Reads the lines of a manifest's text one at a time, field by field.
class Fields {
 public:
  explicit Fields(std::string_view text) : text_(text) {}
  /// Takes the next line; false at the end of the text.
  bool next() {
    if (at_ >= text_.size()) return false;
    size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) end = text_.size();
    line_ = text_.substr(at_, end - at_);
    if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);  // written CR LF
    at_ = end + 1;
    return true;
  }
  std::string_view line() const { return line_; }
  /// The next field up to a blank (or with `rest`, the rest of the line).
  bool field(std::string_view* out, bool rest = false) {
    if (line_.empty() && !rest) return false;
    const size_t end = rest ? line_.size() : std::min(line_.find(' '), line_.size());
    *out = line_.substr(0, end);
    line_.remove_prefix(std::min(end + 1, line_.size()));
    return true;
  }
  bool number(std::uint64_t* out, int base = 10) {
    std::string_view f;
    if (!field(&f) || f.empty() || f.size() > 20) return false;
    std::uint64_t value = 0;
    for (char c : f) {
      int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
      if (digit >= base) return false;
      value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    *out = value;
    return true;
  }
  /// The next text, up to a tab (with `last`, the rest of the line), unescaped (with no
  /// `out`, only checked).
  bool text(std::string* out, bool last = false) {
    const size_t end = last ? line_.size() : line_.find('\t');
    if (end == std::string_view::npos || !unescape(line_.substr(0, end), out)) return false;
    line_.remove_prefix(std::min(end + 1, line_.size()));
    return true;
  }
  /// Where the next line starts.
  size_t at() const { return std::min(at_, text_.size()); }

 private:
  std::string_view text_, line_;
  size_t at_ = 0;
};

void appendStamp(std::string& out, const platform::FileStamp& stamp, std::uint64_t hash) {
  appendDecimal(out, stamp.size);
  out += ' ';
  appendDecimal(out, static_cast<std::uint64_t>(stamp.modified));
  out += ' ';
  appendHex64(out, hash);
}

bool readStamp(Fields& f, platform::FileStamp* stamp, std::uint64_t* hash) {
  std::uint64_t modified = 0;
  if (!f.number(&stamp->size) || !f.number(&modified) || !f.number(hash, 16)) return false;
  stamp->modified = static_cast<std::int64_t>(modified);
  return true;
}

/// Reads the rest of a member's line ("m" taken); with no `m`, only checks it.
bool readMember(Fields& f, MemberRecord* m) {
  std::string_view flags;
  std::uint64_t line = 0;
  if (!f.field(&flags) || flags.size() != 2 || !f.number(&line)) return false;
  if (!m) return f.text(nullptr, true);
  m->isFunction = flags[0] == '1';
  m->isPublic = flags[1] == '1';
  m->line = static_cast<size_t>(line);
  m->icon = memberIcon(m->isFunction, m->isPublic);
  return f.text(&m->text, true);
}


}  // namespace

void dropCarriageReturns(std::string& text) {
  size_t to = 0, from = 0;
  for (;;) {
    const void* cr = std::memchr(text.data() + from, '\r', text.size() - from);
    const size_t end = cr ? static_cast<size_t>(static_cast<const char*>(cr) - text.data()) : text.size();
    if (to != from) std::memmove(&text[to], &text[from], end - from);
    to += end - from;
    if (!cr) break;
    from = end + 1;
  }
  text.resize(to);
}

void appendGatheredHeading(std::string& out, const ManifestGathered& file, const GatheredFile& g) {
  out += "g ";
  appendStamp(out, file.stamp, file.hash);
  out += ' ';
  out += g.startedInComment ? '1' : '0';
  out += g.endedInComment ? '1' : '0';
  out += ' ';
  appendEscaped(out, file.entry);
  out += '\t';
  appendEscaped(out, file.page);
  out += '\t';
  appendEscaped(out, g.outputFileName);
  out += '\n';
}

std::string manifestText(const Manifest& manifest) {
  std::string out(manifestHeading);
  out += "\noptions ";
  appendHex64(out, manifest.options);
  out += "\ntrees ";
  appendHex64(out, manifest.trees);
  out += manifest.utf8Trees ? " 1\n" : " 0\n";
  for (const ManifestPage& page : manifest.pages) {
    out += "p ";
    appendHex64(out, page.key);
    out += ' ';
    appendStamp(out, page.stamp, page.hash);
    out += ' ';
    appendEscaped(out, page.page);
    out += '\t';
    appendEscaped(out, page.entry);
    out += '\n';
    for (const auto& [name, led] : page.includes) {
      out += "i ";
      appendEscaped(out, name);
      out += '\t';
      appendEscaped(out, led);
      out += '\n';
    }
  }
  for (const ManifestGathered& file : manifest.gathered) appendGatheredText(out, file, file.records);
  out += "end\n";
  return out;
}

void appendGatheredText(std::string& out, const ManifestGathered& file, const GatheredFile& g) {
  appendGatheredHeading(out, file, g);
  if (!file.recordsText.empty())
    out += file.recordsText;
  else
    appendRecordsText(out, g.model);
}

void appendRecordsText(std::string& out, const ClassModel& model) {
  for (int k = 0; k < 3; ++k)
    for (const ClassRecord& record : recordsOf(model, static_cast<RecordKind>(k))) {
      out += "r ";
      out += static_cast<char>('0' + k);
      out += ' ';
      appendEscaped(out, record.name);
      out += '\t';
      appendEscaped(out, record.link);
      out += '\t';
      appendEscaped(out, record.page);
      out += '\n';
      for (const MemberRecord& m : record.members) {  // the icon follows from the flags
        out += "m ";
        out += m.isFunction ? '1' : '0';
        out += m.isPublic ? '1' : '0';
        out += ' ';
        appendDecimal(out, m.line);
        out += ' ';
        appendEscaped(out, m.text);
        out += '\n';
      }
    }
}

bool readManifest(std::string_view text, Manifest* manifest) {
  *manifest = Manifest();
  Fields f(text);
  std::string_view word;
  if (!f.next() || f.line() != manifestHeading) return false;
  if (!f.next() || !f.field(&word) || word != "options" || !f.number(&manifest->options, 16))
    return false;
  std::string_view utf8;
  if (!f.next() || !f.field(&word) || word != "trees" || !f.number(&manifest->trees, 16) ||
      !f.field(&utf8) || (utf8 != "0" && utf8 != "1"))
    return false;
  manifest->utf8Trees = utf8 == "1";
  ClassRecord* record = nullptr;
  size_t recordsFrom = 0;  // where the lines of the last gathered file's records start
  while (f.next()) {
    if (!f.field(&word)) return false;
    if (word == "end") return !f.next();
    if (word == "p") {
      ManifestPage& page = manifest->pages.emplace_back();
      if (!f.number(&page.key, 16) || !readStamp(f, &page.stamp, &page.hash) || !f.text(&page.page) ||
          !f.text(&page.entry, true))
        return false;
      record = nullptr;
    } else if (word == "i") {
      if (manifest->pages.empty()) return false;
      auto& [name, led] = manifest->pages.back().includes.emplace_back();
      if (!f.text(&name) || !f.text(&led, true)) return false;
    } else if (word == "g") {
      // The gathered files follow the pages, about as many.
      if (manifest->gathered.empty()) manifest->gathered.reserve(manifest->pages.size());
      ManifestGathered& file = manifest->gathered.emplace_back();
      std::string_view comments;
      if (!readStamp(f, &file.stamp, &file.hash) || !f.field(&comments) || comments.size() != 2 ||
          !f.text(&file.entry) || !f.text(&file.page) || !f.text(&file.records.outputFileName, true))
        return false;
      file.records.startedInComment = comments[0] == '1';
      file.records.endedInComment = comments[1] == '1';
      file.records.read = true;
      record = nullptr;
      recordsFrom = f.at();
    } else if (word == "r") {
      std::uint64_t kind = 0;
      if (manifest->gathered.empty() || !f.number(&kind) || kind > 2) return false;
      auto& list = recordsOf(manifest->gathered.back().records.model, static_cast<RecordKind>(kind));
      record = &list.emplace_back();
      if (!f.text(&record->name) || !f.text(&record->link) || !f.text(&record->page, true))
        return false;
      manifest->gathered.back().recordsText = text.substr(recordsFrom, f.at() - recordsFrom);
    } else if (word == "m") {
      // Only checked: the members are read when the trees are written (readMembers).
      if (!record || !readMember(f, nullptr)) return false;
      manifest->gathered.back().recordsText = text.substr(recordsFrom, f.at() - recordsFrom);
    } else {
      return false;
    }
  }
  return false;  // no "end": cut short
}

bool readMembers(std::string_view recordsText, ClassModel& model, size_t (&next)[3]) {
  Fields f(recordsText);
  std::string_view word;
  ClassRecord* record = nullptr;
  while (f.next()) {
    if (!f.field(&word)) return false;
    if (word == "r") {
      std::uint64_t kind = 0;
      if (!f.number(&kind) || kind > 2) return false;
      std::vector<ClassRecord>& list = recordsOf(model, static_cast<RecordKind>(kind));
      if (next[kind] >= list.size()) return false;
      record = &list[next[kind]++];
      record->members.clear();
    } else if (word != "m" || !record || !readMember(f, &record->members.emplace_back())) {
      return false;
    }
  }
  return true;
}

}  // namespace quillon
