// The cross-reference scan of Visual Basic: the text becomes tokens with an end token
// after every statement (a line end not continued by " _", or ":"), and each statement
// is read from its first words: a block that opens (Namespace, Class, Sub...), the End
// that closes it, a declaration (Dim, a field, Const), or any other statement, whose
// names are uses. Keywords and names are compared without regard to case.
#include <string>
#include <unordered_map>

#include "xref/scan.h"
#include "xref/vb_lexer.h"

namespace quillon::xref {

namespace {

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

/// Lookups in one statement reach at most this far: a chain of names before a dot, the
/// search for the block that an End closes.
constexpr int longestChain = 8;
constexpr size_t deepestEnd = 16;
/// A scope grows no longer than this (what nests deeper stays in it).
constexpr size_t longestScope = 1024;

class VbRecogniser {
 public:
  VbRecogniser(std::vector<VbToken> tokens, FileScan& scan) : toks_(std::move(tokens)), scan_(scan) {}
  void run();

 private:
  enum class Ctx : std::uint8_t { Scope, Type, Enum, Accessors, Body };
  struct Context {
    Ctx kind = Ctx::Scope;
    std::string closer;  ///< the word after the End that closes it ("class", "sub"...)
    NameId scope = 0;
    std::uint32_t typeDef = none;   ///< of a type: its definition (for its bases)
    std::uint32_t function = none;  ///< of accessors and bodies: the member they belong to
    size_t localMark = 0;
    bool isInterface = false;
  };

  const VbToken& tok(size_t j) const { return j < toks_.size() ? toks_[j] : end_; }
  bool op(size_t j, std::string_view o) const { return tok(j).is(o); }
  bool name(size_t j) const { return tok(j).type == VbToken::Name; }
  bool kw(size_t j, V k) const { return tok(j).type == VbToken::Keyword && tok(j).kw == k; }
  bool atEnd(size_t j) const { return j >= end_of_ || tok(j).type == VbToken::EndOfStatement; }
  Context& top() { return stack_.back(); }
  NameId fold(NameId name);
  NameId join(NameId scope, std::string_view name);
  NameId nameAt(size_t j) { return name(j) ? tok(j).name : scan_.intern(tok(j).text); }

  std::uint32_t add(size_t j, SymbolKind kind, NameId scope, NameId qualifier, std::uint32_t function);
  void push(Ctx kind, std::string closer, NameId scope, std::uint32_t function, size_t mark);
  void defineLocal(size_t j, SymbolKind kind, NameId type);
  void popLocals(size_t mark);
  void use(size_t j, Role role);
  void uses(size_t from, size_t to);
  size_t lambda(size_t k);
  void qualify(size_t dot, Record& r);
  size_t readType(size_t j, NameId* type);
  size_t asClause(size_t j, NameId* type);

  void statement(size_t b);
  void closeBlock(size_t j);
  void namespaceDecl(size_t p);
  void typeDecl(size_t p, SymbolKind kind);
  void bases(size_t p);
  void methodDecl(size_t p, SymbolKind kind, bool bodyless);
  size_t parameters(size_t open, std::uint32_t function, bool define);
  void propertyDecl(size_t p, bool bodyless);
  void eventDecl(size_t p, bool custom);
  void declarators(size_t p, SymbolKind kind);
  void bodyStatement(size_t p);
  bool accessorFollows(size_t e) const;

