#include "workspace/text_index.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "engine/escape.h"
#include "engine/line_reader.h"
#include "engine/page_writer.h"
#include "platform/platform.h"
#include "workspace/assets.h"
#include "workspace/disk_paths.h"
#include "workspace/page_names.h"
#include "workspace/project_model.h"
#include "workspace/tree_lines.h"
#include "workspace/trigram_lists.h"
#include "workspace/workspace.h"

namespace quillon {

namespace {

/// The characters of windows-1252 for the bytes 0x80 to 0x9F (the five it leaves undefined
/// stand for themselves, as browsers read them).
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char hexDigits[] = "0123456789ABCDEF";

/// Appends the UTF-16 of the character `code`.
void appendCharacter(std::u16string& out, std::uint32_t code) {
  if (code >= 0x10000) {
    out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
  } else {
    out += static_cast<char16_t>(code);
  }
}

/// Decodes UTF-8 as a browser does: a byte that begins no well-formed sequence, or the
/// part of one that breaks off, is one U+FFFD.
void appendUtf8(std::u16string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      continue;
    }
    const int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 && lead <= 0xEF ? 2
                     : lead >= 0xC2 && lead <= 0xDF                                 ? 1
                                                                                    : 0;
    if (!more) {
      out += u'\xFFFD';
      continue;
    }
    std::uint32_t code = lead & (0x3F >> more);
    int k = 1;
    for (; k <= more && i + k < text.size(); ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      // The second byte's range keeps out overlong forms, surrogates and too-high codes.
      const unsigned low = k > 1 ? 0x80 : lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
      const unsigned high = k > 1 ? 0xBF : lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
      if (next < low || next > high) break;
      code = code << 6 | (next & 0x3F);
    }
    if (k <= more) {
      out += u'\xFFFD';
      i += k - 1;
      continue;
    }
    appendCharacter(out, code);
    i += more;
  }
}

/// `line` with its tabs widened to stops of 4 byte columns, in `expanded`.
void expandTabsByBytes(std::string_view line, std::string& expanded) {
  expanded.clear();
  for (size_t from = 0;;) {
    const size_t tab = line.find('\t', from);
    expanded.append(line.data() + from, (tab == std::string_view::npos ? line.size() : tab) - from);
    if (tab == std::string_view::npos) return;
    expanded.append(4 - expanded.size() % 4, ' ');
    from = tab + 1;
  }
}

/// Widens the tabs of `line` to stops of 4 byte columns.
void expandTabsByBytes(std::string& line) {
  if (line.find('\t') == std::string::npos) return;
  std::string expanded;
  expandTabsByBytes(line, expanded);
  line.swap(expanded);
}

/// The key character of a lower-cased UTF-16 unit.
std::uint32_t keyCharacter(char16_t unit) {
  if (unit >= 'A' && unit <= 'Z') return unit + 32;
  if (unit < 0x80) return unit;
  if (unit == 0x212A) return 'k';  // KELVIN SIGN, which lower-cases to "k"
  return otherTrigramCharacter;
}

/// How a byte is written in a script string when the line is all bytes below 0x80 and
/// has no tab: 0 as it is, 1 after a backslash, 2 as "\u00XX"; 3: a tab or a byte of 0x80
/// or above, which the line's page does not show as it is.
struct AsciiEscapes {
  std::uint8_t of[256];
};
constexpr AsciiEscapes makeAsciiEscapes() {
  AsciiEscapes e{};
  for (int c = 0; c < 256; ++c)
    e.of[c] = c >= 0x80 || c == '\t'                                              ? 3
              : c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&' ? 2
              : c == '"' || c == '\\'                                      ? 1
                                                                            : 0;
  return e;
}
constexpr AsciiEscapes asciiEscapes = makeAsciiEscapes();

/// Whether any of the 8 bytes at `bytes` is not written as it is (`asciiEscapes`): a test
/// of all at once, each byte a lane of a 64-bit word. Exact when all are below 0x80; a
/// byte of 0x80 or above is itself reported.
bool anyEscaped(const char* bytes) {
  constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
  std::uint64_t x;
  std::memcpy(&x, bytes, 8);
  // Lanes below `n` (when all are below 0x80), and lanes equal to `c`.
  auto below = [&](std::uint64_t v, std::uint64_t n) { return (v - ones * n) & ~v & highs; };
  auto equal = [&](std::uint64_t v, std::uint64_t c) { return below(v ^ (ones * c), 1); };
  return (x & highs) | ((x + ones) & highs)  // 0x80 and above; 0x7F
         | below(x, 0x20)                     // controls and tabs
         | equal(x | ones * 0x04, '&')        // '"' and '&'
         | equal(x | ones * 0x02, '>')        // '<' and '>'
         | equal(x, '\\');
}

