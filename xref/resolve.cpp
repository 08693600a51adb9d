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
#include <algorithm>
#include <iterator>
#include <map>
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

class Resolver {
 public:
  Resolver(SymbolTable& table, Workspace& ws) : table_(table), ws_(ws) {}

  void placeFile(std::uint32_t file);

 private:
  struct Use {
    std::uint32_t file;
    const Record& record;
    std::uint32_t name, folded;
    bool caseInsensitive;
  };

  bool named(const Def& def, const Use& use) const {
    // A name is looked up by the rules of the language that uses it.
    return use.caseInsensitive ? def.folded == use.folded : def.name == use.name;
  }
  bool visible(const Def& def, const Use& use) const {
    return !def.fileLocal || def.file == use.file;
  }
  /// The defs of the use's name that its file may see, parameters and locals aside.
  std::vector<std::uint32_t> defsNamed(const Use& use) const;

  void withBases(std::uint32_t path, std::vector<std::uint32_t>& paths) const;
  const std::vector<std::uint32_t>& scopeWithBases(std::uint32_t scope);
  const std::vector<std::uint32_t>& typePaths(std::uint32_t written);
  std::vector<std::uint32_t> findTypePaths(std::uint32_t written, int depth);
  /// The defs of the use's name (that it may see) whose scope is one of `scopes`.
  std::vector<std::uint32_t> inScopes(const Use& use, const std::vector<std::uint32_t>& scopes) const;

  std::vector<std::uint32_t> afterMember(const Use& use);
  std::vector<std::uint32_t> afterScope(const Use& use);
  std::vector<std::uint32_t> unqualified(const Use& use);

  Link decide(const Use& use, std::vector<std::uint32_t> defs);
  Link place(const Use& use);

  SymbolTable& table_;
  Workspace& ws_;
  std::map<std::vector<std::uint32_t>, std::uint32_t> chooserIds_;
  // What many uses ask again: a scope with its bases, the classes a type name may name.
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> scopes_, types_;
};

