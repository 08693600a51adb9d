#include "xref/merge.h"

#include <algorithm>
#include <tuple>

namespace quillon::xref::merge {

namespace {

/// `text` in lower case (ASCII letters), in `out`.
std::string_view lowered(std::string_view text, std::string& out) {
  out.assign(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

/// What may be one symbol: kinds that a declaration and a definition of one name and
/// scope share.
int familyOf(SymbolKind kind) {
  if (kind == SymbolKind::Namespace || kind == SymbolKind::Module) return 0;
  if (isTypeKind(kind)) return 1;
  if (kind == SymbolKind::Function) return 2;
  if (kind == SymbolKind::Macro) return 3;
  return 4;
}

bool isScopeKind(SymbolKind kind) {
  return isTypeKind(kind) && kind != SymbolKind::Typedef && kind != SymbolKind::Delegate;
}

void addFile(const SymbolTable& table, std::uint32_t file, Workspace& ws) {
  const FileScan& scan = table.files[file];
  std::vector<std::uint32_t>& names = ws.names.emplace_back();
  std::vector<std::uint32_t>& folded = ws.foldedNames.emplace_back();
  names.reserve(scan.names.size());
  folded.reserve(scan.names.size());
  std::string lower;
  for (const std::string& name : scan.names) {
    names.push_back(ws.texts.id(name));
    const bool isLower = std::none_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    folded.push_back(isLower ? names.back() : ws.texts.id(lowered(name, lower)));
  }
  std::vector<std::uint32_t>& defOf = ws.defOf.emplace_back(scan.records.size(), none);
  for (std::uint32_t i = 0; i < scan.records.size(); ++i) {
    const Record& r = scan.records[i];
    if (isUse(r.role)) continue;
    Def def;
    def.file = file;
    def.record = i;
    def.name = names[r.name];
    def.folded = folded[r.name];
    def.scope = names[r.scope];
    def.foldedScope = folded[r.scope];
    def.kind = r.kind;
    def.role = r.role;
    def.fileLocal = (r.flags & FileLocal) != 0;
    def.caseInsensitive = scan.caseInsensitive;
    def.family = scan.family;
    defOf[i] = static_cast<std::uint32_t>(ws.defs.size());
    ws.defs.push_back(def);
  }
}

/// The classes, and what each names as its bases (as written, then found by name).
void gatherClasses(const SymbolTable& table, Workspace& ws) {
  for (const Def& def : ws.defs)
    if (isScopeKind(def.kind)) {
      const std::uint32_t path = ws.texts.join(def.foldedScope, def.folded);
      ws.basesOf[path];
      ws.classPaths.add(def.folded, path);
      if (def.kind == SymbolKind::Module) ws.modules.insert(path);
    }
  ws.classPaths.finish(true);
  for (std::uint32_t file = 0; file < table.files.size(); ++file) {
    for (const BaseOf& base : table.files[file].bases) {
      const std::uint32_t d = ws.defOf[file][base.record];
      if (d == none) continue;
      const Def& def = ws.defs[d];
      const std::uint32_t path = ws.texts.join(def.foldedScope, def.folded);
      const std::string written = ws.texts.text(ws.foldedNames[file][base.base]);
      const size_t cut = written.rfind("::");
      const std::string last = cut == std::string::npos ? written : written.substr(cut + 2);
      for (std::uint32_t candidate : ws.classPaths.of(ws.texts.id(last))) {
        const std::string& around = ws.texts.text(ws.texts.parent(candidate));
        const bool fits = cut == std::string::npos || endsWithScope(around, written.substr(0, cut));
        if (fits && candidate != path) ws.basesOf[path].push_back(candidate);
      }
    }
  }
}

/// Gives every def its symbol: a definition is a symbol of its own; a declaration joins
/// the one definition of its name, scope and family (or, without one, the first
/// declaration); namespaces and modules, opened in many places, are one symbol each.
/// Parameters and locals are symbols of their own.
/// Makes `d`, the place of a symbol, a candidate of the uses of its name. (One def a
/// symbol: a namespace opened in a thousand places is one candidate, not a thousand.)
void indexDef(Workspace& ws, std::uint32_t d) {
  const Def& def = ws.defs[d];
  ws.byName.add(def.folded, d);
  ws.byNameAndScope.add(nameInScope(def.folded, def.foldedScope), d);
  if (def.kind == SymbolKind::Macro) ws.macroNames[def.folded] = true;
}

void giveSymbols(Workspace& ws, std::vector<Symbol>& symbols) {
  struct Keyed {
    std::uint32_t owner, scope, name;
    std::uint8_t language;  // the languages' family: a C++ and a Java class are two
    int family;
    std::uint32_t def;
    bool operator<(const Keyed& o) const {
      return std::tie(owner, scope, name, language, family, def) <
             std::tie(o.owner, o.scope, o.name, o.language, o.family, o.def);
    }
    bool sameGroup(const Keyed& o) const {
      return owner == o.owner && scope == o.scope && name == o.name && language == o.language &&
             family == o.family;
    }
  };
  std::vector<Keyed> keyed;
  keyed.reserve(ws.defs.size());
  symbols.reserve(ws.defs.size());
  ws.macroNames.assign(ws.texts.size(), false);
  for (std::uint32_t d = 0; d < ws.defs.size(); ++d) {
    Def& def = ws.defs[d];
    if (def.kind == SymbolKind::Parameter || def.kind == SymbolKind::Local) {
      def.symbol = static_cast<std::uint32_t>(symbols.size());
      symbols.push_back({def.file, def.record, 0, true});
      continue;
    }
    keyed.push_back({def.fileLocal ? def.file : none, def.caseInsensitive ? def.foldedScope : def.scope,
                     def.caseInsensitive ? def.folded : def.name, def.family, familyOf(def.kind), d});
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::uint32_t> members, definitions;
  for (size_t begin = 0, end; begin < keyed.size(); begin = end) {
    members.clear();
    definitions.clear();
    for (end = begin; end < keyed.size() && keyed[end].sameGroup(keyed[begin]); ++end) {
      members.push_back(keyed[end].def);
      if (ws.defs[keyed[end].def].role == Role::Definition) definitions.push_back(keyed[end].def);
    }
    if (keyed[begin].family == 0 || definitions.size() <= 1) {
      const std::uint32_t place = definitions.empty() ? members.front() : definitions.front();
      const auto symbol = static_cast<std::uint32_t>(symbols.size());
      symbols.push_back({ws.defs[place].file, ws.defs[place].record, 0, false});
      for (std::uint32_t d : members) ws.defs[d].symbol = symbol;
      indexDef(ws, place);
      continue;
    }
    // Several definitions (overloads, alternatives): each its own symbol; a declaration
    // of them stays without one and is placed like a use.
    for (std::uint32_t d : definitions) {
      ws.defs[d].symbol = static_cast<std::uint32_t>(symbols.size());
      symbols.push_back({ws.defs[d].file, ws.defs[d].record, 0, false});
      indexDef(ws, d);
    }
  }
  ws.byName.finish();
  ws.byNameAndScope.finish();
}

}  // namespace

Texts::Texts() {
  grow(1024);
  id(std::string_view());  // 0: the empty text
}

void Texts::reserve(size_t count) {
  if (count * 2 > slots_.size()) grow(count * 2);
}

std::uint64_t Texts::hashOf(std::string_view text) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a, then mixed: names are short
  for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h ^ (h >> 29);
}

size_t Texts::slotOf(std::string_view text, std::uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.id == none || (slot.hash == hash && texts_[slot.id] == text)) return i;
  }
}

void Texts::grow(size_t slots) {
  size_t size = 1;
  while (size < slots) size <<= 1;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot{0, none});
  for (const Slot& slot : old)
    if (slot.id != none) {
      size_t i = static_cast<size_t>(slot.hash) & (size - 1);
      while (slots_[i].id != none) i = (i + 1) & (size - 1);
      slots_[i] = slot;
    }
}