/// Collects the blocks of line texts and the blocks of each trigram.
class IndexBuilder {
 public:
  IndexBuilder(const TextIndexSink& sink, TextIndexSizes& sizes, size_t blockSize, int threads)
      : sink_(sink), sizes_(sizes), blockSize_(blockSize), threads_(std::max(threads, 1)) {
    beginBlock();
  }

  void beginFile(size_t file) {
    closeSegment();
    file_ = file;
  }

  /// A line of the page's text.
  void addLine(size_t number, std::u16string_view text) {
    openSegment(number);
    block_ += ",";
    block_ += textScriptString(text);
    std::uint32_t a = 0, b = 0;
    size_t have = 0;
    auto add = [&](std::uint32_t c) {
      if (++have >= 3) grams_.note(a, b, c);
      a = b;
      b = c;
    };
    for (char16_t unit : text) {
      if (unit == 0x0130) {  // a capital I with a dot above lower-cases to "i" and a dot
        add('i');
        add(otherTrigramCharacter);
      } else {
        add(keyCharacter(unit));
      }
    }
    endLine();
  }

  /// A line of bytes below 0x80 without tabs, which its page shows as it is. False, with
  /// nothing added, when the line holds a tab or a byte of 0x80 or above.
  bool addAsciiLine(size_t number, std::string_view text) {
    openSegment(number);
    const size_t mark = block_.size();
    block_ += ",\"";
    size_t plain = 0;  // the bytes from here on are copied as they are, in one piece
    for (size_t i = 0; i < text.size(); ++i) {
      // Eight bytes at a time while none is written otherwise.
      while (i + 8 <= text.size() && !anyEscaped(text.data() + i)) i += 8;
      if (i == text.size()) break;
      const auto u = static_cast<unsigned char>(text[i]);
      const std::uint8_t how = asciiEscapes.of[u];
      if (!how) continue;
      if (how == 3) {
        block_.resize(mark);
        return false;
      }
      block_.append(text.data() + plain, i - plain);
      plain = i + 1;
      if (how == 2) {
        const char escaped[] = {'\\', 'u', '0', '0', hexDigits[u >> 4], hexDigits[u & 15]};
        block_.append(escaped, 6);
      } else {
        block_ += '\\';
        block_ += text[i];
      }
    }
    block_.append(text.data() + plain, text.size() - plain);
    block_ += '"';
    grams_.noteAscii(text);
    endLine();
    return true;
  }

  bool ok() const { return ok_; }

