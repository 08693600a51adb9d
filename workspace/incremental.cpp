#include "workspace/incremental.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <thread>
#include <unordered_set>

#include "classmodel/class_links.h"
#include "engine/include_links.h"
#include "engine/keyword_sets.h"
#include "engine/page_writer.h"
#include "engine/text_tests.h"
#include "quillon_version.h"
#include "workspace/disk_paths.h"
#include "workspace/page_names.h"

namespace quillon {

namespace {

constexpr std::string_view manifestHeading = "quillon manifest 2";

std::uint64_t mix(std::uint64_t h, std::uint64_t value) {
  h = (h ^ value) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}

std::uint64_t mixText(std::uint64_t h, std::string_view text) {
  return mix(h, contentHash(text));
}

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

void appendNumber(std::string& out, std::uint64_t value) {
  char digits[20];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<size_t>(end - digits));
}

/// Takes the CR out of each CR LF of `text` (a CR in a text is written "%0D").
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
  appendNumber(out, stamp.size);
  out += ' ';
  appendNumber(out, static_cast<std::uint64_t>(stamp.modified));
  out += ' ';
  appendHex64(out, hash);
}

bool readStamp(Fields& f, platform::FileStamp* stamp, std::uint64_t* hash) {
  std::uint64_t modified = 0;
  if (!f.number(&stamp->size) || !f.number(&modified) || !f.number(hash, 16)) return false;
  stamp->modified = static_cast<std::int64_t>(modified);
  return true;
}

/// The key of each class name: the links its records give, in the order a page tries
/// them (classes, structs, enums, each in the order listed).
using NameKeys = std::unordered_map<std::string, std::uint64_t>;

/// Adds the links of the records of `model` to the keys of their names, kind by kind.
void addNameKeys(NameKeys (&byKind)[3], const ClassModel& model) {
  for (int k = 0; k < 3; ++k)
    for (const ClassRecord& record : recordsOf(model, static_cast<RecordKind>(k))) {
      std::uint64_t& key = byKind[k][record.name];
      key = mixText(mix(key, static_cast<std::uint64_t>(k) + 1),
                    recordLinkTarget(record.link, record.page));
    }
}

NameKeys combinedKeys(const NameKeys (&byKind)[3]) {
  NameKeys keys;
  for (int k = 0; k < 3; ++k)
    for (const auto& [name, key] : byKind[k]) keys[name] = mix(keys[name], key);
  return keys;
}

/// The keys of the names of the gathered files, as the lists of their records in file
/// order give them.
NameKeys nameKeysOf(const std::vector<ManifestGathered>& gathered) {
  NameKeys byKind[3];
  for (const ManifestGathered& file : gathered) addNameKeys(byKind, file.records.model);
  return combinedKeys(byKind);
}

NameKeys nameKeysOf(const ClassModel& model) {
  NameKeys byKind[3];
  addNameKeys(byKind, model);
  return combinedKeys(byKind);
}

/// Whether two files' records give their names the same links: the same names, links and
/// pages, kind by kind.
bool sameLinks(const ClassModel& a, const ClassModel& b) {
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    const std::vector<ClassRecord>& x = recordsOf(a, kind);
    const std::vector<ClassRecord>& y = recordsOf(b, kind);
    if (x.size() != y.size()) return false;
    for (size_t r = 0; r < x.size(); ++r)
      if (x[r].name != y[r].name || x[r].link != y[r].link || x[r].page != y[r].page) return false;
  }
  return true;
}

/// Words that the escaping itself writes ("&nbsp;"): a class of such a name may be linked
/// in any page.
bool isMarkupWord(const std::string& name) {
  for (const char* word : {"nbsp", "lt", "gt", "amp", "quot"})
    if (name == word) return true;
  return !std::all_of(name.begin(), name.end(), isWordChar) || name.empty();
}

}  // namespace

std::uint64_t contentHash(std::string_view bytes) {
  std::uint64_t h = 0xCBF29CE484222325ull ^ bytes.size();
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    h = mix(h, word);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
  h = mix(mix(h, tail), h >> 17);
  return h | 1;  // never 0, which stands for "not read"
}

