#pragma once
// The text index of a workspace (--text-search): every line of every page, as the page
// shows it, for the text mode of the trees' search box. It is a folder "text" of script
// files that the search box loads with script elements when a query needs them, so it
// works from disk with no server and no reading of files by script:
//
//   text/index.js   quillonTextIndex({gram, shards, blocks, lines, files: [[shown path,
//                   page link, tab text], ...]}), with cross-references also defs: {file:
//                   [the lines that hold a definition, each as its distance from the last]}
//   text/t<k>.js    quillonTextGrams(k, {"abc": "blocks", ...}): each trigram of the
//                   lower-cased text (a character above U+007F counts as U+0080) with
//                   the blocks whose lines hold it, as deltas in the digits below
//   text/l<k>.js    quillonTextBlock(k, [[file, first line, "text", "text", ...], ...]):
//                   about `blockSize` bytes of consecutive lines
//
// A trigram's shard is ((c0 * 129 + c1) * 129 + c2) % shards. The line texts are UTF-8
// (each file begins with a byte-order mark, which a browser obeys before any charset)
// with quotes, backslashes, "<", ">", "&", U+2028, U+2029 and control characters
// escaped, so no source text can end a string or a script.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

struct ProjectModel;

/// The script that the tree pages and pages of a text-searched workspace load.
inline constexpr const char* textSearchScriptName = "TextSearch.js";

/// A file of the workspace whose page the index holds.
struct TextIndexFile {
  std::string diskPath;  ///< where its source is read
  std::string shown;     ///< its path as results show it
  std::string target;    ///< its page, relative to the workspace folder
  std::string tab;       ///< the tab text of its page
  std::string page;      ///< its page's file name
  /// The lines that hold a definition (with cross-references), ascending: results on them
  /// say so. Empty for every file without cross-references, and the index then has none.
  std::vector<std::uint32_t> definitions;
};

/// What an index came to.
struct TextIndexSizes {
  std::uint64_t sourceBytes = 0;  ///< of the sources read
  std::uint64_t indexBytes = 0;   ///< of the index's files
  size_t lines = 0;
  size_t blocks = 0;
  size_t shards = 0;
};

/// Receives each file of the index: its name in the workspace folder ("text/t0.js") and
/// its text (LF line ends). False: it could not be written. With more than one thread for
/// the index's end, it is called from that many threads at once.
using TextIndexSink = std::function<bool(const std::string& name, const std::string& text)>;

/// The line texts of a block of the index are cut after about this many bytes.
inline constexpr size_t textBlockSize = 16 * 1024;

/// The texts of the sources as their pages read them, handed from the pages' threads to
/// the index's so that each source is read once. A text that would hold more than `budget`
/// bytes waiting is let go, and the index reads that source itself.
class TextIndexFeed {
 public:
  explicit TextIndexFeed(const std::vector<TextIndexFile>& files, size_t budget = size_t{64} << 20);

  /// Takes the text of the source of the page named `page` (see `RunContext::takeSourceText`).
  void take(const std::string& page, std::string&& text, bool utf8);
  /// No more texts come: the index reads the sources of those that did not.
  void close();
  /// Waits for the text of the `file`th source. False: it does not come.
  bool wait(size_t file, std::string* text, bool* utf8);

 private:
  enum class Slot : std::uint8_t { Pending, Taken, Missing };
  std::mutex lock_;
  std::condition_variable arrived_;
  std::unordered_map<std::string, size_t> fileOf_;  ///< by page name; not changed once made
  std::vector<Slot> slots_;
  std::vector<std::string> texts_;
  std::vector<bool> utf8_;
  size_t budget_;
  size_t held_ = 0;                 ///< the bytes of the texts taken and not yet waited for
  size_t awaited_ = SIZE_MAX;       ///< the file the index waits for (none)
  bool closed_ = false;
};

/// Reads the sources of `files` as their pages read them (a file that is no text is left
/// out), or takes their texts from `feed`, and hands the index's files to `sink`. `stop`,
/// when given, is asked between files. The trigrams' files are made and handed over on
/// `threads` threads at the end. False when a file could not be written.
bool buildTextIndex(const std::vector<TextIndexFile>& files, const TextIndexSink& sink,
                    TextIndexSizes* sizes = nullptr, const std::function<bool()>& stop = {},
                    size_t blockSize = textBlockSize, TextIndexFeed* feed = nullptr,
                    int threads = 1);

/// A line as its page shows it, as UTF-16: the byte-order mark and what stands before it
/// dropped, tabs widened to stops of 4 columns (counted by characters on a UTF-8 page,
/// else by bytes), and the bytes read as UTF-8 (`utf8`) or windows-1252.
std::u16string pageLineText(std::string line, bool utf8);

/// `text` as a double-quoted script string in UTF-8, escaped as the index's strings are.
std::string textScriptString(std::u16string_view text);

/// The trigram keys of `text` (lower-cased as a script lower-cases it; U+0080 for every
/// other character above U+007F), each packed as c0 << 16 | c1 << 8 | c2.
void appendTrigramKeys(std::u16string_view text, std::vector<std::uint32_t>& keys);

/// The files of the project whose pages the workspace writes, in the order it writes them.
std::vector<TextIndexFile> textIndexFiles(const ProjectModel& project,
                                          const std::string& sourceDirectory);

/// Adds the text search script after the tree script in a tree page's lines.
void addTextSearchScript(std::vector<std::string>& lines);

/// Writes the index of `files` into the folder "text" of the workspace folder `directory`
/// and copies the text search script from `dataDirectory` beside the tree pages, ending
/// on `threads` threads. False when something could not be written.
bool writeTextIndex(const std::string& directory, const std::string& dataDirectory,
                    const std::vector<TextIndexFile>& files, TextIndexSizes* sizes = nullptr,
                    const std::function<bool()>& stop = {}, TextIndexFeed* feed = nullptr,
                    int threads = 1);

}  // namespace quillon
