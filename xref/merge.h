#pragma once
// The merge's own view of the records: every name and scope of every file in one list of
// texts, each definition and declaration of the workspace with its symbol, found by name,
// and the classes with their bases. Built once by `resolveSymbols`; only the merge sees it.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "xref/table.h"

namespace quillon::xref::merge {

/// Texts of the whole workspace, each kept once and known by its number. A text given by
/// `number` must outlive the table; any other is copied.
class Texts {
 public:
  Texts();
  /// The number of `text`, added (and copied) when new.
  std::uint32_t id(std::string_view text);
  /// Numbers every text of `lists`, each list in order and the lists one after another,
  /// as `id` called on each in turn would (the same numbers on any number of threads),
  /// into `numbers` (one list per list). The texts are not copied: they must outlive the
  /// table.
  void number(const std::vector<std::vector<std::string_view>>& lists,
              std::vector<std::vector<std::uint32_t>>& numbers, int threads);
  /// The number of `text`; `none` when it is no text here.
  std::uint32_t find(std::string_view text) const;
  std::string_view text(std::uint32_t id) const { return texts_[id]; }
  std::uint32_t size() const { return static_cast<std::uint32_t>(texts_.size()); }
  /// The scope around `scope` ("a::b" for "a::b::c", "" for "c"), by number.
  std::uint32_t parent(std::uint32_t scope);
  /// `scope` and `name` joined: the path of what `name` names inside `scope`.
  std::uint32_t join(std::uint32_t scope, std::uint32_t name);

 private:
  // Open tables of the texts' numbers by hash (each one's size a power of two, at most
  // half full), each slot with the hash it holds, so that a miss compares no text. The
  // top bits of a hash choose its table: the tables are filled on threads of their own.
  struct Slot {
    std::uint64_t hash;
    std::uint32_t id;  ///< `none`: empty
  };
  struct Shard {
    std::vector<Slot> slots;
    size_t count = 0;
  };
  static constexpr int shardBits = 3;
  static std::uint64_t hashOf(std::string_view text);
  static size_t shardOf(std::uint64_t hash) { return static_cast<size_t>(hash >> (64 - shardBits)); }
  Slot& slotOf(std::string_view text, std::uint64_t hash);
  const Slot& slotOf(std::string_view text, std::uint64_t hash) const;
  /// Makes room in `shard` for one more text.
  static void makeRoom(Shard& shard);

  std::vector<std::string_view> texts_;
  std::deque<std::string> copies_;  ///< the texts given by `id`, where `texts_` sees them
  std::vector<Shard> shards_;
  std::vector<std::uint32_t> parents_;  ///< by number; `none` where not yet found
};

/// Numbers in a row: what a key of `Lists` holds.
struct Run {
  const std::uint32_t* first = nullptr;
  const std::uint32_t* last = nullptr;
  const std::uint32_t* begin() const { return first; }
  const std::uint32_t* end() const { return last; }
  bool empty() const { return first == last; }
  size_t size() const { return static_cast<size_t>(last - first); }
};

/// Lists of numbers by key, laid out one after another once all are added: each key's
/// list in the order its numbers were added (or sorted, without repeats).
class Lists {
 public:
  void add(std::uint64_t key, std::uint32_t value) { pairs_.push_back({key, value}); }
  /// Lays the lists out; with `sorted`, each list in ascending order without repeats.
  void finish(bool sorted = false);
  /// The list of `key`; empty when it has none.
  Run of(std::uint64_t key) const;
  bool has(std::uint64_t key) const { return !of(key).empty(); }
  /// Calls `visit(key, list)` for each key with a list, in ascending order of keys.
  template <class Visit>
  void forEach(Visit visit) const {
    for (size_t i = 0; i < keys_.size(); ++i)
      visit(keys_[i], Run{values_.data() + starts_[i], values_.data() + starts_[i + 1]});
  }

 private:
  std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs_;
  std::vector<std::uint64_t> keys_;     ///< ascending
  std::vector<std::uint32_t> starts_;   ///< per key, and one past the last
  std::vector<std::uint32_t> values_;
};

/// A definition or declaration of the workspace (parameters and locals included).
struct Def {
  std::uint32_t file = 0, record = 0;
  std::uint32_t name = 0, folded = 0;         ///< the name as written, and in lower case
  std::uint32_t scope = 0, foldedScope = 0;   ///< likewise for its scope
  std::uint32_t symbol = none;
  SymbolKind kind = SymbolKind::Unknown;
  Role role = Role::Definition;
  bool fileLocal = false;
  bool caseInsensitive = false;
  std::uint8_t family = 0;  ///< see `FileScan::family`
};

/// Which kinds are found by which way of naming them.
bool isTypeKind(SymbolKind kind);
bool isMemberKind(SymbolKind kind);  ///< data and functions of a class; see `isMember`
bool isCallable(SymbolKind kind);

struct Workspace {
  Texts texts;
  std::vector<Def> defs;
  /// Per file, per record: its def (`none` for uses).
  std::vector<std::vector<std::uint32_t>> defOf;
  /// The places of the symbols other than parameters and locals (one def a symbol), by
  /// folded name, and by folded name and scope (`nameInScope`).
  Lists byName, byNameAndScope;
  /// Per text: whether a macro has it as its folded name.
  std::vector<bool> macroNames;
  /// Per folded name: its defs that are members of a class, and those seen from outside
  /// any class (what no class holds, and the members of modules).
  Lists members, outside;
  /// Per text, once the texts are complete: the scope around it ("a::b" for "a::b::c") and
  /// its last part ("c"), by number (`none` for a last part that is no text of its own).
  std::vector<std::uint32_t> parentOf, lastOf;
  /// Class paths (scope joined with name, folded) and the paths of their bases.
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> basesOf;
  /// The paths of the modules (Visual Basic), whose members are seen everywhere.
  std::unordered_set<std::uint32_t> modules;
  /// The paths of the classes of each folded name, in ascending order.
  Lists classPaths;
  /// Per file: its names as numbers of `texts`, as written and folded.
  std::vector<std::vector<std::uint32_t>> names, foldedNames;
  /// Per file: the lower-case copies of its names that have capitals, which `texts` sees.
  std::vector<std::string> foldedTexts;
};

/// A def of a class's member: a member kind whose scope is a class, struct, union,
/// interface, record, enum (enum class) or module.
bool isMember(const Workspace& ws, const Def& def);

/// The key of a folded name in a folded scope.
inline std::uint64_t nameInScope(std::uint32_t name, std::uint32_t scope) {
  return std::uint64_t{name} << 32 | scope;
}

/// Whether `scope` (a text) ends with the scope `tail`: equal, or "...::" + tail.
bool endsWithScope(std::string_view scope, std::string_view tail);

/// Fills `ws` from the table's files and gives every def its symbol (in `table.symbols`),
/// on up to `threads` threads (the same on any number).
void gatherDefinitions(const SymbolTable& table, Workspace& ws, std::vector<Symbol>& symbols,
                       int threads = 1);

}  // namespace quillon::xref::merge