  /// Writes the last block, the trigram shards and the index file.
  void finish(const std::vector<TextIndexFile>& files, const std::vector<bool>& indexed) {
    endBlock();
    const std::vector<TrigramLists::Listed> listed = grams_.listed();
    size_t total = 0;
    for (const TrigramLists::Listed& gram : listed) total += gram.size + 10;
    // Shards of about 16 KiB each, so that a query loads little more than it needs.
    const size_t shards = std::min<size_t>(4096, total / (16 * 1024) + 1);
    // The shards are made and handed over on the threads there are, each its share.
    auto makeShards = [&](size_t first, size_t step) {
      std::vector<std::string> texts(shards);
      for (size_t k = first; k < shards; k += step) {
        texts[k].reserve(total / shards + total / shards / 8 + 64);
        texts[k] += "\xEF\xBB\xBFquillonTextGrams(";
        texts[k] += std::to_string(k);
        texts[k] += ", {";
      }
      for (const TrigramLists::Listed& gram : listed) {
        const std::uint32_t key = gram.key;
        if (key % shards % step != first) continue;
        std::string& text = texts[key % shards];
        text += text.back() == '{' ? "\n" : ",\n";
        const std::u16string shown = {static_cast<char16_t>(key / (129 * 129)),
                                      static_cast<char16_t>(key / 129 % 129),
                                      static_cast<char16_t>(key % 129)};
        text += textScriptString(shown);
        text += ":\"";
        grams_.appendList(gram, text);
        text += '"';
      }
      for (size_t k = first; k < shards; k += step) {
        texts[k] += "\n});\n";
        emit("text/t" + std::to_string(k) + ".js", texts[k]);
        std::string().swap(texts[k]);
      }
    };
    const size_t step = std::min<size_t>(static_cast<size_t>(threads_), shards);
    std::vector<std::exception_ptr> failures(step);
    auto share = [&](size_t t) {
      try {
        makeShards(t, step);
      } catch (...) {
        failures[t] = std::current_exception();  // out of memory: the run reports it
      }
    };
    std::vector<std::thread> others;
    try {
      for (size_t t = 1; t < step; ++t) others.emplace_back(share, t);
    } catch (const std::system_error&) {
      // fewer threads than asked for: this one makes the shares of those not started
    }
    share(0);
    for (size_t t = others.size() + 1; t < step; ++t) share(t);
    for (std::thread& other : others) other.join();
    for (const std::exception_ptr& failure : failures)
      if (failure) std::rethrow_exception(failure);
    std::string index = "\xEF\xBB\xBFquillonTextIndex({\"gram\": 3, \"shards\": " +
                        std::to_string(shards) + ", \"blocks\": " + std::to_string(blocks_) +
                        ", \"lines\": " + std::to_string(sizes_.lines) + ", \"files\": [";
    for (size_t i = 0; i < files.size(); ++i) {
      index += i ? ",\n" : "\n";
      std::u16string shown, target, tab;
      appendUtf8(shown, files[i].shown);
      appendUtf8(target, files[i].target);
      appendUtf8(tab, files[i].tab);
      // A file that is no text keeps its place (the numbers of the others) with no lines.
      index += "[" + textScriptString(shown) + "," + textScriptString(target) + "," +
               textScriptString(tab) + (indexed[i] ? "]" : ",0]");
    }
    index += "\n]";
    bool anyDefinitions = false;
    for (size_t i = 0; i < files.size(); ++i) {
      if (files[i].definitions.empty()) continue;
      index += anyDefinitions ? ",\n\"" : ", \"defs\": {\n\"";
      anyDefinitions = true;
      index += std::to_string(i) + "\": [";
      std::uint32_t last = 0;
      for (size_t k = 0; k < files[i].definitions.size(); ++k) {
        if (k) index += ',';
        index += std::to_string(files[i].definitions[k] - last);
        last = files[i].definitions[k];
      }
      index += ']';
    }
    if (anyDefinitions) index += "\n}";
    index += "});\n";
    emit("text/index.js", index);
    sizes_.blocks = blocks_;
    sizes_.shards = shards;
  }

 private:
  void openSegment(size_t number) {
    if (segmentOpen_) return;
    block_ += block_.size() == blockStart_ ? "[" : ",\n[";
    block_ += std::to_string(file_);
    block_ += ',';
    block_ += std::to_string(number);
    segmentOpen_ = true;
  }

  void endLine() {
    ++sizes_.lines;
    if (block_.size() - blockStart_ >= blockSize_) endBlock();
  }

  void closeSegment() {
    if (segmentOpen_) block_ += "]";
    segmentOpen_ = false;
  }

  /// Starts the text of the next block's file; its lines follow from `blockStart_` on.
  void beginBlock() {
    block_ = "\xEF\xBB\xBFquillonTextBlock(";
    block_ += std::to_string(blocks_);
    block_ += ", [\n";
    blockStart_ = block_.size();
  }

  void endBlock() {
    closeSegment();
    if (block_.size() == blockStart_) return;
    grams_.endBlock(static_cast<std::uint32_t>(blocks_));
    const size_t number = blocks_++;
    block_ += "]);\n";
    emit("text/l" + std::to_string(number) + ".js", block_);
    beginBlock();
  }

  void emit(const std::string& name, const std::string& text) {
    // Each LF is written as CR LF.
    size_t lineEnds = 0;
    for (const char* at = text.data(), *end = at + text.size();
         (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)))); ++at)
      ++lineEnds;
    {
      std::lock_guard<std::mutex> hold(emitting_);  // the shards are handed over on several threads
      sizes_.indexBytes += text.size() + lineEnds;
      if (!ok_) return;
    }
    if (!sink_(name, text)) {
      std::lock_guard<std::mutex> hold(emitting_);
      ok_ = false;
    }
  }

  const TextIndexSink& sink_;
  TextIndexSizes& sizes_;
  size_t blockSize_;
  int threads_;
  std::mutex emitting_;
  size_t file_ = 0;
  bool segmentOpen_ = false;
  bool ok_ = true;
  std::string block_;      ///< the file of the block being filled
  size_t blockStart_ = 0;  ///< where its lines begin in `block_`
  size_t blocks_ = 0;
  TrigramLists grams_;
};