std::uint64_t optionsKey(const RunContext& context) {
  const ConversionSettings& s = context.settings;
  std::uint64_t key = mixText(0, QUILLON_VERSION);
  const ColorScheme& c = s.colors;
  for (ColorRef colour : {c.background, c.keyword, c.defaultText, c.comment, c.string, c.number,
                          c.preprocessor})
    key = mix(key, colour);
  key = mixText(key, s.fontFace);
  for (bool option : {s.lineNumbers, s.crossReferences, s.textSearch, s.richColours})
    key = mix(key, option);
  key = mix(mix(key, static_cast<std::uint64_t>(s.theme)), static_cast<std::uint64_t>(s.trees));
  if (s.keywords)
    for (SourceLanguage language : keywordLanguages)
      for (std::string_view word : s.keywords->table(language)) key = mixText(key, word);
  key = mix(key, 0x4C494E4B53ull);  // the reference links follow
  for (const ReferenceLink& link : context.referenceLinks.links) {
    key = mixText(mixText(key, link.word), link.link);
    key = mix(key, link.cpp | link.csharp << 1 | link.java << 2 | link.vb << 3 | link.all << 4);
  }
  return key;
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

namespace {

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

/// The line of a gathered file that comes before its records.
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

}  // namespace

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
        appendNumber(out, m.line);
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

IncrementalRun::IncrementalRun(RunContext& context, const ProjectModel& project, std::string directory)
    : context_(context), project_(project), directory_(std::move(directory)), options_(optionsKey(context)) {
  // The files gathered are looked at on a thread of their own while the manifest is read,
  // and those whose stamps changed are read on both.
  const std::vector<std::string> order = gatheringOrder(project);
  std::vector<Now> files(order.size());
  const bool twoThreads = context.settings.jobs > 1 && order.size() > 1;
  auto onBoth = [&](const std::function<void(size_t)>& look) {
    std::thread second;
    if (twoThreads)
      second = std::thread([&] { for (size_t i = 1; i < order.size(); i += 2) look(i); });
    for (size_t i = 0; i < order.size(); i += twoThreads ? 2 : 1) look(i);
    if (second.joinable()) second.join();
  };
  auto stampAll = [&] {
    for (size_t i = 0; i < order.size(); ++i) files[i] = stamped(order[i]);
  };
  std::thread stamping;
  if (twoThreads)
    stamping = std::thread(stampAll);
  else
    stampAll();
  if (readWholeFile(platform::joinPath(directory_, manifestName), &oldText_)) {
    dropCarriageReturns(oldText_);  // written with CR LF; the records' lines are repeated with LF
    usable_ = readManifest(oldText_, &old_) && old_.options == options_;
  }
  if (stamping.joinable()) stamping.join();
  if (!usable_) old_ = Manifest();
  oldPages_.reserve(old_.pages.size());
  oldStamps_.reserve(old_.pages.size() + old_.gathered.size());
  for (const ManifestPage& page : old_.pages) {
    oldPages_[page.page] = &page;
    oldStamps_[page.entry] = {page.stamp, page.hash};
  }
  for (const ManifestGathered& file : old_.gathered) oldStamps_[file.entry] = {file.stamp, file.hash};
  onBoth([&](size_t i) { hash(order[i], files[i]); });
  now_.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) now_.emplace(order[i], std::move(files[i]));

  // The files gathered before whose bytes and page are as they were stand for reading them.
  sameGathering_ = usable_ && old_.gathered.size() == order.size();
  for (size_t i = 0; sameGathering_ && i < order.size(); ++i)
    sameGathering_ = old_.gathered[i].entry == order[i];
  std::unordered_map<std::string, ManifestGathered*> gathered;
  if (!sameGathering_) {
    for (ManifestGathered& file : old_.gathered) gathered.emplace(file.entry, &file);
    if (usable_) oldNameKeys_ = nameKeysOf(old_.gathered);  // before their records move on
  }
  gathering_.earlier.assign(order.size(), nullptr);
  earlierFiles_.assign(order.size(), nullptr);
  for (size_t i = 0; i < order.size(); ++i) {
    ManifestGathered* earlier = nullptr;
    if (sameGathering_) {
      earlier = &old_.gathered[i];
    } else if (auto found = gathered.find(order[i]); found != gathered.end()) {
      earlier = found->second;
    }
    if (!earlier) continue;
    const Now& file = now(order[i]);
    if (file.hash != 0 && file.hash == earlier->hash &&
        earlier->page == listedNameOf(project, order[i]).page) {
      gathering_.earlier[i] = &earlier->records;
      earlierFiles_[i] = earlier;
    }
  }
}

const IncrementalRun::Now& IncrementalRun::now(const std::string& entry) {
  auto found = now_.find(entry);
  if (found != now_.end()) return found->second;
  Now file = stamped(entry);
  hash(entry, file);
  return now_.emplace(entry, std::move(file)).first->second;
}

IncrementalRun::Now IncrementalRun::stamped(const std::string& entry) const {
  Now file;
  const std::string& source = context_.settings.sourceDirectory;
  file.disk = diskPathOf(project_, source, entry);
  if (file.disk.empty()) file.disk = platform::resolvePath(source, entry);
  file.exists = platform::fileStamp(file.disk, &file.stamp);
  return file;
}