  std::vector<VbToken> toks_;
  const VbToken end_{};
  FileScan& scan_;
  std::vector<Context> stack_;
  size_t end_of_ = 0;  ///< the end of the statement in hand
  size_t forced_ = none;  ///< the name whose role the statement decides
  Role forcedRole_ = Role::Read;
  std::vector<NameId> folds_;
  std::unordered_map<std::string, NameId> foldIds_;
  std::unordered_map<NameId, std::uint32_t> locals_;  // by folded name
  std::vector<std::pair<NameId, std::uint32_t>> shadowed_;
  std::unordered_map<std::uint64_t, NameId> memberTypes_;  // by scope and folded name
  std::unordered_map<NameId, NameId> baseOf_;              // a type's scope: its base
  std::vector<NameId> withTypes_;                          // the With blocks' types
  bool inType_ = false;                                    // recording a type's names
};

std::uint64_t memberKey(NameId scope, NameId name) { return std::uint64_t{scope} << 32 | name; }

NameId VbRecogniser::fold(NameId name) {
  if (name >= folds_.size()) folds_.resize(scan_.names.size(), none);
  if (folds_[name] == none)
    folds_[name] = foldIds_.emplace(folded(scan_.names[name]), static_cast<NameId>(foldIds_.size() + 1)).first->second;
  return folds_[name];
}

NameId VbRecogniser::join(NameId scope, std::string_view name) {
  if (scope == 0) return scan_.intern(name);
  if (scan_.names[scope].size() > longestScope) return scope;  // nested past all sense
  return scan_.intern(scan_.names[scope] + "::" + std::string(name));
}

std::uint32_t VbRecogniser::add(size_t j, SymbolKind kind, NameId scope, NameId qualifier,
                                std::uint32_t function) {
  Record r;
  r.name = nameAt(j);
  r.kind = kind;
  r.role = Role::Definition;
  r.scope = scope;
  r.qualifier = qualifier;
  r.line = tok(j).line;
  r.column = tok(j).column;
  r.function = function;
  scan_.records.push_back(r);
  return static_cast<std::uint32_t>(scan_.records.size() - 1);
}

void VbRecogniser::push(Ctx kind, std::string closer, NameId scope, std::uint32_t function, size_t mark) {
  Context c;
  c.kind = kind;
  c.closer = std::move(closer);
  c.scope = scope;
  c.function = function;
  c.localMark = mark;
  stack_.push_back(std::move(c));
}

void VbRecogniser::defineLocal(size_t j, SymbolKind kind, NameId type) {
  const std::uint32_t record = add(j, kind, top().scope, type, top().function);
  const NameId key = fold(tok(j).name);
  auto [at, added] = locals_.try_emplace(key, record);
  shadowed_.push_back({key, added ? none : at->second});
  at->second = record;
}

void VbRecogniser::popLocals(size_t mark) {
  while (shadowed_.size() > mark) {
    const auto [key, hidden] = shadowed_.back();
    shadowed_.pop_back();
    if (hidden == none)
      locals_.erase(key);
    else
      locals_[key] = hidden;
  }
}

void VbRecogniser::use(size_t j, Role role) {
  Record r;
  r.name = tok(j).name;
  r.scope = top().scope;
  r.line = tok(j).line;
  r.column = tok(j).column;
  r.function = top().function;
  r.role = j == forced_ ? forcedRole_ : role;
  if (j > 0 && (op(j - 1, ".") || op(j - 1, "!"))) {
    qualify(j - 1, r);
  } else if (r.function != none && !inType_) {  // a type's name is never a local's
    auto found = locals_.find(fold(r.name));
    if (found != locals_.end()) r.local = found->second;
  }
  scan_.records.push_back(r);
}

void VbRecogniser::uses(size_t from, size_t to) {
  for (size_t j = from; j < to && !atEnd(j); ++j) {
    const size_t after = lambda(j);
    if (after != j)
      j = after - 1;
    else if (name(j))
      use(j, Role::Read);
  }
}

/// A lambda at `k` ("Sub(x)", "Function(x As T) x * 2"): its parameters are locals, and
/// without a body on its line a block follows that "End Sub" or "End Function" closes.
/// Returns the token after its head; `k` when there is no lambda.
size_t VbRecogniser::lambda(size_t k) {
  if (!(kw(k, V::Sub) || kw(k, V::Function)) || !op(k + 1, "(") || kw(k - 1, V::Exit) ||
      kw(k - 1, V::End) || kw(k - 1, V::Declare) || kw(k - 1, V::Delegate))
    return k;
  const std::string closer = folded(tok(k).text);
  const size_t after = parameters(k + 1, top().function, top().function != none);
  NameId type = 0;
  const size_t rest = asClause(after, &type);
  if (atEnd(rest) && top().function != none)
    push(Ctx::Body, closer, top().scope, top().function, shadowed_.size());
  return rest;
}

/// A member after ".": of the declared type of the variable before it, of the class for
/// "Me.", of the With block's object for a leading ".", or of the type, module or
/// namespace that names before it write ("Settings.", "System.IO.").
void VbRecogniser::qualify(size_t dot, Record& r) {
  r.flags = AfterMember;
  if (op(dot, "!")) return;
  const VbToken& before = tok(dot - 1);
  if (before.type == VbToken::Keyword && (before.kw == V::Me || before.kw == V::MyBase)) {
    if (dot >= 2 && op(dot - 2, ".")) return;
    if (before.kw == V::Me) {
      r.qualifier = top().scope;
    } else {
      auto base = baseOf_.find(top().scope);
      r.qualifier = base != baseOf_.end() ? base->second : scan_.intern("Object");
    }
    return;
  }
  if (dot == 0 || before.type == VbToken::EndOfStatement || (before.type == VbToken::Punct && !before.is(")"))) {
    if (!withTypes_.empty()) r.qualifier = withTypes_.back();  // .Member inside With
    return;
  }
  if (before.type != VbToken::Name) return;
  size_t head = dot - 1;
  int parts = 1;
  while (head >= 2 && op(head - 1, ".") && name(head - 2) && parts < longestChain) {
    head -= 2;
    ++parts;
  }
  const NameId first = fold(tok(head).name);
  const bool afterMe = head >= 2 && op(head - 1, ".") && kw(head - 2, V::Me);
  if (head >= 1 && op(head - 1, ".") && !afterMe) return;  // after a call or an index
  if (!afterMe && top().function != none) {
    auto found = locals_.find(first);
    if (found != locals_.end()) {
      if (parts == 1) r.qualifier = scan_.records[found->second].qualifier;
      return;
    }
  }
  auto field = memberTypes_.find(memberKey(top().scope, first));
  if (field != memberTypes_.end() || afterMe) {
    if (parts == 1 && field != memberTypes_.end()) r.qualifier = field->second;
    return;
  }
  std::string written(tok(head).text);
  for (size_t p = head + 2; p < dot; p += 2) written += "::" + std::string(tok(p).text);
  r.flags = AfterScope;
  r.qualifier = scan_.intern(written);
}

/// A type at `j` (a dotted name with "(Of ...)" and "()", or a built-in type): its uses
/// recorded, its name as a qualifier in `type`. Returns the token after it.
size_t VbRecogniser::readType(size_t j, NameId* type) {
  *type = 0;
  std::string written;
  if (kw(j, V::Type)) {
    written = tok(j).text;
    ++j;
  } else if (name(j)) {
    const size_t begin = j;
    written = tok(j).text;
    while (op(j + 1, ".") && name(j + 2)) {
      j += 2;
      written += "::" + std::string(tok(j).text);
    }
    inType_ = true;
    uses(begin, ++j);
    inType_ = false;
  } else {
    return j;
  }
  if (op(j, "(") && kw(j + 1, V::Of)) {  // type arguments: their names are uses
    int depth = 0;
    for (; !atEnd(j); ++j) {
      if (op(j, "(")) ++depth;
      if (op(j, ")") && --depth == 0) break;
      if (name(j)) use(j, Role::Read);
    }
    if (op(j, ")")) ++j;
  }
  if (op(j, "?")) ++j;
  while (op(j, "(") && (op(j + 1, ")") || op(j + 1, ","))) {
    while (op(j + 1, ",")) ++j;
    j += 2;
    written += "[]";
  }
  *type = scan_.intern(written);
  return j;
}

/// "As [New] T" at `j`, if there: its type. Returns the token after it.
size_t VbRecogniser::asClause(size_t j, NameId* type) {
  *type = 0;
  if (!kw(j, V::As)) return j;
  ++j;
  if (kw(j, V::New)) ++j;
  return readType(j, type);
}

void VbRecogniser::run() {
  stack_.push_back(Context{});
  size_t b = 0;
  while (b < toks_.size()) {
    size_t e = b;
    while (e < toks_.size() && toks_[e].type != VbToken::EndOfStatement) ++e;
    end_of_ = e;
    forced_ = none;
    if (e > b) statement(b);
    b = e + 1;
  }
}

/// Whether the statement after the one ending at `e` starts a Get or Set accessor.
bool VbRecogniser::accessorFollows(size_t e) const {
  size_t j = e + 1;
  for (int n = 0; n < 8 && j < toks_.size() && (kw(j, V::Modifier) || toks_[j].type == VbToken::Punct); ++n) ++j;
  if (op(e + 1, "<")) {  // an attribute on the accessor
    j = e + 1;
    while (j < toks_.size() && j < e + 64 && !op(j, ">")) ++j;
    ++j;
    while (kw(j, V::Modifier)) ++j;
  }
  return kw(j, V::Get) || kw(j, V::Set);
}

void VbRecogniser::statement(size_t b) {
  size_t p = b;
  if (op(p, "<")) {  // attributes: <Serializable()>
    while (!atEnd(p) && !op(p, ">")) {
      if (name(p)) use(p, Role::Read);
      ++p;
    }
    if (atEnd(p)) return;
    ++p;
  }
  bool dim = false, isConst = false, modifier = false, bodyless = false, custom = false;
  for (; !atEnd(p); ++p) {
    if (kw(p, V::Dim)) dim = true;
    else if (kw(p, V::Const)) isConst = true;
    else if (kw(p, V::Custom)) custom = true;
    else if (kw(p, V::Modifier)) {
      modifier = true;
      bodyless = bodyless || folded(tok(p).text) == "mustoverride";
    } else break;
  }
  if (atEnd(p)) return;
  const Ctx where = top().kind;
  const bool members = where == Ctx::Scope || where == Ctx::Type;
  bodyless = bodyless || top().isInterface;
  switch (tok(p).kw) {
    case V::End: return closeBlock(p + 1);
    case V::Namespace: return namespaceDecl(p);
    case V::Module: return typeDecl(p, SymbolKind::Module);
    case V::Class: return typeDecl(p, SymbolKind::Class);
    case V::Structure: return typeDecl(p, SymbolKind::Struct);
    case V::Interface: if (members) return typeDecl(p, SymbolKind::Interface); break;
    case V::Enum: return typeDecl(p, SymbolKind::Enum);
    case V::Inherits:
    case V::Implements: if (where == Ctx::Type) return bases(p + 1); break;
    case V::Skip: return;
    case V::Sub:
    case V::Function:
      if (members) return methodDecl(p, SymbolKind::Function, bodyless);
      break;
    case V::Declare:
      if (members) {
        while (!atEnd(p) && !kw(p, V::Sub) && !kw(p, V::Function)) ++p;
        return methodDecl(p, SymbolKind::Function, true);
      }
      break;
    case V::Delegate:
      if (members) return methodDecl(p + 1, SymbolKind::Delegate, true);
      break;
    case V::Property: if (members) return propertyDecl(p, bodyless); break;
    case V::Event: if (members) return eventDecl(p, custom); break;
    case V::Operator:
      if (members) {
        uses(p + 1, end_of_);
        if (!bodyless) push(Ctx::Body, "operator", top().scope, none, shadowed_.size());
        return;
      }
      break;
    case V::Get:
    case V::Set:
      if (where == Ctx::Accessors) {
        const std::uint32_t f = top().function;
        const size_t mark = shadowed_.size();
        push(Ctx::Body, folded(tok(p).text), top().scope, f, mark);
        if (op(p + 1, "(")) parameters(p + 1, f, true);
        return;
      }
      break;
    default: break;
  }
  if (where == Ctx::Accessors) {  // AddHandler, RemoveHandler, RaiseEvent of a custom event
    const std::uint32_t f = top().function;
    push(Ctx::Body, folded(tok(p).text), top().scope, f, shadowed_.size());
    if (op(p + 1, "(")) parameters(p + 1, f, true);
    return;
  }
  if (where == Ctx::Enum) {
    if (name(p)) add(p, SymbolKind::Enumerator, top().scope, 0, none);
    return uses(p + 1, end_of_);
  }
  if (members) {
    if ((dim || isConst || modifier) && name(p))
      return declarators(p, isConst ? SymbolKind::Constant : SymbolKind::Field);
    return uses(p, end_of_);
  }
  if ((dim || isConst || modifier) && name(p))
    return declarators(p, isConst ? SymbolKind::Constant : SymbolKind::Local);
  bodyStatement(p);
}

/// "End X": closes the nearest open block of X (End If and the like close none).
void VbRecogniser::closeBlock(size_t j) {
  if (atEnd(j)) return;
  const std::string what = folded(tok(j).text);
  if (what == "with") {
    if (!withTypes_.empty()) withTypes_.pop_back();
    return;
  }
  for (size_t k = stack_.size(); k > 1 && stack_.size() - k < deepestEnd; --k) {
    if (stack_[k - 1].closer != what) continue;
    while (stack_.size() >= k) {
      popLocals(stack_.back().localMark);
      stack_.pop_back();
    }
    return;
  }
}

void VbRecogniser::namespaceDecl(size_t p) {
  NameId scope = top().scope;
  size_t j = p + 1;
  if (kw(j, V::Plain) && op(j + 1, ".")) j += 2;  // Global.
  for (; name(j); j += 2) {
    add(j, SymbolKind::Namespace, scope, 0, none);
    scope = join(scope, tok(j).text);
    if (!op(j + 1, ".")) break;
  }
  push(Ctx::Scope, "namespace", scope, none, shadowed_.size());
}

void VbRecogniser::typeDecl(size_t p, SymbolKind kind) {
  const size_t k = p + 1;
  const NameId outer = top().scope;
  const std::string closer = folded(tok(p).text);
  if (!name(k)) {  // still a block, to keep its End in step
    push(kind == SymbolKind::Enum ? Ctx::Enum : Ctx::Type, closer, outer, none, shadowed_.size());
    return;
  }
  const std::uint32_t def = add(k, kind, outer, 0, none);
  uses(k + 1, end_of_);  // type parameters' constraints, an enum's underlying type
  push(kind == SymbolKind::Enum ? Ctx::Enum : Ctx::Type, closer, join(outer, tok(k).text), none,
       shadowed_.size());
  top().typeDef = def;
  top().isInterface = kind == SymbolKind::Interface;
}

/// "Inherits B" and "Implements I, J" in a type: its bases.
void VbRecogniser::bases(size_t p) {
  const bool inherits = kw(p - 1, V::Inherits);
  while (!atEnd(p)) {
    NameId type = 0;
    const size_t after = readType(p, &type);
    if (after == p) {
      ++p;
      continue;
    }
    if (type != 0 && top().typeDef != none) {
      scan_.bases.push_back({top().typeDef, type});
      if (inherits) baseOf_.emplace(top().scope, type);
    }
    p = after;
  }
}

/// Sub, Function, Declare and Delegate: the name, its parameters, its type and clauses
/// (Handles, Implements), and a body that the matching End closes unless it has none.
void VbRecogniser::methodDecl(size_t p, SymbolKind kind, bool bodyless) {
  const std::string closer = folded(tok(p).text);
  const size_t k = p + 1;
  const NameId scope = top().scope;
  if (!name(k) && !kw(k, V::New)) {
    uses(k, end_of_);
    return;
  }
  const std::uint32_t def = add(k, kind, scope, 0, none);
  const size_t mark = shadowed_.size();
  push(Ctx::Body, closer, scope, def, mark);
  size_t j = k + 1;
  if (op(j, "(") && kw(j + 1, V::Of)) j = parameters(j, def, false);
  while (!atEnd(j) && !op(j, "(")) ++j;  // Lib "x" Alias "y"
  if (op(j, "(")) j = parameters(j, def, true);
  uses(j, end_of_);
  if (bodyless) {
    popLocals(mark);
    stack_.pop_back();
  }
}

/// The parameter list opening at `open`: parameters of `function` ("ByVal x As T = d"),
/// or only uses. Returns the token after its ")".
size_t VbRecogniser::parameters(size_t open, std::uint32_t function, bool define) {
  size_t j = open + 1;
  bool expecting = true;
  int depth = 0;
  while (!atEnd(j)) {
    if (expecting && depth == 0) {
      expecting = false;
      while (kw(j, V::Plain) || kw(j, V::Modifier)) ++j;  // ByVal, Optional, ParamArray
      if (op(j, "<")) {
        while (!atEnd(j) && !op(j, ">")) ++j;
        ++j;
        while (kw(j, V::Plain) || kw(j, V::Modifier)) ++j;
      }
      if (name(j) && define && function != none) {
        size_t n = j + 1;
        bool array = false;
        if (op(n, "(") && op(n + 1, ")")) {
          n += 2;
          array = true;
        }
        if (op(n, "?")) ++n;
        NameId type = 0;
        const size_t after = asClause(n, &type);
        if (array && type != 0) type = scan_.intern(scan_.names[type] + "[]");
        defineLocal(j, SymbolKind::Parameter, type);
        j = after;
        continue;
      }
    }
    if (op(j, "(")) ++depth;
    if (op(j, ")") && depth-- == 0) return j + 1;
    if (op(j, ",") && depth == 0) expecting = true;
    if (name(j)) use(j, Role::Read);
    ++j;
  }
  return j;
}

void VbRecogniser::propertyDecl(size_t p, bool bodyless) {
  const size_t k = p + 1;
  const NameId scope = top().scope;
  if (!name(k)) return uses(k, end_of_);
  const std::uint32_t def = add(k, SymbolKind::Property, scope, 0, none);
  const size_t mark = shadowed_.size();
  push(Ctx::Accessors, "property", scope, def, mark);
  size_t j = k + 1;
  if (op(j, "(")) j = parameters(j, def, true);
  NameId type = 0;
  j = asClause(j, &type);
  scan_.records[def].qualifier = type;
  memberTypes_[memberKey(scope, fold(tok(k).name))] = type;
  uses(j, end_of_);
  if (bodyless || !accessorFollows(end_of_)) {  // declared only, or an auto-property
    popLocals(mark);
    stack_.pop_back();
  }
}

void VbRecogniser::eventDecl(size_t p, bool custom) {
  const size_t k = p + 1;
  const NameId scope = top().scope;
  if (!name(k)) return uses(k, end_of_);
  const std::uint32_t def = add(k, SymbolKind::Event, scope, 0, none);
  const size_t mark = shadowed_.size();
  push(Ctx::Accessors, "event", scope, def, mark);
  size_t j = k + 1;
  if (op(j, "(")) j = parameters(j, def, true);
  NameId type = 0;
  j = asClause(j, &type);
  scan_.records[def].qualifier = type;
  uses(j, end_of_);
  popLocals(mark);
  if (!custom) stack_.pop_back();
}

/// "a, b As T, c As New U(1), d = e": fields, constants or locals with their types.
void VbRecogniser::declarators(size_t p, SymbolKind kind) {
  std::vector<std::uint32_t> untyped;  // names that take the type of the next As
  while (!atEnd(p)) {
    if (!name(p)) {
      ++p;
      continue;
    }
    const size_t at = p;
    std::uint32_t record;
    if (kind == SymbolKind::Local || (kind == SymbolKind::Constant && top().function != none)) {
      if (top().function == none) return uses(p, end_of_);
      defineLocal(at, SymbolKind::Local, 0);
      record = locals_[fold(tok(at).name)];
    } else {
      record = add(at, kind, top().scope, 0, none);
    }
    ++p;
    bool array = false;
    if (op(p, "(")) {  // array bounds
      array = true;
      for (int depth = 0; !atEnd(p); ++p) {
        if (op(p, "(")) ++depth;
        if (name(p)) use(p, Role::Read);
        if (op(p, ")") && --depth == 0) {
          ++p;
          break;
        }
      }
    }
    if (op(p, "?")) ++p;
    NameId type = 0;
    const bool made = kw(p, V::As) && kw(p + 1, V::New);
    p = asClause(p, &type);
    if (array && type != 0) type = scan_.intern(scan_.names[type] + "[]");
    if (op(p, "=") && kw(p + 1, V::New)) p = readType(p + 2, &type);  // Dim x = New T()
    untyped.push_back(record);
    if (type != 0 || kw(p - 1, V::Type) || made) {
      for (std::uint32_t r : untyped) {
        scan_.records[r].qualifier = type;
        if (kind != SymbolKind::Local) memberTypes_[memberKey(top().scope, fold(scan_.records[r].name))] = type;
      }
      untyped.clear();
    }
    // An initializer or constructor arguments, to the next "," outside brackets.
    for (int depth = 0; !atEnd(p) && !(depth == 0 && op(p, ",")); ++p) {
      if (op(p, "(") || op(p, "{")) ++depth;
      if ((op(p, ")") || op(p, "}")) && depth > 0) --depth;
      if (op(p, "=")) untyped.clear();
      const size_t after = lambda(p);
      if (after != p)
        p = after - 1;
      else if (name(p))
        use(p, Role::Read);
    }
    if (op(p, ",")) ++p;
  }
}

/// Any statement of a body: a few that declare (For, For Each, Using, Catch with "As"),
/// With, and the rest, whose names are uses; the name that a statement assigns is
/// written, the one it starts with and calls is called. A lambda whose statement ends
/// after its parameters opens a block of its own.
void VbRecogniser::bodyStatement(size_t p) {
  if (kw(p, V::Call) || kw(p, V::Set)) ++p;
  if ((kw(p, V::For) || kw(p, V::Using) || kw(p, V::Catch)) && !kw(p + 1, V::Each)) {
    if (name(p + 1) && kw(p + 2, V::As)) return declarators(p + 1, SymbolKind::Local);
  }
  if (kw(p, V::For) && kw(p + 1, V::Each) && name(p + 2) && kw(p + 3, V::As)) {
    NameId type = 0;
    const size_t after = asClause(p + 3, &type);
    defineLocal(p + 2, SymbolKind::Local, type);
    return uses(after, end_of_);
  }
  if (kw(p, V::With)) {
    NameId type = 0;
    if (name(p + 1) && atEnd(p + 2)) {
      auto found = locals_.find(fold(tok(p + 1).name));
      if (found != locals_.end()) type = scan_.records[found->second].qualifier;
      auto field = memberTypes_.find(memberKey(top().scope, fold(tok(p + 1).name)));
      if (found == locals_.end() && field != memberTypes_.end()) type = field->second;
    }
    withTypes_.push_back(type);
    return uses(p + 1, end_of_);
  }
  // A statement that starts with a name, a "." chain or Me.: an assignment or a call.
  size_t j = p;
  if (kw(j, V::Me) || kw(j, V::MyBase)) ++j;
  if (op(j, ".")) ++j;
  if (name(j) && (j == p || op(j - 1, "."))) {
    while (op(j + 1, ".") && name(j + 2)) j += 2;
    const VbToken& next = tok(j + 1);
    const bool assigns = next.type == VbToken::Punct && next.text.back() == '=' && next.text != "<=" &&
                         next.text != ">=" && next.text != ":=";
    bool indexed = false;  // a(1) = x writes an element of a; Foo(1) calls Foo
    if (next.is("(")) {
      size_t close = j + 1;
      for (int depth = 0; !atEnd(close); ++close) {
        if (op(close, "(")) ++depth;
        if (op(close, ")") && --depth == 0) break;
      }
      indexed = op(close + 1, "=");
    }
    if (assigns || indexed || atEnd(j + 1) || next.is("(")) {
      forced_ = j;
      forcedRole_ = assigns || indexed ? Role::Write : Role::Call;
    }
  }
  uses(p, end_of_);
}

}  // namespace

void scanVisualBasic(std::string_view text, FileScan& scan) {
  scan.caseInsensitive = true;
  VbRecogniser(lexVisualBasic(text, scan), scan).run();
}

}  // namespace quillon::xref