/// Whether all bytes of `line` are below 0x80: its page shows it as its bytes once its
/// tabs are widened (by bytes, which on such a line are its characters).
bool allAscii(std::string_view line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

/// Adds the lines of `input` to the index; `utf8`: its page is UTF-8. False when it could
/// not be read.
bool indexLines(IndexBuilder& builder, LineReader& input, bool utf8, std::uint64_t& bytes) {
  std::string_view line;
  std::string expanded;
  while (input.readLine(line)) {
    bytes += line.size() + 1;
    if (builder.addAsciiLine(input.lineNumber(), line)) continue;
    if (allAscii(line)) {  // with tabs
      expandTabsByBytes(line, expanded);
      builder.addAsciiLine(input.lineNumber(), expanded);
    } else {
      builder.addLine(input.lineNumber(), pageLineText(std::string(line), utf8));
    }
  }
  return !input.failed();
}

/// Adds the lines of one source to the index. False when it is no text or cannot be read.
bool indexSource(IndexBuilder& builder, const std::string& path, std::uint64_t& bytes) {
  LineReader input;
  if (!input.open(path) || !input.startsAsText()) return false;
  const bool utf8 = input.isUtf8();
  return indexLines(builder, input, utf8, bytes);
}

}  // namespace

std::u16string pageLineText(std::string line, bool utf8) {
  // As the line pass does: on a UTF-8 page a tab after a multi-byte character is widened
  // by characters (which drops the mark); else the mark goes and tabs are widened by bytes.
  if (!(utf8 && expandTabsByCharacters(line))) {
    stripByteOrderMark(line);
    expandTabsByBytes(line);
  }
  std::u16string out;
  out.reserve(line.size());
  if (utf8) {
    appendUtf8(out, line);
  } else {
    for (char c : line) {
      const auto b = static_cast<unsigned char>(c);
      out += b >= 0x80 && b < 0xA0 ? windows1252High[b - 0x80] : static_cast<char16_t>(b);
    }
  }
  return out;
}

std::string textScriptString(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  auto escape = [&](unsigned code) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hexDigits[(code >> shift) & 15];
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&') {
        escape(c);
      } else {
        if (c == '"' || c == '\\') out += '\\';
        out += static_cast<char>(c);
      }
      continue;
    }
    std::uint32_t code = c;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if ((c >= 0xD800 && c <= 0xDFFF) || c == 0x2028 || c == 0x2029 || c < 0xA0 ||
               c == 0xFEFF) {
      escape(c);  // a lone surrogate, a line separator, a C1 control, a byte-order mark
      continue;
    }
    if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    if (code >= 0x80) out += static_cast<char>(0x80 | (code & 0x3F));
  }
  out += '"';
  return out;
}

void appendTrigramKeys(std::u16string_view text, std::vector<std::uint32_t>& keys) {
  std::uint32_t a = 0, b = 0;
  size_t have = 0;
  auto add = [&](std::uint32_t c) {
    if (++have >= 3) keys.push_back(a << 16 | b << 8 | c);
    a = b;
    b = c;
  };
  for (char16_t unit : text) {
    if (unit == 0x0130) {  // a capital I with a dot above lower-cases to "i" and a dot
      add('i');
      add(otherTrigramCharacter);
    } else {
      add(keyCharacter(unit));
    }
  }
}

TextIndexFeed::TextIndexFeed(const std::vector<TextIndexFile>& files, size_t budget)
    : slots_(files.size(), Slot::Pending), texts_(files.size()), utf8_(files.size()), budget_(budget) {
  for (size_t i = 0; i < files.size(); ++i) fileOf_.emplace(files[i].page, i);
}

void TextIndexFeed::take(const std::string& page, std::string&& text, bool utf8) {
  const auto found = fileOf_.find(page);
  if (found == fileOf_.end()) return;
  const size_t file = found->second;
  std::unique_lock<std::mutex> hold(lock_);
  if (slots_[file] != Slot::Pending) return;
  if (held_ + text.size() > budget_) {
    slots_[file] = Slot::Missing;
  } else {
    held_ += text.size();
    texts_[file] = std::move(text);
    utf8_[file] = utf8;
    slots_[file] = Slot::Taken;
  }
  const bool awaited = awaited_ == file;
  hold.unlock();
  if (awaited) arrived_.notify_one();
}