std::vector<std::uint32_t> Resolver::defsNamed(const Use& use) const {
  std::vector<std::uint32_t> defs;
  auto found = ws_.byName.find(use.folded);
  if (found == ws_.byName.end()) return defs;
  for (std::uint32_t d : found->second)
    if (named(ws_.defs[d], use) && visible(ws_.defs[d], use)) defs.push_back(d);
  return defs;
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
std::vector<std::uint32_t> Resolver::findTypePaths(std::uint32_t written, int depth) {
  std::vector<std::uint32_t> paths;
  const std::string& text = ws_.texts.text(written);
  const size_t cut = text.rfind("::");
  const std::string last = cut == std::string::npos ? text : text.substr(cut + 2);
  const std::uint32_t name = ws_.texts.id(last);
  auto classes = ws_.classPaths.find(name);
  if (classes != ws_.classPaths.end())
    for (std::uint32_t path : classes->second)
      if (cut == std::string::npos ||
          merge::endsWithScope(ws_.texts.text(ws_.texts.parent(path)), text.substr(0, cut)))
        withBases(path, paths);
  if (!paths.empty() || depth >= 3) return paths;
  auto defs = ws_.byName.find(name);
  if (defs == ws_.byName.end()) return paths;
  std::vector<std::uint32_t> typedefs;
  for (std::uint32_t d : defs->second)
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

std::vector<std::uint32_t> Resolver::inScopes(const Use& use,
                                              const std::vector<std::uint32_t>& scopes) const {
  std::vector<std::uint32_t> kept;
  for (std::uint32_t scope : scopes) {
    auto found = ws_.byNameAndScope.find(merge::nameInScope(use.folded, scope));
    if (found == ws_.byNameAndScope.end()) continue;
    for (std::uint32_t d : found->second)
      if (named(ws_.defs[d], use) && visible(ws_.defs[d], use)) kept.push_back(d);
  }
  return kept;
}

std::vector<std::uint32_t> Resolver::afterMember(const Use& use) {
  const std::uint32_t type = ws_.foldedNames[use.file][use.record.qualifier];
  if (type != 0) {
    // A type outside the workspace (a library's) has no member here.
    return inScopes(use, typePaths(type));
  }
  // The object's type is not known: any member of that name.
  std::vector<std::uint32_t> members;
  for (std::uint32_t d : defsNamed(use))
    if (merge::isMember(ws_, ws_.defs[d])) members.push_back(d);
  return members;
}

std::vector<std::uint32_t> Resolver::afterScope(const Use& use) {
  const std::uint32_t written = ws_.foldedNames[use.file][use.record.qualifier];
  if (written == 0) return inScopes(use, {0});  // "::f": the file level
  std::vector<std::uint32_t> kept = inScopes(use, typePaths(written));
  // A namespace written in part ("b::f" for "a::b::f").
  const std::string& text = ws_.texts.text(written);
  for (std::uint32_t d : defsNamed(use))
    if (std::find(kept.begin(), kept.end(), d) == kept.end() &&
        merge::endsWithScope(ws_.texts.text(ws_.defs[d].foldedScope), text))
      kept.push_back(d);
  return kept;
}

std::vector<std::uint32_t> Resolver::unqualified(const Use& use) {
  std::uint32_t scope = ws_.foldedNames[use.file][use.record.scope];
  if (use.record.function != none) {
    const std::uint32_t f = ws_.defOf[use.file][use.record.function];
    if (f != none && ws_.defs[f].foldedScope != 0) scope = ws_.defs[f].foldedScope;
  }
  for (int level = 0; level < 64; ++level) {
    std::vector<std::uint32_t> found = inScopes(use, scopeWithBases(scope));
    if (!found.empty()) return found;
    if (scope == 0) break;
    scope = ws_.texts.parent(scope);
  }
  // Defined in a scope that does not hold the use (another namespace brought in by a
  // using directive, a type of another package): what no class holds, and the members
  // of modules, which are seen everywhere.
  std::vector<std::uint32_t> outside;
  for (std::uint32_t d : defsNamed(use)) {
    const Def& def = ws_.defs[d];
    if (!merge::isMember(ws_, def) || ws_.modules.count(def.foldedScope)) outside.push_back(d);
  }
  return outside;
}

Link Resolver::decide(const Use& use, std::vector<std::uint32_t> defs) {
  Link link;
  link.line = use.record.line;
  link.ordinal = use.record.ordinal;
  link.name = use.record.name;
  link.role = use.record.role;
  auto keep = [&](auto&& wanted) {
    std::vector<std::uint32_t> kept;
    for (std::uint32_t d : defs)
      if (wanted(ws_.defs[d])) kept.push_back(d);
    return kept;
  };
  if (use.record.role == Role::Call)
    defs = keep([](const Def& def) { return merge::isCallable(def.kind); });
  if (use.record.role == Role::Write)
    defs = keep([](const Def& def) { return !merge::isTypeKind(def.kind); });
  std::vector<std::uint32_t> symbols;
  auto symbolsOf = [&](const std::vector<std::uint32_t>& list) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t d : list)
      if (ws_.defs[d].symbol != none) out.push_back(ws_.defs[d].symbol);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  };
  symbols = symbolsOf(defs);
  if (symbols.size() > 1) {
    const std::vector<std::uint32_t> here =
        symbolsOf(keep([&](const Def& def) { return def.file == use.file; }));
    if (here.size() == 1) symbols = here;
  }
  if (symbols.empty() || symbols.size() > mostCandidates) {
    link.target = none;
    return link;
  }
  if (symbols.size() == 1) {
    link.kind = Link::Kind::Symbol;
    link.target = symbols.front();
    return link;
  }
  std::sort(symbols.begin(), symbols.end(), [&](std::uint32_t a, std::uint32_t b) {
    const Symbol &x = table_.symbols[a], &y = table_.symbols[b];
    return x.file != y.file ? x.file < y.file : x.record < y.record;
  });
  auto [at, added] = chooserIds_.emplace(symbols, static_cast<std::uint32_t>(table_.choosers.size()));
  if (added) table_.choosers.push_back(symbols);
  link.kind = Link::Kind::Chooser;
  link.target = at->second;
  return link;
}

Link Resolver::place(const Use& use) {
  const Record& r = use.record;
  if (r.local != none) {
    const std::uint32_t d = ws_.defOf[use.file][r.local];
    Link link{r.line, r.ordinal, r.name, d == none ? none : ws_.defs[d].symbol, Link::Kind::Symbol,
              r.role};
    return link;
  }
  if (ws_.macroNames.count(use.folded)) {
    std::vector<std::uint32_t> macros;
    for (std::uint32_t d : defsNamed(use))
      if (ws_.defs[d].kind == SymbolKind::Macro) macros.push_back(d);
    if (!macros.empty()) return decide(use, macros);
  }
  if (r.flags & AfterMember) return decide(use, afterMember(use));
  if (r.flags & AfterScope) return decide(use, afterScope(use));
  return decide(use, unqualified(use));
}

void Resolver::placeFile(std::uint32_t file) {
  const FileScan& scan = table_.files[file];
  std::vector<Link>& links = table_.links[file];
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
                    scan.caseInsensitive};
      link = place(use);
      if (link.target != none && link.kind == Link::Kind::Symbol && isUse(r.role)) {
        ++table_.symbols[link.target].uses;
        table_.uses[link.target].push_back({file, i});
      }
    }
    if (link.target != none) links.push_back(link);
  }
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

void resolveSymbols(SymbolTable& table) {
  Workspace ws;
  table.symbols.clear();
  table.choosers.clear();
  merge::gatherDefinitions(table, ws, table.symbols);
  table.links.assign(table.files.size(), {});
  table.uses.assign(table.symbols.size(), {});
  Resolver resolver(table, ws);
  for (std::uint32_t file = 0; file < table.files.size(); ++file) resolver.placeFile(file);
}

}  // namespace quillon::xref