void IncrementalRun::hash(const std::string& entry, Now& file) const {
  if (!file.exists) return;
  auto earlier = oldStamps_.find(entry);
  if (earlier != oldStamps_.end() && earlier->second.first.size == file.stamp.size &&
      earlier->second.first.modified == file.stamp.modified) {
    file.hash = earlier->second.second;  // the file was not written since
    return;
  }
  std::string bytes;
  if (readWholeFile(file.disk, &bytes)) file.hash = contentHash(bytes);
}

bool IncrementalRun::mentions(const std::string& entry) {
  std::string bytes;
  if (!readWholeFile(now(entry).disk, &bytes)) return true;
  for (size_t i = 0; i < bytes.size();) {
    if (!isWordChar(bytes[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < bytes.size() && isWordChar(bytes[end])) ++end;
    if (changedNames_.count(bytes.substr(i, end - i))) return true;
    i = end;
  }
  return false;
}

bool IncrementalRun::treesCurrent(ClassModel& model, const std::string& sourceTreeTemplate,
                                  bool sorted, bool* utf8) {
  // What the trees and the search index are made of: the templates, the project's name
  // and listed files with their names, and every record with its members, which the
  // lines of each file's records give in full (in the order gathered, sorted or not).
  const std::string& data = context_.settings.startupDirectory;
  std::uint64_t key = mixText(options_, project_.displayName);
  for (const char* name : {"ClassTree_Template.htm", "SourceTree_Template.htm",
                           "ProjectTree_Template.htm", "TreeNodes.js"}) {
    std::string text;
    readWholeFile(platform::joinPath(data, name), &text);
    key = mixText(key, text);
  }
  key = mixText(key, sourceTreeTemplate);
  for (const std::vector<std::string>* list :
       {&project_.sourceFiles, &project_.headerFiles, &project_.resourceFiles, &project_.folderFiles}) {
    key = mix(key, list->size());
    for (const std::string& entry : *list) {
      const ListedName named = listedNameOf(project_, entry);
      key = mix(mixText(mixText(mixText(key, entry), named.page), named.shown), named.missing);
    }
  }
  key = mix(key, sorted);
  const std::vector<const GatheredFile*>& used = gathering_.gathered;
  recordTexts_.assign(used.size(), std::string());
  for (size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) {
      key = mix(key, 0);
    } else if (used[i] == gathering_.earlier[i] && earlierFiles_[i]) {
      key = mixText(key, earlierFiles_[i]->recordsText);
    } else {
      appendRecordsText(recordTexts_[i], used[i]->model);
      key = mixText(key, recordTexts_[i]);
    }
  }
  trees_ = key | 1;
  *utf8 = old_.utf8Trees;
  if (usable_ && old_.trees == trees_ &&
      platform::fileExists(platform::joinPath(directory_, "SourceTree.htm")) &&
      platform::fileExists(platform::joinPath(directory_, "ClassTree.htm")) &&
      platform::fileExists(platform::joinPath(directory_, "SearchIndex.js")))
    return true;
  // The records taken from the manifest come without their members; the trees show them.
  size_t next[3] = {0, 0, 0};
  for (size_t i = 0; i < used.size() && used[i]; ++i) {
    if (used[i] == gathering_.earlier[i] && earlierFiles_[i]) {
      readMembers(earlierFiles_[i]->recordsText, model, next);  // read once before: it fits
    } else {
      for (int k = 0; k < 3; ++k) next[k] += recordsOf(used[i]->model, static_cast<RecordKind>(k)).size();
    }
  }
  return false;
}

std::vector<PagePlan> IncrementalRun::pagesToConvert(
    const std::vector<PagePlan>& plans, const ClassModel& model, const WorkspacePages& pages,
    const std::function<std::uint64_t(const PagePlan&)>& placedKey) {
  pages_ = &pages;
  // The class names whose links are not what they were: the pages that name them change.
  if (usable_ && changedNames_.empty() && !everyPageNamesThem_) {
    auto note = [&](const std::string& name) {
      changedNames_.insert(name);
      everyPageNamesThem_ = everyPageNamesThem_ || isMarkupWord(name);
    };
    if (sameGathering_) {
      // A name's links follow from the records of the files in order: only a file read
      // again can change them, and then only the names it declared or declares.
      const ClassModel none;
      for (size_t i = 0; i < old_.gathered.size(); ++i) {
        const GatheredFile* used = i < gathering_.gathered.size() ? gathering_.gathered[i] : nullptr;
        if (used && used == gathering_.earlier[i]) continue;
        const ClassModel& before = old_.gathered[i].records.model;
        const ClassModel& after = used ? used->model : none;
        if (sameLinks(before, after)) continue;
        for (const ClassModel* side : {&before, &after})
          for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum})
            for (const ClassRecord& record : recordsOf(*side, kind)) note(record.name);
      }
    } else {
      const NameKeys after = nameKeysOf(model);
      for (const auto& [name, key] : after) {
        auto was = oldNameKeys_.find(name);
        if (was == oldNameKeys_.end() || was->second != key) note(name);
      }
      for (const auto& [name, key] : oldNameKeys_)
        if (!after.count(name)) note(name);
    }
  }
  // The pages there are, found in one reading of the folder.
  std::vector<std::string> files, folders;
  platform::listDirectory(directory_, &files, &folders);
  const std::unordered_set<std::string> present(files.begin(), files.end());
  std::vector<PagePlan> convert;
  for (const PagePlan& plan : plans) {
    const Now& file = now(plan.path);
    ManifestPage page;
    page.page = plan.pageName;
    page.entry = plan.path;
    page.stamp = file.stamp;
    page.hash = file.hash;
    if (file.hash != 0)
      page.key = mix(mixText(mixText(mix(options_, file.hash), plan.path), plan.pageName),
                     placedKey ? placedKey(plan) : 0) | 1;
    auto found = oldPages_.find(plan.pageName);
    const ManifestPage* old = usable_ && found != oldPages_.end() ? found->second : nullptr;
    bool current = old && page.key != 0 && old->key == page.key && present.count(plan.pageName);
    // An include leads where it led (the files listed, and those beside the includer).
    for (size_t k = 0; current && k < old->includes.size(); ++k)
      current = includedPage(pages, plan.path, old->includes[k].first) == old->includes[k].second;
    if (current && (everyPageNamesThem_ || (!changedNames_.empty() && mentions(plan.path))))
      current = false;
    if (current) {
      page.includes = old->includes;
      ++kept_;
    } else {
      convert.push_back(plan);
    }
    currentByPage_[page.page] = current_.size();
    current_.push_back(std::move(page));
  }
  return convert;
}