void TextIndexFeed::close() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closed_ = true;
  }
  arrived_.notify_one();
}

bool TextIndexFeed::wait(size_t file, std::string* text, bool* utf8) {
  std::unique_lock<std::mutex> hold(lock_);
  awaited_ = file;
  arrived_.wait(hold, [&] { return slots_[file] != Slot::Pending || closed_; });
  awaited_ = SIZE_MAX;
  if (slots_[file] != Slot::Taken) return false;
  slots_[file] = Slot::Missing;
  text->swap(texts_[file]);
  std::string().swap(texts_[file]);
  held_ -= text->size();
  *utf8 = utf8_[file];
  return true;
}

bool buildTextIndex(const std::vector<TextIndexFile>& files, const TextIndexSink& sink,
                    TextIndexSizes* sizes, const std::function<bool()>& stop, size_t blockSize,
                    TextIndexFeed* feed, int threads) {
  TextIndexSizes own;
  TextIndexSizes& counted = sizes ? *sizes : own;
  counted = {};
  IndexBuilder builder(sink, counted, std::max<size_t>(blockSize, 1), threads);
  std::vector<bool> indexed(files.size(), false);
  for (size_t i = 0; i < files.size() && builder.ok(); ++i) {
    if (stop && stop()) break;
    builder.beginFile(i);
    std::string text;
    bool utf8 = false;
    if (feed && feed->wait(i, &text, &utf8)) {
      LineReader input;
      input.openText(std::move(text));
      indexed[i] = indexLines(builder, input, utf8, counted.sourceBytes);
    } else {
      indexed[i] = indexSource(builder, files[i].diskPath, counted.sourceBytes);
    }
  }
  builder.finish(files, indexed);
  return builder.ok();
}

std::vector<TextIndexFile> textIndexFiles(const ProjectModel& project,
                                          const std::string& sourceDirectory) {
  const bool fromDisk = !project.folderFiles.empty();
  std::vector<TextIndexFile> files;
  std::unordered_set<std::string> planned;
  for (const std::vector<std::string>* list :
       {&project.sourceFiles, &project.headerFiles, &project.resourceFiles}) {
    for (const std::string& entry : *list) {
      if (isImageResource(entry)) continue;
      const ListedName named = listedNameOf(project, entry);
      if (!planned.insert(named.page).second) continue;
      std::string disk = diskPathOf(project, sourceDirectory, entry);
      if (disk.empty()) disk = platform::resolvePath(sourceDirectory, entry);
      std::string shown = fromDisk ? entry : named.shown;
      std::replace(shown.begin(), shown.end(), '\\', '/');
      files.push_back({std::move(disk), std::move(shown), fileItemLink(entry, named), named.shown, named.page, {}});
    }
  }
  return files;
}

void addTextSearchScript(std::vector<std::string>& lines) {
  const std::string tree = std::string("<script src=\"") + treeScriptName + "\"></script>";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != tree) continue;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                 std::string("<script src=\"") + textSearchScriptName + "\"></script>");
    return;
  }
}

bool writeTextIndex(const std::string& directory, const std::string& dataDirectory,
                    const std::vector<TextIndexFile>& files, TextIndexSizes* sizes,
                    const std::function<bool()>& stop, TextIndexFeed* feed, int threads) {
  std::string script;
  bool ok = readWholeFile(platform::joinPath(dataDirectory, textSearchScriptName), &script);
  if (ok) {
    script.erase(std::remove(script.begin(), script.end(), '\r'), script.end());
    ok = writeTextFile(platform::joinPath(directory, textSearchScriptName), script);
  }
  const std::string folder = platform::joinPath(directory, "text");
  if (!platform::createDirectory(folder)) return false;
  std::unordered_set<std::string> written;  // of "text/", by their names there
  std::mutex writing;
  ok = buildTextIndex(
           files,
           [&](const std::string& name, const std::string& text) {
             {
               std::lock_guard<std::mutex> hold(writing);
               written.insert(name.substr(name.find('/') + 1));
             }
             return writeTextFile(platform::joinPath(directory, name), text);
           },
           sizes, stop, textBlockSize, feed, threads) &&
       ok;
  if (ok && !(stop && stop())) removeOtherFiles(folder, written);
  return ok;
}

}  // namespace quillon