std::uint32_t Texts::id(std::string_view text) {
  const std::uint64_t hash = hashOf(text);
  size_t at = slotOf(text, hash);
  if (slots_[at].id != none) return slots_[at].id;
  if ((texts_.size() + 1) * 2 > slots_.size()) {
    grow(slots_.size() * 2);
    at = slotOf(text, hash);
  }
  const auto id = static_cast<std::uint32_t>(texts_.size());
  texts_.emplace_back(text);
  slots_[at] = {hash, id};
  return id;
}

std::uint32_t Texts::find(std::string_view text) const {
  return slots_[slotOf(text, hashOf(text))].id;
}

std::uint32_t Texts::parent(std::uint32_t scope) {
  if (scope < parents_.size() && parents_[scope] != none) return parents_[scope];
  const std::string& text = texts_[scope];
  const size_t cut = text.find(':') == std::string::npos ? std::string::npos : text.rfind("::");
  const std::uint32_t up = cut == std::string::npos ? 0 : id(std::string_view(text).substr(0, cut));
  if (parents_.size() <= scope) parents_.resize(std::max<size_t>(scope + 1, texts_.size()), none);
  parents_[scope] = up;
  return up;
}

void Lists::finish(bool sorted) {
  if (sorted) {
    std::sort(pairs_.begin(), pairs_.end());
    pairs_.erase(std::unique(pairs_.begin(), pairs_.end()), pairs_.end());
  } else {
    std::stable_sort(pairs_.begin(), pairs_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  keys_.clear();
  starts_.clear();
  values_.clear();
  values_.reserve(pairs_.size());
  for (const auto& [key, value] : pairs_) {
    if (keys_.empty() || keys_.back() != key) {
      keys_.push_back(key);
      starts_.push_back(static_cast<std::uint32_t>(values_.size()));
    }
    values_.push_back(value);
  }
  starts_.push_back(static_cast<std::uint32_t>(values_.size()));
  pairs_.clear();
  pairs_.shrink_to_fit();
}

Run Lists::of(std::uint64_t key) const {
  auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
  if (at == keys_.end() || *at != key) return {};
  const size_t i = static_cast<size_t>(at - keys_.begin());
  return {values_.data() + starts_[i], values_.data() + starts_[i + 1]};
}

std::uint32_t Texts::join(std::uint32_t scope, std::uint32_t name) {
  if (scope == 0) return name;
  return id(texts_[scope] + "::" + texts_[name]);
}

bool isTypeKind(SymbolKind kind) {
  switch (kind) {
    case SymbolKind::Class: case SymbolKind::Struct: case SymbolKind::Union:
    case SymbolKind::Interface: case SymbolKind::Record: case SymbolKind::Enum:
    case SymbolKind::Typedef: case SymbolKind::Delegate: case SymbolKind::Module:
      return true;
    default:
      return false;
  }
}

bool isMemberKind(SymbolKind kind) {
  switch (kind) {
    case SymbolKind::Function: case SymbolKind::Field: case SymbolKind::Property:
    case SymbolKind::Event: case SymbolKind::Constant: case SymbolKind::Variable:
    case SymbolKind::Enumerator:
      return true;
    default:
      return isTypeKind(kind);  // nested types
  }
}

bool isCallable(SymbolKind kind) {
  return kind == SymbolKind::Function || kind == SymbolKind::Macro || kind == SymbolKind::Delegate ||
         isTypeKind(kind) || kind == SymbolKind::Field || kind == SymbolKind::Variable ||
         kind == SymbolKind::Property || kind == SymbolKind::Event;
}

bool endsWithScope(std::string_view scope, std::string_view tail) {
  if (tail.size() > scope.size() || scope.compare(scope.size() - tail.size(), tail.size(), tail) != 0)
    return false;
  return tail.size() == scope.size() || (scope.size() >= tail.size() + 2 &&
                                         scope.compare(scope.size() - tail.size() - 2, 2, "::") == 0);
}

bool isMember(const Workspace& ws, const Def& def) {
  return def.foldedScope != 0 && isMemberKind(def.kind) && ws.basesOf.count(def.foldedScope) > 0;
}

/// The lookups that the placing of uses needs, made before it so that it only reads.
void prepareLookups(Workspace& ws) {
  ws.byName.forEach([&](std::uint64_t name, Run defs) {
    for (std::uint32_t d : defs) {
      const Def& def = ws.defs[d];
      const bool member = isMember(ws, def);
      if (member) ws.members.add(name, d);
      if (!member || ws.modules.count(def.foldedScope)) ws.outside.add(name, d);
    }
  });
  ws.members.finish();
  ws.outside.finish();
  // Parents and last parts may be texts of their own that are new: made first, then read.
  for (std::uint32_t t = 0; t < ws.texts.size(); ++t) ws.texts.parent(t);
  const std::uint32_t count = ws.texts.size();
  ws.parentOf.resize(count);
  ws.lastOf.resize(count);
  for (std::uint32_t t = 0; t < count; ++t) {
    ws.parentOf[t] = ws.texts.parent(t);
    const std::string& text = ws.texts.text(t);
    const size_t cut = text.find(':') == std::string::npos ? std::string::npos : text.rfind("::");
    ws.lastOf[t] = cut == std::string::npos ? t : ws.texts.find(std::string_view(text).substr(cut + 2));
  }
}

void gatherDefinitions(const SymbolTable& table, Workspace& ws, std::vector<Symbol>& symbols) {
  size_t names = 0, records = 0;
  for (const FileScan& scan : table.files) {
    names += scan.names.size();
    records += scan.records.size();
  }
  ws.texts.reserve(names);
  ws.defs.reserve(records / 2);
  for (std::uint32_t file = 0; file < table.files.size(); ++file) addFile(table, file, ws);
  gatherClasses(table, ws);
  giveSymbols(ws, symbols);
  prepareLookups(ws);
}

}  // namespace quillon::xref::merge
