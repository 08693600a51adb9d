#include "xref/merge.h"

#include <algorithm>
#include <tuple>

#include "engine/parallel.h"

namespace quillon::xref::merge {

namespace {

bool hasCapital(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
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

/// Numbers the names of every file, as written and folded: each file's names in turn,
/// each name before its folded form, as numbering them one by one would.
void numberNames(const SymbolTable& table, Workspace& ws, int threads) {
  const size_t files = table.files.size();
  std::vector<std::vector<std::string_view>> lists(files);
  ws.foldedTexts.assign(files, std::string());
  forEachOnThreads(files, threads, [&](size_t f) {
    const std::vector<std::string>& names = table.files[f].names;
    std::string& lower = ws.foldedTexts[f];
    size_t size = 0;
    for (const std::string& name : names)
      if (hasCapital(name)) size += name.size();
    lower.reserve(size);  // no more: the views below stay where they are
    std::vector<std::string_view>& list = lists[f];
    list.reserve(names.size() * 2);
    for (const std::string& name : names) {
      list.push_back(name);
      if (!hasCapital(name)) {
        list.push_back(name);
        continue;
      }
      const size_t at = lower.size();
      for (char c : name) lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      list.push_back(std::string_view(lower).substr(at, name.size()));
    }
  });
  std::vector<std::vector<std::uint32_t>> numbers;
  ws.texts.number(lists, numbers, threads);
  ws.names.assign(files, {});
  ws.foldedNames.assign(files, {});
  forEachOnThreads(files, threads, [&](size_t f) {
    const size_t count = numbers[f].size() / 2;
    ws.names[f].resize(count);
    ws.foldedNames[f].resize(count);
    for (size_t i = 0; i < count; ++i) {
      ws.names[f][i] = numbers[f][2 * i];
      ws.foldedNames[f][i] = numbers[f][2 * i + 1];
    }
    std::vector<std::uint32_t>().swap(numbers[f]);
  });
}

/// The defs of every file, in the order of the files and of their records.
void gatherDefs(const SymbolTable& table, Workspace& ws, int threads) {
  const size_t files = table.files.size();
  std::vector<std::uint32_t> firstDef(files + 1, 0);
  forEachOnThreads(files, threads, [&](size_t f) {
    const std::vector<Record>& records = table.files[f].records;
    firstDef[f + 1] = static_cast<std::uint32_t>(
        std::count_if(records.begin(), records.end(), [](const Record& r) { return !isUse(r.role); }));
  });
  for (size_t f = 0; f < files; ++f) firstDef[f + 1] += firstDef[f];
  ws.defs.resize(firstDef[files]);
  ws.defOf.assign(files, {});
  forEachOnThreads(files, threads, [&](size_t f) {
    const FileScan& scan = table.files[f];
    const std::vector<std::uint32_t>& names = ws.names[f];
    const std::vector<std::uint32_t>& folded = ws.foldedNames[f];
    std::vector<std::uint32_t>& defOf = ws.defOf[f];
    defOf.assign(scan.records.size(), none);
    std::uint32_t d = firstDef[f];
    for (std::uint32_t i = 0; i < scan.records.size(); ++i) {
      const Record& r = scan.records[i];
      if (isUse(r.role)) continue;
      Def& def = ws.defs[d];
      def.file = static_cast<std::uint32_t>(f);
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
      defOf[i] = d++;
    }
  });
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
      const std::string written(ws.texts.text(ws.foldedNames[file][base.base]));
      const size_t cut = written.rfind("::");
      const std::string last = cut == std::string::npos ? written : written.substr(cut + 2);
      for (std::uint32_t candidate : ws.classPaths.of(ws.texts.id(last))) {
        const std::string_view around = ws.texts.text(ws.texts.parent(candidate));
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

/// Sorts `items` (by a total order: the same on any number of threads) in parts on up to
/// `threads` threads, then merges the parts.
template <class T>
void sortOnThreads(std::vector<T>& items, int threads) {
  const size_t parts = items.size() < 4096 ? 1 : static_cast<size_t>(std::clamp(threads, 1, 8));
  std::vector<size_t> bounds;
  for (size_t p = 0; p <= parts; ++p) bounds.push_back(items.size() * p / parts);
  forEachOnThreads(parts, threads, [&](size_t p) {
    std::sort(items.begin() + bounds[p], items.begin() + bounds[p + 1]);
  });
  for (size_t width = 1; width < parts; width *= 2)
    for (size_t p = 0; p + width < parts; p += 2 * width)
      std::inplace_merge(items.begin() + bounds[p], items.begin() + bounds[p + width],
                         items.begin() + bounds[std::min(p + 2 * width, parts)]);
}

void giveSymbols(Workspace& ws, std::vector<Symbol>& symbols, int threads) {
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
  sortOnThreads(keyed, threads);
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
  forEachOnThreads(2, threads, [&](size_t i) { (i == 0 ? ws.byName : ws.byNameAndScope).finish(); });
}

}  // namespace

Texts::Texts() : shards_(size_t{1} << shardBits) {
  for (Shard& shard : shards_) shard.slots.assign(64, Slot{0, none});
  id(std::string_view());  // 0: the empty text
}

std::uint64_t Texts::hashOf(std::string_view text) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a, then mixed: names are short
  for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h ^ (h >> 29);
}

const Texts::Slot& Texts::slotOf(std::string_view text, std::uint64_t hash) const {
  const std::vector<Slot>& slots = shards_[shardOf(hash)].slots;
  const size_t mask = slots.size() - 1;
  for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots[i];
    if (slot.id == none || (slot.hash == hash && texts_[slot.id] == text)) return slot;
  }
}

Texts::Slot& Texts::slotOf(std::string_view text, std::uint64_t hash) {
  return const_cast<Slot&>(static_cast<const Texts&>(*this).slotOf(text, hash));
}

void Texts::makeRoom(Shard& shard) {
  if ((shard.count + 1) * 2 <= shard.slots.size()) return;
  const size_t size = shard.slots.size() * 2;
  std::vector<Slot> old = std::move(shard.slots);
  shard.slots.assign(size, Slot{0, none});
  for (const Slot& slot : old)
    if (slot.id != none) {
      size_t i = static_cast<size_t>(slot.hash) & (size - 1);
      while (shard.slots[i].id != none) i = (i + 1) & (size - 1);
      shard.slots[i] = slot;
    }
}

std::uint32_t Texts::id(std::string_view text) {
  const std::uint64_t hash = hashOf(text);
  if (const Slot& found = slotOf(text, hash); found.id != none) return found.id;
  Shard& shard = shards_[shardOf(hash)];
  makeRoom(shard);
  const auto id = static_cast<std::uint32_t>(texts_.size());
  texts_.push_back(copies_.emplace_back(text));
  slotOf(text, hash) = {hash, id};
  ++shard.count;
  return id;
}

void Texts::number(const std::vector<std::vector<std::string_view>>& lists,
                   std::vector<std::vector<std::uint32_t>>& numbers, int threads) {
  std::vector<std::vector<std::uint64_t>> hashes(lists.size());
  numbers.assign(lists.size(), {});
  forEachOnThreads(lists.size(), threads, [&](size_t l) {
    hashes[l].reserve(lists[l].size());
    for (std::string_view text : lists[l]) hashes[l].push_back(hashOf(text));
    numbers[l].resize(lists[l].size());
  });
  // Each table takes the texts of its hashes, in order, on a thread of its own; a new
  // text is numbered for the while by its place among that table's new texts (the top
  // bit set), and gets its number once the new texts of all tables are put in order.
  constexpr std::uint32_t pending = 0x80000000u;
  struct New {
    std::uint32_t list, index;
  };
  std::vector<std::vector<New>> added(shards_.size());
  forEachOnThreads(shards_.size(), threads, [&](size_t s) {
    Shard& shard = shards_[s];
    for (std::uint32_t l = 0; l < lists.size(); ++l)
      for (std::uint32_t i = 0; i < lists[l].size(); ++i) {
        const std::uint64_t hash = hashes[l][i];
        if (shardOf(hash) != s) continue;
        const std::string_view text = lists[l][i];
        const std::vector<Slot>& slots = shard.slots;
        size_t at = static_cast<size_t>(hash) & (slots.size() - 1);
        for (;; at = (at + 1) & (slots.size() - 1)) {
          const Slot& slot = slots[at];
          if (slot.id == none) break;
          if (slot.hash != hash) continue;
          const std::string_view known = slot.id & pending ? lists[added[s][slot.id & ~pending].list]
                                                                  [added[s][slot.id & ~pending].index]
                                                           : texts_[slot.id];
          if (known == text) break;
        }
        if (slots[at].id == none) {
          if ((shard.count + 1) * 2 > slots.size()) {
            makeRoom(shard);
            at = static_cast<size_t>(hash) & (shard.slots.size() - 1);
            while (shard.slots[at].id != none) at = (at + 1) & (shard.slots.size() - 1);
          }
          shard.slots[at] = {hash, pending | static_cast<std::uint32_t>(added[s].size())};
          added[s].push_back({l, i});
          ++shard.count;
        }
        numbers[l][i] = shard.slots[at].id;
      }
  });
  // The new texts in the order of their first places, as one table would number them.
  std::vector<std::vector<std::uint32_t>> final(shards_.size());
  std::vector<size_t> next(shards_.size(), 0);
  for (;;) {
    size_t first = shards_.size();
    for (size_t s = 0; s < shards_.size(); ++s) {
      if (next[s] == added[s].size()) continue;
      const New& a = added[s][next[s]];
      if (first == shards_.size()) {
        first = s;
        continue;
      }
      const New& b = added[first][next[first]];
      if (a.list < b.list || (a.list == b.list && a.index < b.index)) first = s;
    }
    if (first == shards_.size()) break;
    const New& a = added[first][next[first]++];
    final[first].push_back(static_cast<std::uint32_t>(texts_.size()));
    texts_.push_back(lists[a.list][a.index]);
  }
  forEachOnThreads(shards_.size(), threads, [&](size_t s) {
    for (Slot& slot : shards_[s].slots)
      if (slot.id != none && (slot.id & pending)) slot.id = final[s][slot.id & ~pending];
  });
  forEachOnThreads(lists.size(), threads, [&](size_t l) {
    for (size_t i = 0; i < numbers[l].size(); ++i)
      if (numbers[l][i] & pending) numbers[l][i] = final[shardOf(hashes[l][i])][numbers[l][i] & ~pending];
  });
}

std::uint32_t Texts::find(std::string_view text) const {
  return slotOf(text, hashOf(text)).id;
}

std::uint32_t Texts::parent(std::uint32_t scope) {
  if (scope < parents_.size() && parents_[scope] != none) return parents_[scope];
  const std::string_view text = texts_[scope];
  const size_t cut = text.find(':') == std::string_view::npos ? std::string_view::npos : text.rfind("::");
  const std::uint32_t up = cut == std::string_view::npos ? 0 : id(text.substr(0, cut));
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
  std::string joined;
  joined.reserve(texts_[scope].size() + 2 + texts_[name].size());
  joined.append(texts_[scope]).append("::").append(texts_[name]);
  return id(joined);
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
    const std::string_view text = ws.texts.text(t);
    const size_t cut = text.find(':') == std::string_view::npos ? std::string_view::npos : text.rfind("::");
    ws.lastOf[t] = cut == std::string_view::npos ? t : ws.texts.find(text.substr(cut + 2));
  }
}

void gatherDefinitions(const SymbolTable& table, Workspace& ws, std::vector<Symbol>& symbols,
                       int threads) {
  numberNames(table, ws, threads);
  gatherDefs(table, ws, threads);
  gatherClasses(table, ws);
  giveSymbols(ws, symbols, threads);
  prepareLookups(ws);
}

}  // namespace quillon::xref::merge