void IncrementalRun::converted(const std::vector<PagePlan>& plans,
                               const std::vector<PageOutcome>& outcomes) {
  for (size_t i = 0; i < plans.size() && i < outcomes.size(); ++i) {
    auto found = currentByPage_.find(plans[i].pageName);
    if (found == currentByPage_.end()) continue;
    ManifestPage& page = current_[found->second];
    const PageOutcome& outcome = outcomes[i];
    page.includes.clear();
    if (!outcome.written || outcome.outOfMemory || !outcome.readable) {
      page.key = 0;  // converted again next time
      continue;
    }
    for (const std::string& name : outcome.includes)
      page.includes.emplace_back(name, pages_ ? includedPage(*pages_, plans[i].path, name) : "");
  }
}

void IncrementalRun::finish() {
  const std::string manifestPath = platform::joinPath(directory_, manifestName);
  if (context_.run.stopRequested) {
    platform::removeFile(manifestPath);  // what was not converted must be next time
    return;
  }
  // The pages of files no longer listed go.
  for (const ManifestPage& page : old_.pages)
    if (!currentByPage_.count(page.page) && page.page.find_first_of("/\\") == std::string::npos)
      platform::removeFile(platform::joinPath(directory_, page.page));
  Manifest manifest;
  manifest.options = options_;
  manifest.trees = trees_;
  manifest.utf8Trees = utf8Trees_;
  manifest.pages = std::move(current_);  // the run is over: what it kept moves on
  // Written as it is made, a piece at a time: the gathered files' lines are most of it.
  PageWriter writer;
  bool written = writer.open(manifestPath);
  std::string text = manifestText(manifest);
  text.resize(text.size() - 4);  // "end\n" comes after the gathered files
  const std::vector<std::string> order = gatheringOrder(project_);
  for (size_t i = 0; i < order.size() && i < gathering_.gathered.size(); ++i) {
    const GatheredFile* records = gathering_.gathered[i];
    const Now& file = now(order[i]);
    if (!records || !records->read || !records->complete || file.hash == 0) continue;
    ManifestGathered kept;
    kept.entry = order[i];
    kept.page = listedNameOf(project_, order[i]).page;
    kept.stamp = file.stamp;
    kept.hash = file.hash;
    appendGatheredHeading(text, kept, *records);
    if (records == gathering_.earlier[i] && earlierFiles_[i])
      text += earlierFiles_[i]->recordsText;  // its records moved into the model
    else if (i < recordTexts_.size() && !recordTexts_[i].empty())
      text += recordTexts_[i];
    else
      appendRecordsText(text, records->model);
    if (text.size() >= 1 << 16) {
      writer.write(text);
      text.clear();
    }
  }
  text += "end\n";
  writer.write(text);
  if (!written || !writer.commit())
    addProblem(context_.run, std::string("<") + manifestName + " can't be written>");
  if (usable_) addProgressLine(context_.run, "Unchanged pages kept: " + std::to_string(kept_));
}

}  // namespace quillon
