#pragma once
// The merge of the cross-references: the records of every file of a workspace (or of all
// the workspaces of a solution) in one symbol table, and where each use leads. A use leads
// to one symbol when the source shows which (a local of its function, a member of the type
// before "." or "::", the nearest scope that defines the name, a definition over its
// declarations), to a chooser when several remain that the source cannot tell apart, and
// nowhere when nothing of the workspace fits: a wrong link costs more than a missing one.
#include <cstdint>
#include <string>
#include <vector>

#include "xref/records.h"

namespace quillon::xref {

/// Where a name of a page leads.
struct Link {
  enum class Kind : std::uint8_t {
    Anchor,   ///< the name is the symbol's own place: it gets the anchor (and opens its uses)
    Symbol,   ///< leads to the symbol `target`
    Chooser,  ///< leads to the chooser `target`
  };
  std::uint32_t line = 0;
  std::uint32_t ordinal = 0;
  NameId name = 0;  ///< the name at this place, in its file's names
  std::uint32_t target = 0;
  Kind kind = Kind::Symbol;
  Role role = Role::Read;  ///< the role of the record at this place
};

/// A definition (or a declaration that has none) that links lead to.
struct Symbol {
  std::uint32_t file = 0;  ///< its place: the file and the record of its name
  std::uint32_t record = 0;
  std::uint32_t uses = 0;  ///< uses that lead to it (calls, reads and writes)
  bool local = false;      ///< a parameter or local: its uses are all on its own page
};

/// One use that leads to a symbol, for the symbol's list of uses.
struct Use {
  std::uint32_t file = 0;
  std::uint32_t record = 0;
};

struct SymbolTable {
  std::vector<FileScan> files;  ///< in the order given; the merge only reads them
  /// Per file: where its names lead, by line and then ordinal.
  std::vector<std::vector<Link>> links;
  std::vector<Symbol> symbols;
  /// The candidates of each chooser: symbols, by file and place.
  std::vector<std::vector<std::uint32_t>> choosers;
  /// The uses of each symbol, by file and place.
  std::vector<std::vector<Use>> uses;

  const Record& recordOf(const Symbol& symbol) const {
    return files[symbol.file].records[symbol.record];
  }
  const std::string& nameOf(const Symbol& symbol) const {
    return files[symbol.file].names[recordOf(symbol).name];
  }
};

/// Merges the scans of `table.files` and fills in the rest of the table, placing the
/// files' uses on up to `threads` threads (the table is the same on any number).
void resolveSymbols(SymbolTable& table, int threads = 1);

/// The name of a kind, as the tools and the data files write it ("Function").
const char* kindName(SymbolKind kind);

}  // namespace quillon::xref
