// Placing the uses. For each use, the candidates are the definitions and declarations of
// its name that the source allows, narrowed in this order: a parameter or local the scan
// found; a macro (the preprocessor replaces a name before anything else sees it); after
// "." or "->", the members of the type before it, or of any type when the scan does not
// know it; after "::", what the scope written before it holds; otherwise the nearest
// scope around the use (its class and that class's bases first, then the namespaces out
// to the file level) that defines the name, and failing that, what is defined outside any
// class anywhere. Among what remains, a call wants something callable, a definition of
// the same file goes first, and a declaration counts as its definition. One symbol gives
// a link, several a chooser, none no link.
//
// The files are placed on several threads: the merge's lookups are made before and only
// read, each thread keeps its own caches and choosers, and the choosers and uses are put
// together at the end in the order of the files.
#include <algorithm>
#include <atomic>
#include <iterator>
#include <map>
#include <thread>
#include <unordered_map>

#include "xref/merge.h"
#include "xref/table.h"

namespace quillon::xref {

namespace {

using merge::Def;
using merge::Workspace;

/// A chooser lists at most this many candidates; a name with more is left unlinked.
constexpr size_t mostCandidates = 64;
/// Bases are followed this deep.
constexpr int deepestBase = 16;
/// A type name that this many typedefs define is not followed through them: which one a
/// use means is not to be told, and following them all costs more than it finds.
constexpr size_t mostTypedefs = 4;

/// What one thread's placing gave besides the links it wrote into the table.
struct Placed {
  std::vector<std::uint32_t> files;                  ///< the files it placed
  std::vector<std::vector<std::uint32_t>> choosers;  ///< its own choosers, by local number
  struct UseOf {
    std::uint32_t symbol, file, record;
  };
  std::vector<UseOf> uses;
};

class Resolver {
 public:
  Resolver(const SymbolTable& table, const Workspace& ws, std::vector<std::vector<Link>>& links)
      : table_(table), ws_(ws), links_(links) {}

  void placeFile(std::uint32_t file);
  Placed& placed() { return placed_; }

 private:
  struct Use {
    std::uint32_t file;
    const Record& record;
    std::uint32_t name, folded;
    bool caseInsensitive;
    std::uint8_t family;
  };

  /// A def that a tag (a name after "struct", "union", "enum" or "class") may name.
  bool isTag(std::uint32_t d) const {
    const SymbolKind kind = ws_.defs[d].kind;
    return kind == SymbolKind::Class || kind == SymbolKind::Struct || kind == SymbolKind::Union ||
           kind == SymbolKind::Enum;
  }
  bool fits(const Def& def, const Use& use) const {
    // A name is looked up by the rules of the language that uses it.
    const bool named = use.caseInsensitive ? def.folded == use.folded : def.name == use.name;
    return named && def.family == use.family && (!def.fileLocal || def.file == use.file);
  }
  /// Appends to `out` the defs of `list` that the use may mean by its name.
  void fitting(const merge::Lists& lists, const Use& use, std::vector<std::uint32_t>& out) const;

  void withBases(std::uint32_t path, std::vector<std::uint32_t>& paths) const;
  const std::vector<std::uint32_t>& scopeWithBases(std::uint32_t scope);
  const std::vector<std::uint32_t>& typePaths(std::uint32_t written);
  std::vector<std::uint32_t> findTypePaths(std::uint32_t written, int depth) const;
  /// Appends the defs of the use's name (that it may see) whose scope is one of `scopes`.
  void inScopes(const Use& use, const std::vector<std::uint32_t>& scopes,
                std::vector<std::uint32_t>& out) const;

  void afterMember(const Use& use, std::vector<std::uint32_t>& out);
  void afterScope(const Use& use, std::vector<std::uint32_t>& out);
  void unqualified(const Use& use, std::vector<std::uint32_t>& out);

  /// `guessed`: the defs fit the name only (a member of a type the scanner does not know),
  /// so even one of them is offered on a chooser, never linked as if it were known.
  Link decide(const Use& use, std::vector<std::uint32_t>& defs, bool guessed = false);
  /// Where a use leads, found afresh (`place` asks it once for alike uses of a file).
  Link find(const Use& use);
  Link place(const Use& use);
  std::uint32_t lookupScope(const Use& use) const;

