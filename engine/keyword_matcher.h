#pragma once
// Finding every occurrence of every keyword of a table in one sweep over a line (an
// Aho-Corasick automaton over the table's distinct keywords), so that the keyword pass
// does not search the line once per keyword.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/keywords.h"

namespace quillon {

class KeywordMatcher {
 public:
  explicit KeywordMatcher(KeywordTable table);

  /// The distinct keywords; `idOf(i)` is the distinct keyword of table entry i.
  size_t distinctCount() const { return words_.size(); }
  std::string_view word(size_t id) const { return words_[id]; }
  size_t idOf(size_t entry) const { return entryIds_[entry]; }
  /// True for "class", "struct" and "enum", the keywords that begin a declaration.
  bool declares(size_t id) const { return declares_[id]; }
  size_t entryCount() const { return entryIds_.size(); }
  /// The table entries of a distinct keyword, in table order (duplicates share a word).
  const std::vector<uint32_t>& entriesOf(size_t id) const { return entries_[id]; }

  using Occurrence = KeywordOccurrence;
  /// Whether a distinct keyword is listed more than once in the table.
  bool repeated(size_t id) const { return entries_[id].size() > 1; }
  /// Appends every occurrence of every keyword in `text` (overlapping ones included),
  /// ordered by end position.
  void findAll(std::string_view text, std::vector<Occurrence>& out) const;

  /// Whether `findAllEscaped` may be used (the table's keywords hold no space, tab, "<"
  /// or ">").
  bool searchesSource() const { return searchesSource_; }

  /// `findAll` on the escaped form of `source` (as `appendEscaped` makes it), reading
  /// `source` itself: a space, "<" or ">" is one step, into the state that reading its
  /// escaped text would reach. Positions are those of the escaped form. Occurrences that
  /// end after `stopAt` (an escaped position) may be left out.
  void findAllEscaped(std::string_view source, size_t stopAt, std::vector<Occurrence>& out) const;

  /// `appendEscapedNoting(out, source)` and, while the line is escaped, `findAllEscaped`
  /// on it up to its first "//" (`searchesSource` must hold): the search, bound by the
  /// time each step of the automaton takes, leaves room for the escaping beside it. An
  /// occurrence after the first "//" can only fail its test (as running out of
  /// occurrences does), and no keyword holds "/", so the occurrences found are all that
  /// matter to the keyword pass (a table with "/" in a keyword would have the whole line
  /// searched). `found` is cleared first. Returns the bytes the line holds, as
  /// `appendEscapedNoting` does.
  unsigned escapeAndFind(std::string& out, std::string_view source,
                         std::vector<Occurrence>& found) const;

  /// True when some keyword occurs in `text`.
  bool occursIn(std::string_view text) const;

  /// A number no other matcher of the process has (from 1), for remembering what was
  /// found of a matcher.
  uint64_t serial() const { return serial_; }

 private:
  // A transition holds where the target state's row begins (state << classShift_), so
  // that a step is one addition and one load; its top bit tells that keywords end in that
  // state, the next that the byte read was "&".
  using Transition = uint32_t;
  static constexpr uint32_t endsHere = 1u << 31;
  static constexpr uint32_t ampersand = 1u << 30;
  static constexpr uint32_t flags = endsHere | ampersand;

  void emit(uint32_t row, size_t end, std::vector<Occurrence>& out) const {
    emitState(row >> classShift_, end, out);
  }
  void emitState(uint32_t state, size_t end, std::vector<Occurrence>& out) const;
  /// Reads `text` (escaped bytes ending at `end`) from `state`, reporting the keywords
  /// that end in it; the state reached.
  uint32_t readEscaped(uint32_t state, std::string_view text, size_t end,
                       std::vector<Occurrence>& out) const;
  void buildSourceAutomaton(const std::vector<uint32_t>& target, size_t classes);
  struct SourceSweep;
  void sourceEvent(SourceSweep& at, std::string_view source, size_t i, uint32_t t,
                   std::vector<Occurrence>& out) const;
  struct Sweep;

  std::vector<std::string_view> words_;
  std::vector<uint32_t> entryIds_;
  std::vector<std::vector<uint32_t>> entries_;
  std::vector<bool> declares_;
  std::vector<uint16_t> ranks_;
  std::array<uint8_t, 256> byteClass_{};  ///< 0 for bytes in no keyword
  unsigned classShift_ = 0;               ///< rows are 1 << classShift_ wide
  std::vector<Transition> next_;          ///< row offset + class -> transition
  std::vector<uint32_t> outBegin_;        ///< state -> first of its matches in outIds_
  std::vector<uint32_t> outIds_;          ///< keywords ending in each state
  /// state -> the row reached by reading "&nbsp;" from it, or noJump when a keyword ends
  /// within those six bytes. Escaped lines are largely made of "&nbsp;".
  std::vector<uint32_t> nbspJump_;
  static constexpr uint32_t noJump = ~0u;

  // The automaton over source bytes: the classes of the escaped one, and one each for
  // space, "<", ">", tab and (when no keyword holds it) "&". Its transitions hold row
  // offsets (state << sourceShift_), endsHere, and `slowStep` where the byte's escaped
  // text must be read byte by byte (a keyword ends within it, or it is a tab, whose width
  // depends on its column, or "&", whose text depends on the byte after it).
  static constexpr uint32_t slowStep = 1u << 30;
  std::array<uint8_t, 256> sourceClass_{};
  unsigned sourceShift_ = 0;
  std::vector<uint32_t> sourceNext_;
  bool searchesSource_ = false;
  bool slashFree_ = true;  ///< no keyword holds "/"
  uint64_t serial_;
};

/// The matcher of a language's fixed table, built on first use.
const KeywordMatcher& keywordMatcherFor(SourceLanguage language);

}  // namespace quillon