  /// What decides where a use of a file leads besides its file.
  struct Asked {
    std::uint32_t name, scope, qualifier;
    std::uint8_t flags;
    Role role;
    bool operator==(const Asked& o) const {
      return name == o.name && scope == o.scope && qualifier == o.qualifier && flags == o.flags &&
             role == o.role;
    }
  };
  struct AskedHash {
    size_t operator()(const Asked& a) const {
      return (size_t{a.name} * 0x9E3779B97F4A7C15ull) ^ (size_t{a.scope} << 20) ^
             (size_t{a.qualifier} << 40) ^ (size_t{a.flags} << 8) ^ static_cast<size_t>(a.role);
    }
  };
  std::unordered_map<Asked, std::pair<Link::Kind, std::uint32_t>, AskedHash> answers_;

  const SymbolTable& table_;
  const Workspace& ws_;
  std::vector<std::vector<Link>>& links_;
  Placed placed_;
  std::map<std::vector<std::uint32_t>, std::uint32_t> chooserIds_;
  // What many uses ask again: a scope with its bases, the classes a type name may name.
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> scopes_, types_;
  std::vector<std::uint32_t> defs_, symbols_, here_;  // kept from use to use
};

void Resolver::fitting(const merge::Lists& lists, const Use& use, std::vector<std::uint32_t>& out) const {
  for (std::uint32_t d : lists.of(use.folded))
    if (fits(ws_.defs[d], use)) out.push_back(d);
}

/// `path` and the paths of its bases, and of theirs, once each.
void Resolver::withBases(std::uint32_t path, std::vector<std::uint32_t>& paths) const {
  std::vector<std::pair<std::uint32_t, int>> todo{{path, 0}};
  while (!todo.empty()) {
    auto [at, depth] = todo.back();
    todo.pop_back();
    if (std::find(paths.begin(), paths.end(), at) != paths.end()) continue;
    paths.push_back(at);
    auto bases = ws_.basesOf.find(at);
    if (bases == ws_.basesOf.end() || depth >= deepestBase) continue;
    for (std::uint32_t base : bases->second) todo.push_back({base, depth + 1});
  }
}

const std::vector<std::uint32_t>& Resolver::scopeWithBases(std::uint32_t scope) {
  auto [at, added] = scopes_.emplace(scope, std::vector<std::uint32_t>());
  if (added) withBases(scope, at->second);
  return at->second;
}

const std::vector<std::uint32_t>& Resolver::typePaths(std::uint32_t written) {
  auto found = types_.find(written);
  if (found != types_.end()) return found->second;
  std::vector<std::uint32_t> paths = findTypePaths(written, 0);
  return types_.emplace(written, std::move(paths)).first->second;
}

/// The class paths that a type written as `written` (a folded text: "T", "ns::T") may
/// name, with their bases; a typedef is followed to the type it names.
std::vector<std::uint32_t> Resolver::findTypePaths(std::uint32_t written, int depth) const {
  std::vector<std::uint32_t> paths;
  const std::uint32_t name = ws_.lastOf[written];
  if (name == none) return paths;
  const std::string_view text = ws_.texts.text(written);
  const std::string_view prefix(text.data(), text.size() > ws_.texts.text(name).size() + 2
                                                 ? text.size() - ws_.texts.text(name).size() - 2
                                                 : 0);
  for (std::uint32_t path : ws_.classPaths.of(name))
    if (prefix.empty() || merge::endsWithScope(ws_.texts.text(ws_.parentOf[path]), prefix))
      withBases(path, paths);
  if (!paths.empty() || depth >= 3) return paths;
  std::vector<std::uint32_t> typedefs;
  for (std::uint32_t d : ws_.byName.of(name))
    if (ws_.defs[d].kind == SymbolKind::Typedef) typedefs.push_back(d);
  if (typedefs.size() > mostTypedefs) return paths;
  for (std::uint32_t d : typedefs) {
    const Def& def = ws_.defs[d];
    const Record& r = table_.files[def.file].records[def.record];
    if (r.qualifier == 0) continue;
    for (std::uint32_t path : findTypePaths(ws_.foldedNames[def.file][r.qualifier], depth + 1))
      if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
  }
  return paths;
}

void Resolver::inScopes(const Use& use, const std::vector<std::uint32_t>& scopes,
                        std::vector<std::uint32_t>& out) const {
  for (std::uint32_t scope : scopes) {
    for (std::uint32_t d : ws_.byNameAndScope.of(merge::nameInScope(use.folded, scope)))
      if (fits(ws_.defs[d], use)) out.push_back(d);
  }
}

void Resolver::afterMember(const Use& use, std::vector<std::uint32_t>& out) {
  const std::uint32_t type = ws_.foldedNames[use.file][use.record.qualifier];
  // A type outside the workspace (a library's) has no member here; of an unknown type,
  // any member of that name.
  if (type != 0)
    inScopes(use, typePaths(type), out);
  else
    fitting(ws_.members, use, out);
}

void Resolver::afterScope(const Use& use, std::vector<std::uint32_t>& out) {
  const std::uint32_t written = ws_.foldedNames[use.file][use.record.qualifier];
  if (written == 0) {  // "::f": the file level
    inScopes(use, {0}, out);
    return;
  }
  inScopes(use, typePaths(written), out);
  // A namespace written in part ("b::f" for "a::b::f").
  const std::string_view text = ws_.texts.text(written);
  const auto typed = static_cast<std::ptrdiff_t>(out.size());  // those found by the type
  for (std::uint32_t d : ws_.byName.of(use.folded)) {
    const auto end = out.begin() + typed;
    if (fits(ws_.defs[d], use) && std::find(out.begin(), end, d) == end &&
        merge::endsWithScope(ws_.texts.text(ws_.defs[d].foldedScope), text))
      out.push_back(d);
  }
}

std::uint32_t Resolver::lookupScope(const Use& use) const {
  // In a member function's body, out of line or not, its class comes first.
  if (use.record.function != none) {
    const std::uint32_t f = ws_.defOf[use.file][use.record.function];
    if (f != none && ws_.defs[f].foldedScope != 0) return ws_.defs[f].foldedScope;
  }
  return ws_.foldedNames[use.file][use.record.scope];
}

void Resolver::unqualified(const Use& use, std::vector<std::uint32_t>& out) {
  std::uint32_t scope = lookupScope(use);
  // Inside a class its name, when not called, is the class, not its constructor.
  const bool called = use.record.role == Role::Call;
  auto constructor = [&](std::uint32_t d) {
    const Def& def = ws_.defs[d];
    return merge::isCallable(def.kind) && def.foldedScope < ws_.lastOf.size() &&
           ws_.lastOf[def.foldedScope] == def.folded;
  };
  for (int level = 0; level < 64; ++level) {
    inScopes(use, scopeWithBases(scope), out);
    if (!called) out.erase(std::remove_if(out.begin(), out.end(), constructor), out.end());
    if (use.record.kind == SymbolKind::Struct)
      out.erase(std::remove_if(out.begin(), out.end(), [&](std::uint32_t d) { return !isTag(d); }),
                out.end());
    if (!out.empty()) return;
    if (scope == 0) break;
    scope = ws_.parentOf[scope];
  }
  // Defined in a scope that does not hold the use (another namespace brought in by a
  // using directive, a type of another package).
  fitting(ws_.outside, use, out);
}

Link Resolver::decide(const Use& use, std::vector<std::uint32_t>& defs, bool guessed) {
  Link link{use.record.line, use.record.ordinal, use.record.name, none, Link::Kind::Symbol,
            use.record.role};
  const Role role = use.record.role;
  if (use.record.kind == SymbolKind::Struct)  // a tag: "struct size size;" names the struct
    defs.erase(std::remove_if(defs.begin(), defs.end(), [&](std::uint32_t d) { return !isTag(d); }),
               defs.end());
  if (role == Role::Call || role == Role::Write) {
    defs.erase(std::remove_if(defs.begin(), defs.end(),
                              [&](std::uint32_t d) {
                                const SymbolKind kind = ws_.defs[d].kind;
                                return role == Role::Call ? !merge::isCallable(kind)
                                                          : merge::isTypeKind(kind);
                              }),
               defs.end());
  }
  auto symbolsOf = [&](bool sameFile, std::vector<std::uint32_t>& out) {
    out.clear();
    for (std::uint32_t d : defs)
      if (ws_.defs[d].symbol != none && (!sameFile || ws_.defs[d].file == use.file))
        out.push_back(ws_.defs[d].symbol);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
  };
  // A name of hundreds of candidates is not one a reader could choose from either.
  if (defs.size() > 4 * mostCandidates) return link;
  symbolsOf(false, symbols_);
  if (symbols_.size() > 1 && !guessed) {
    symbolsOf(true, here_);
    if (here_.size() == 1) symbols_.swap(here_);
  }
  if (symbols_.empty() || symbols_.size() > mostCandidates) return link;
  link.target = symbols_.front();
  if (symbols_.size() == 1 && !guessed) return link;
  std::sort(symbols_.begin(), symbols_.end(), [&](std::uint32_t a, std::uint32_t b) {
    const Symbol &x = table_.symbols[a], &y = table_.symbols[b];
    return x.file != y.file ? x.file < y.file : x.record < y.record;
  });
  auto [at, added] = chooserIds_.emplace(symbols_, static_cast<std::uint32_t>(placed_.choosers.size()));
  if (added) placed_.choosers.push_back(symbols_);
  link.kind = Link::Kind::Chooser;
  link.target = at->second;  // this thread's number: made the table's at the end
  return link;
}

Link Resolver::place(const Use& use) {
  const Record& r = use.record;
  if (r.local != none) {
    const std::uint32_t d = ws_.defOf[use.file][r.local];
    return Link{r.line, r.ordinal, r.name, d == none ? none : ws_.defs[d].symbol,
                Link::Kind::Symbol, r.role};
  }
  Link link{r.line, r.ordinal, r.name, none, Link::Kind::Symbol, r.role};
  // Most names that no symbol of the workspace has are the library's: nothing to look up.
  if (!ws_.byName.has(use.folded)) return link;
  // Uses of a name in one file from one scope, after the same qualifier and in the same
  // role, lead to one place: found once a file.
  const Asked asked{use.name, lookupScope(use), ws_.foldedNames[use.file][r.qualifier],
                    static_cast<std::uint8_t>(r.flags & (AfterMember | AfterScope)), r.role};
  auto known = answers_.find(asked);
  if (known != answers_.end()) {
    link.kind = known->second.first;
    link.target = known->second.second;
    return link;
  }
  const Link found = find(use);
  answers_.emplace(asked, std::make_pair(found.kind, found.target));
  return found;
}

Link Resolver::find(const Use& use) {
  const Record& r = use.record;
  defs_.clear();
  if (use.folded < ws_.macroNames.size() && ws_.macroNames[use.folded]) {
    fitting(ws_.byName, use, defs_);
    defs_.erase(std::remove_if(defs_.begin(), defs_.end(),
                               [&](std::uint32_t d) { return ws_.defs[d].kind != SymbolKind::Macro; }),
                defs_.end());
    if (!defs_.empty()) return decide(use, defs_);
  }
  if (r.flags & AfterMember) {
    afterMember(use, defs_);
    return decide(use, defs_, ws_.foldedNames[use.file][r.qualifier] == 0);
  }
  if (r.flags & AfterScope)
    afterScope(use, defs_);
  else
    unqualified(use, defs_);
  return decide(use, defs_);
}

void Resolver::placeFile(std::uint32_t file) {
  placed_.files.push_back(file);
  answers_.clear();
  const FileScan& scan = table_.files[file];
  std::vector<Link>& links = links_[file];
  for (std::uint32_t i = 0; i < scan.records.size(); ++i) {
    const Record& r = scan.records[i];
    const std::uint32_t d = ws_.defOf[file][i];
    Link link{r.line, r.ordinal, r.name, none, Link::Kind::Symbol, r.role};
    if (d != none && ws_.defs[d].symbol != none) {
      link.target = ws_.defs[d].symbol;
      const Symbol& symbol = table_.symbols[link.target];
      if (symbol.file == file && symbol.record == i) link.kind = Link::Kind::Anchor;
    } else {
      // A use, or a declaration of several definitions, which is placed like one.
      const Use use{file, r, ws_.names[file][r.name], ws_.foldedNames[file][r.name],
                    scan.caseInsensitive, scan.family};
      link = place(use);
      if (link.target != none && link.kind == Link::Kind::Symbol && isUse(r.role))
        placed_.uses.push_back({link.target, file, i});
    }
    if (link.target != none) links.push_back(link);
  }
}

/// Puts the threads' choosers and uses into the table, numbering the choosers in the
/// order of the files that first use them, as placing them one after another would.
void gatherPlaced(SymbolTable& table, std::vector<Placed>& placed) {
  std::vector<std::pair<std::uint32_t, Placed*>> byFile;
  for (Placed& p : placed)
    for (std::uint32_t file : p.files) byFile.push_back({file, &p});
  std::sort(byFile.begin(), byFile.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::map<std::vector<std::uint32_t>, std::uint32_t> ids;
  for (const auto& [file, p] : byFile)
    for (Link& link : table.links[file]) {
      if (link.kind != Link::Kind::Chooser) continue;
      const std::vector<std::uint32_t>& candidates = p->choosers[link.target];
      auto [at, added] = ids.emplace(candidates, static_cast<std::uint32_t>(table.choosers.size()));
      if (added) table.choosers.push_back(candidates);
      link.target = at->second;
    }
  // Each thread took its files in ascending order: its uses come in order already, and
  // are merged.
  auto byPlace = [](const Placed::UseOf& a, const Placed::UseOf& b) {
    return a.file != b.file ? a.file < b.file : a.record < b.record;
  };
  std::vector<Placed::UseOf> uses;
  for (Placed& p : placed) {
    const auto middle = static_cast<std::ptrdiff_t>(uses.size());
    uses.insert(uses.end(), p.uses.begin(), p.uses.end());
    std::vector<Placed::UseOf>().swap(p.uses);
    std::inplace_merge(uses.begin(), uses.begin() + middle, uses.end(), byPlace);
  }
  for (const Placed::UseOf& use : uses) ++table.symbols[use.symbol].uses;
  for (std::uint32_t s = 0; s < table.symbols.size(); ++s) table.uses[s].reserve(table.symbols[s].uses);
  for (const Placed::UseOf& use : uses) table.uses[use.symbol].push_back({use.file, use.record});
}

}  // namespace

const char* kindName(SymbolKind kind) {
  static constexpr const char* names[] = {
      "Unknown", "Namespace", "Module", "Class", "Struct", "Union", "Interface", "Record",
      "Enum", "Enumerator", "Typedef", "Delegate", "Function", "Macro", "Field", "Variable",
      "Constant", "Property", "Event", "Parameter", "Local"};
  const auto i = static_cast<size_t>(kind);
  return i < std::size(names) ? names[i] : "Unknown";
}

void resolveSymbols(SymbolTable& table, int threads) {
  Workspace ws;
  table.symbols.clear();
  table.choosers.clear();
  merge::gatherDefinitions(table, ws, table.symbols, threads);
  table.links.assign(table.files.size(), {});
  table.uses.assign(table.symbols.size(), {});
  const size_t count = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(std::max(threads, 1)),
                                                            table.files.size()));
  std::vector<Resolver> resolvers;
  resolvers.reserve(count);
  for (size_t t = 0; t < count; ++t) resolvers.emplace_back(table, ws, table.links);
  std::atomic<std::uint32_t> next{0};
  auto work = [&](Resolver& resolver) {
    for (std::uint32_t file = next++; file < table.files.size(); file = next++) resolver.placeFile(file);
  };
  std::vector<std::thread> workers;
  for (size_t t = 1; t < count; ++t) workers.emplace_back(work, std::ref(resolvers[t]));
  work(resolvers[0]);
  for (std::thread& worker : workers) worker.join();
  std::vector<Placed> placed;
  for (Resolver& resolver : resolvers) placed.push_back(std::move(resolver.placed()));
  gatherPlaced(table, placed);
}

}  // namespace quillon::xref
