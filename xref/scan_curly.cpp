// One pass over the tokens with a stack of what the braces opened: a namespace, a type's
// members, an enum's constants, a body of statements, or an expression that runs to its
// ";" (an initializer, an expression body). Declarations are told from the shape of the
// tokens at the start of a member or statement: a type, then a name, then what may follow
// a declared name. Every look ahead is bounded, so the pass stays linear.
#include "xref/scan_curly.h"

#include <string>
#include <unordered_map>

namespace quillon::xref {

namespace {

/// Lists of type arguments and tuple types are looked into at most this far.
constexpr size_t angleReach = 64;
/// A lambda's parameter list likewise.
constexpr size_t lambdaReach = 40;
/// A scope grows no longer than this (what nests deeper stays in it).
constexpr size_t longestScope = 1024;
/// A chain of names before a dot ("a.b.c.") is followed back this far.
constexpr int longestChain = 8;

/// A type as written at a place: from `begin` to `end` (the token after it).
struct TypeRef {
  size_t begin = 0, end = 0;
  size_t nameEnd = 0;    ///< the end of its dotted name, before type arguments
  bool ok = false;
  bool array = false;
  bool named = false;    ///< false for "var" and tuples, whose type is not known here
};

class Recogniser {
 public:
  Recogniser(std::vector<Token> tokens, FileScan& scan, CurlyLanguage language)
      : toks_(std::move(tokens)), scan_(scan), java_(language == CurlyLanguage::Java) {}

  void run();

 private:
  enum class Ctx : std::uint8_t { Scope, Type, Enum, Block, Expr, Args };
  struct Context {
    Ctx kind = Ctx::Scope;
    NameId scope = 0;
    NameId typeName = 0;  ///< of a type's members: the type's name (its constructors')
    std::uint32_t function = none;
    size_t localMark = 0;  ///< the locals seen before it, restored when it closes
    int parens = 0;
    // A declaration in progress ("int a = 1, b;"): what a name after "," declares.
    bool declaring = false;
    int declDepth = 0;
    SymbolKind declKind = SymbolKind::Local;
    NameId declType = 0;
  };

  const Token& tok(size_t j) const { return j < toks_.size() ? toks_[j] : end_; }
  bool op(size_t j, std::string_view o) const { return tok(j).is(o); }
  bool name(size_t j) const { return tok(j).type == Token::Name; }
  bool kw(size_t j, Kw k) const { return tok(j).type == Token::Keyword && tok(j).kw == k; }
  bool isDot(size_t j) const { return op(j, ".") || op(j, "?.") || (java_ && op(j, "::")); }
  bool lambdaArrow(size_t j) const { return op(j, "=>") || (java_ && op(j, "->")); }
  bool declarationEnd(size_t j) const {
    return op(j, "=") || op(j, ",") || op(j, ";") || op(j, ")");
  }
  Context& top() { return stack_.back(); }

  void push(Ctx kind, NameId scope, std::uint32_t function, size_t localMark);
  void pop();
  void defineLocal(NameId name, std::uint32_t record);
  void popLocals(size_t mark);
  NameId join(NameId scope, NameId name);
  NameId typeName(const TypeRef& type);
  std::uint32_t add(size_t j, SymbolKind kind, NameId scope, NameId qualifier,
                    std::uint32_t function);
  void addMember(size_t j, SymbolKind kind, NameId scope, NameId type);

  size_t skipAngles(size_t j) const;
  TypeRef readType(size_t j) const;
  void use(size_t j, NameId scope, std::uint32_t function);
  void uses(size_t from, size_t to, NameId scope, std::uint32_t function);
  void qualify(size_t dot, NameId scope, std::uint32_t function, Record& r);
  Role roleAt(size_t j) const;

  // Members of namespaces and types.
  void member();
  void namespaceDecl();
  void typeDecl(SymbolKind kind);
  void memberDecl(SymbolKind forced);
  void methodTail(std::uint32_t def);
  void parameters(std::uint32_t function, std::string_view close, SymbolKind kind, NameId defScope);
  void enumMember();
  void attribute();
  void annotation();

  // Statements and expressions.
  void body();
  void punctInBody();
  void keywordInBody();
  bool local(size_t j);
  bool lambda(size_t open);
  void declare(size_t j);

  std::vector<Token> toks_;
  const Token end_{};
  FileScan& scan_;
  const bool java_;
  std::vector<Context> stack_;
  size_t i_ = 0;
  // Where the statement stands: at its start, after a word that a declaration may follow
  // ("out", "is", "case"), after a word whose "(" opens one ("for", "catch", "using").
  bool stmt_ = false, declAfter_ = false, opens_ = false, const_ = false;
  // The parameters and locals in sight by name, and what each one hid.
  std::unordered_map<NameId, std::uint32_t> locals_;
  std::vector<std::pair<NameId, std::uint32_t>> shadowed_;
  // The declared types of this file's fields and properties, by scope and name.
  std::unordered_map<std::uint64_t, NameId> memberTypes_;
  std::unordered_map<NameId, NameId> baseOf_;  // a class's scope: the first base it names
};

std::uint64_t memberKey(NameId scope, NameId name) { return std::uint64_t{scope} << 32 | name; }

void Recogniser::push(Ctx kind, NameId scope, std::uint32_t function, size_t localMark) {
  Context c;
  c.kind = kind;
  c.scope = scope;
  c.function = function;
  c.localMark = localMark;
  stack_.push_back(c);
}

void Recogniser::pop() {
  if (stack_.size() <= 1) return;
  popLocals(stack_.back().localMark);
  stack_.pop_back();
}

void Recogniser::defineLocal(NameId name, std::uint32_t record) {
  auto [at, added] = locals_.try_emplace(name, record);
  shadowed_.push_back({name, added ? none : at->second});
  at->second = record;
}

void Recogniser::popLocals(size_t mark) {
  while (shadowed_.size() > mark) {
    const auto [name, hidden] = shadowed_.back();
    shadowed_.pop_back();
    if (hidden == none)
      locals_.erase(name);
    else
      locals_[name] = hidden;
  }
}

NameId Recogniser::join(NameId scope, NameId name) {
  if (scope == 0) return name;
  if (scan_.names[scope].size() > longestScope) return scope;  // nested past all sense
  return scan_.intern(scan_.names[scope] + "::" + scan_.names[name]);
}

/// The type as a qualifier: "Ns::T" for Ns.T<A>, "T[]" for an array of T, "int"; 0 for
/// one not known here.
NameId Recogniser::typeName(const TypeRef& type) {
  if (!type.named) return 0;
  std::string written(tok(type.begin).text);
  for (size_t p = type.begin + 2; p < type.nameEnd; p += 2) {
    written += "::";
    written += tok(p).text;
  }
  if (type.array) written += "[]";
  return scan_.intern(written);
}

std::uint32_t Recogniser::add(size_t j, SymbolKind kind, NameId scope, NameId qualifier,
                              std::uint32_t function) {
  Record r;
  r.name = tok(j).name;
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

void Recogniser::addMember(size_t j, SymbolKind kind, NameId scope, NameId type) {
  add(j, kind, scope, type, none);
  memberTypes_[memberKey(scope, tok(j).name)] = type;
}

size_t Recogniser::skipAngles(size_t j) const {
  if (!op(j, "<")) return j;
  int depth = 0;
  for (size_t p = j; p < toks_.size() && p < j + angleReach; ++p) {
    const Token& t = toks_[p];
    if (t.is("<")) {
      ++depth;
    } else if (t.is(">")) {
      if (--depth == 0) return p + 1;
    } else if (t.type == Token::Keyword) {
      if (t.kw != Kw::Type && t.kw != Kw::In && t.kw != Kw::Pattern && t.kw != Kw::Var) return j;
    } else if (t.type != Token::Name && !t.is(",") && !t.is(".") && !t.is("[") && !t.is("]") &&
               !t.is("?") && !t.is("(") && !t.is(")") && !t.is("::")) {
      return j;
    }
  }
  return j;
}

TypeRef Recogniser::readType(size_t j) const {
  TypeRef r;
  r.begin = j;
  const Token& t = tok(j);
  size_t p = j;
  if (t.type == Token::Keyword && (t.kw == Kw::Type || t.kw == Kw::Var)) {
    r.named = t.kw == Kw::Type;
    r.nameEnd = ++p;
  } else if (t.type == Token::Name) {
    r.named = true;
    ++p;
    while (op(p, ".") && name(p + 1)) p += 2;
    r.nameEnd = p;
    p = skipAngles(p);
  } else if (t.is("(") && !java_) {  // a tuple type: (int, string)
    int depth = 0;
    for (; p < toks_.size() && p < j + angleReach; ++p) {
      const Token& u = toks_[p];
      if (u.is("(")) ++depth;
      if (u.is(")") && --depth == 0) break;
      if (u.type == Token::Literal || u.is(";") || u.is("{") || u.is("}") || u.is("=")) return r;
    }
    if (!op(p, ")")) return r;
    ++p;
  } else {
    return r;
  }
  for (;;) {
    // "T?" but not the "?" of "a ? b : c".
    if ((op(p, "?") && !java_ && (name(p + 1) || op(p + 1, "[") || op(p + 1, ">"))) || op(p, "*")) {
      ++p;
      continue;
    }
    if (op(p, "[")) {
      size_t q = p + 1;
      while (op(q, ",")) ++q;
      if (op(q, "]")) {
        p = q + 1;
        r.array = true;
        continue;
      }
    }
    if (op(p, "...")) {
      ++p;
      r.array = true;
      continue;
    }
    break;
  }
  r.ok = true;
  r.end = p;
  return r;
}

Role Recogniser::roleAt(size_t j) const {
  const size_t next = j + 1;
  if (op(next, "(")) return Role::Call;
  if (op(next, "<")) {
    const size_t after = skipAngles(next);
    if (after != next && op(after, "(")) return Role::Call;
  }
  const Token& t = tok(next);
  if (t.type == Token::Punct && !t.text.empty() && t.text.back() == '=' && t.text != "==" &&
      t.text != "!=" && t.text != "<=" && t.text != ">=")
    return Role::Write;
  if (t.is("++") || t.is("--") || (j > 0 && (op(j - 1, "++") || op(j - 1, "--")))) return Role::Write;
  return Role::Read;
}

void Recogniser::use(size_t j, NameId scope, std::uint32_t function) {
  Record r;
  r.name = tok(j).name;
  r.scope = scope;
  r.line = tok(j).line;
  r.column = tok(j).column;
  r.function = function;
  if (j > 0 && isDot(j - 1)) {
    qualify(j - 1, scope, function, r);
  } else if (function != none) {
    auto found = locals_.find(r.name);
    if (found != locals_.end()) r.local = found->second;
  }
  r.role = roleAt(j);
  scan_.records.push_back(r);
}

void Recogniser::uses(size_t from, size_t to, NameId scope, std::uint32_t function) {
  for (size_t j = from; j < to && j < toks_.size(); ++j)
    if (name(j)) use(j, scope, function);
}

/// A member after "." (or Java's "::"): of the declared type of the variable before it,
/// of the class for "this.", or, after names that are no variable ("Math.", "Ns.T."), of
/// the type or namespace they write.
void Recogniser::qualify(size_t dot, NameId scope, std::uint32_t function, Record& r) {
  r.flags = AfterMember;
  if (dot == 0) return;
  const Token& before = tok(dot - 1);
  if (before.type == Token::Keyword && (before.kw == Kw::This || before.kw == Kw::Base)) {
    if (dot >= 2 && isDot(dot - 2)) return;
    if (before.kw == Kw::This) {
      r.qualifier = scope;
    } else {  // base.: the base class the file names, else the root of all classes
      auto base = baseOf_.find(scope);
      r.qualifier = base != baseOf_.end() ? base->second : scan_.intern(java_ ? "Object" : "object");
    }
    return;
  }
  if (before.type != Token::Name) return;
  size_t head = dot - 1;
  int parts = 1;
  while (head >= 2 && op(head - 1, ".") && name(head - 2) && parts < longestChain) {
    head -= 2;
    ++parts;
  }
  const bool afterThis = head >= 2 && op(head - 1, ".") && kw(head - 2, Kw::This);
  if (head >= 1 && isDot(head - 1) && !afterThis) return;  // after a call, an index: not known
  const NameId first = tok(head).name;
  if (function != none && !afterThis) {
    auto found = locals_.find(first);
    if (found != locals_.end()) {
      if (parts == 1) r.qualifier = scan_.records[found->second].qualifier;
      return;
    }
  }
  auto field = memberTypes_.find(memberKey(scope, first));
  if (field != memberTypes_.end() || afterThis) {  // a field: of its type, if this file says
    if (parts == 1 && field != memberTypes_.end()) r.qualifier = field->second;
    return;
  }
  std::string written(tok(head).text);
  for (size_t p = head + 2; p < dot; p += 2) {
    written += "::";
    written += tok(p).text;
  }
  r.flags = AfterScope;
  r.qualifier = scan_.intern(written);
}

// ---- Members of namespaces and types ----

void Recogniser::member() {
  const Token& t = tok(i_);
  const NameId scope = top().scope;
  if (t.type == Token::Punct) {
    const_ = false;
    if (t.is("}")) {
      pop();
      ++i_;
    } else if (t.is("[") && !java_) {
      attribute();
    } else if (t.is("@") && java_ && !kw(i_ + 1, Kw::Interface)) {
      annotation();
    } else if (t.is("=")) {  // a property's initializer
      ++i_;
      push(Ctx::Expr, scope, none, shadowed_.size());
    } else if (t.is("{")) {  // an initializer block
      ++i_;
      push(Ctx::Block, scope, none, shadowed_.size());
      stmt_ = true;
    } else if (t.is("<")) {  // a generic method's type parameters, written first in Java
      i_ = skipAngles(i_);
    } else if (t.is("~") && name(i_ + 1) && op(i_ + 2, "(")) {  // a destructor: its body only
      i_ += 2;
      methodTail(none);
    } else {
      ++i_;
    }
    return;
  }
  if (t.type == Token::Name) return memberDecl(SymbolKind::Unknown);
  if (t.type != Token::Keyword) return void(++i_);
  switch (t.kw) {
    case Kw::Const: const_ = true; ++i_; return;
    case Kw::Namespace:
    case Kw::Package: return namespaceDecl();
    case Kw::Using:
    case Kw::Import:
      while (i_ < toks_.size() && !op(i_, ";") && !op(i_, "{") && !op(i_, "}")) ++i_;
      return;
    case Kw::Class: return typeDecl(SymbolKind::Class);
    case Kw::Struct: return typeDecl(SymbolKind::Struct);
    case Kw::Interface: return typeDecl(SymbolKind::Interface);
    case Kw::Enum: return typeDecl(SymbolKind::Enum);
    case Kw::Record: {
      // "record" is a keyword only before a declaration's name.
      const size_t n = kw(i_ + 1, Kw::Class) || kw(i_ + 1, Kw::Struct) ? i_ + 2 : i_ + 1;
      if (name(n) && (op(n + 1, "(") || op(n + 1, "{") || op(n + 1, "<") || op(n + 1, ":") ||
                      kw(n + 1, Kw::Implements)))
        return typeDecl(SymbolKind::Record);
      return void(++i_);
    }
    case Kw::Delegate: ++i_; return memberDecl(SymbolKind::Delegate);
    case Kw::Event: ++i_; return memberDecl(SymbolKind::Event);
    case Kw::Type:
    case Kw::Var: return memberDecl(SymbolKind::Unknown);
    default: ++i_; return;  // modifiers and the like
  }
}

void Recogniser::namespaceDecl() {
  NameId scope = top().scope;
  size_t p = i_ + 1;
  while (name(p)) {
    add(p, SymbolKind::Namespace, scope, 0, none);
    scope = join(scope, tok(p).name);
    if (!op(p + 1, ".") || !name(p + 2)) {
      ++p;
      break;
    }
    p += 2;
  }
  i_ = p;
  if (op(p, "{")) {
    ++i_;
    push(Ctx::Scope, scope, none, shadowed_.size());
  } else if (op(p, ";")) {  // a file-scoped namespace, a package: the rest of the file
    ++i_;
    top().scope = scope;
  }
}

void Recogniser::typeDecl(SymbolKind kind) {
  const NameId outer = top().scope;
  size_t k = i_ + 1;
  if (kind == SymbolKind::Record && (kw(k, Kw::Class) || kw(k, Kw::Struct))) ++k;
  if (!name(k)) return void(i_ = k);
  const std::uint32_t def = add(k, kind, outer, 0, none);
  const NameId inner = join(outer, tok(k).name);
  i_ = skipAngles(k + 1);
  if (op(i_, "(")) {  // a record's parameters: its properties (C#), fields (Java)
    ++i_;
    parameters(none, ")", java_ ? SymbolKind::Field : SymbolKind::Property, inner);
  }
  bool inBases = false, atBase = false;
  while (i_ < toks_.size()) {
    if (op(i_, "{")) {
      ++i_;
      push(kind == SymbolKind::Enum ? Ctx::Enum : Ctx::Type, inner, none, shadowed_.size());
      top().typeName = tok(k).name;
      return;
    }
    if (op(i_, ";") || op(i_, "}")) {
      if (op(i_, ";")) ++i_;
      return;
    }
    if (op(i_, ":") || kw(i_, Kw::Extends) || kw(i_, Kw::Implements)) {
      inBases = atBase = kind != SymbolKind::Enum;
    } else if (kw(i_, Kw::Where)) {
      inBases = atBase = false;
    } else if (op(i_, ",")) {
      atBase = inBases;
    } else if (atBase) {
      atBase = false;
      const TypeRef base = readType(i_);
      if (base.ok && base.named && !base.array && name(base.begin)) {
        uses(i_, base.end, outer, none);
        scan_.bases.push_back({def, typeName(base)});
        baseOf_.emplace(inner, scan_.bases.back().base);  // the first: the class's base
        i_ = base.end;
        continue;
      }
    } else if (name(i_)) {
      use(i_, outer, none);
    }
    ++i_;
  }
}

/// A member that starts with a type (or is a constructor): a method, property, field,
/// constant, event or delegate, by what follows its name.
void Recogniser::memberDecl(SymbolKind forced) {
  const Context& c = top();
  const NameId scope = c.scope;
  const bool isConst = const_;
  const_ = false;
  const size_t j = i_;
  if (forced == SymbolKind::Unknown && name(j) && tok(j).name == c.typeName && op(j + 1, "(")) {
    const std::uint32_t def = add(j, SymbolKind::Function, scope, 0, none);
    i_ = j + 1;
    return methodTail(def);
  }
  const TypeRef type = readType(j);
  if (!type.ok) return;
  size_t k = type.end;
  if (kw(k, Kw::Operator) || kw(k, Kw::This)) {  // operators and indexers: bodies only
    uses(j, k, scope, none);
    size_t p = k + 1;
    while (p < k + 5 && !op(p, "(") && !op(p, "[") && !op(p, "{") && !op(p, ";")) ++p;
    i_ = p;
    if (op(p, "(") || op(p, "[")) methodTail(none);
    return;
  }
  if (kw(j, Kw::Operator)) {  // "implicit operator T(": the type comes after
    i_ = j + 1;
    return;
  }
  if (!name(k)) {
    uses(j, k, scope, none);
    i_ = k;
    return;
  }
  while (op(k + 1, ".") && name(k + 2)) k += 2;  // an interface's member: IFoo.Bar
  uses(j, k, scope, none);
  const size_t next = skipAngles(k + 1);
  const NameId typed = typeName(type);
  if (op(next, "(")) {
    const SymbolKind kind = forced == SymbolKind::Unknown ? SymbolKind::Function : forced;
    const std::uint32_t def = add(k, kind, scope, 0, none);
    i_ = next;
    return methodTail(def);
  }
  const SymbolKind kind = forced == SymbolKind::Event ? SymbolKind::Event
                          : isConst                  ? SymbolKind::Constant
                          : op(next, "{") || op(next, "=>") ? SymbolKind::Property
                                                            : SymbolKind::Field;
  if (op(next, "{") || op(next, "=>")) {  // a property (or event) with accessors
    add(k, kind, scope, typed, none);
    memberTypes_[memberKey(scope, tok(k).name)] = typed;
    const std::uint32_t def = static_cast<std::uint32_t>(scan_.records.size() - 1);
    i_ = next + 1;
    push(op(next, "{") ? Ctx::Block : Ctx::Expr, scope, def, shadowed_.size());
    stmt_ = true;
    return;
  }
  if (!declarationEnd(next) || forced == SymbolKind::Delegate) return void(i_ = next);
  addMember(k, kind, scope, typed);
  size_t p = k + 1;
  while (op(p, ",") && name(p + 1) && declarationEnd(p + 2) && !op(p + 2, ")")) {
    addMember(p + 1, kind, scope, typed);
    p += 2;
  }
  i_ = p;
  if (op(p, "=")) {
    ++i_;
    push(Ctx::Expr, scope, none, shadowed_.size());
    Context& init = top();
    init.declaring = true;
    init.declKind = kind;
    init.declType = typed;
  }
}

/// From the "(" (or an indexer's "[") after a method's name: its parameters, what stands
/// between them and the body (base calls, constraints, throws), and the body.
void Recogniser::methodTail(std::uint32_t def) {
  const NameId scope = top().scope;
  const size_t mark = shadowed_.size();
  const std::string_view close = op(i_, "[") ? "]" : ")";
  ++i_;
  parameters(def, close, SymbolKind::Parameter, scope);
  while (i_ < toks_.size()) {
    if (op(i_, "{") || op(i_, "=>")) {
      const bool block = op(i_, "{");
      ++i_;
      push(block ? Ctx::Block : Ctx::Expr, scope, def, mark);
      stmt_ = true;
      return;
    }
    if (op(i_, "}")) break;
    if (op(i_, ";")) {
      ++i_;
      break;
    }
    if (name(i_)) use(i_, scope, def);
    ++i_;
  }
  popLocals(mark);
}

/// The parameters of a list up to `close`: parameters of `function` (none: uses only), or
/// a record's members of `kind` in `defScope`.
void Recogniser::parameters(std::uint32_t function, std::string_view close, SymbolKind kind,
                            NameId defScope) {
  const NameId scope = top().scope;
  int depth = 0;
  bool expecting = true;
  while (i_ < toks_.size()) {
    if (expecting && depth == 0) {
      expecting = false;
      while (kw(i_, Kw::Modifier) || kw(i_, Kw::Pattern) || kw(i_, Kw::In) || kw(i_, Kw::This) ||
             op(i_, "[") || op(i_, "@")) {
        if (op(i_, "["))
          attribute();
        else if (op(i_, "@"))
          annotation();
        else
          ++i_;
      }
      const TypeRef type = readType(i_);
      const size_t n = type.end;
      if (type.ok && name(n) &&
          (op(n + 1, ",") || op(n + 1, close) || op(n + 1, "=") || op(n + 1, "["))) {
        uses(i_, n, scope, function);
        if (kind != SymbolKind::Parameter)
          addMember(n, kind, defScope, typeName(type));
        else if (function != none)  // without a function (an operator's, an indexer's): unnamed
          defineLocal(tok(n).name, add(n, kind, defScope, typeName(type), function));
        i_ = n + 1;
        continue;
      }
    }
    const Token& t = tok(i_);
    if (t.type == Token::Punct) {
      if (depth == 0 && t.text == close) {
        ++i_;
        return;
      }
      if (t.is("{") || t.is(";") || t.is("}")) return;  // a broken list
      if (t.is("(") || t.is("[")) ++depth;
      if ((t.is(")") || t.is("]")) && depth > 0) --depth;
      if (t.is(",") && depth == 0) expecting = true;
    } else if (t.type == Token::Name) {
      use(i_, scope, function);
    }
    ++i_;
  }
}

void Recogniser::enumMember() {
  const Token& t = tok(i_);
  const NameId scope = top().scope;
  if (t.is("}")) {
    pop();
    ++i_;
  } else if (t.is(";")) {  // Java: the constants end, the members follow
    top().kind = Ctx::Type;
    ++i_;
  } else if (t.is("[") && !java_) {
    attribute();
  } else if (t.is("@") && java_) {
    annotation();
  } else if (t.is("{")) {  // a Java constant's own body
    ++i_;
    push(Ctx::Type, scope, none, shadowed_.size());
  } else if (t.is("(")) {  // a Java constant's arguments
    ++i_;
    push(Ctx::Args, scope, none, shadowed_.size());
  } else if (t.is("=")) {  // a C# member's value
    for (++i_; i_ < toks_.size() && !op(i_, ",") && !op(i_, "}") && !op(i_, ";") && !op(i_, "{"); ++i_)
      if (name(i_)) use(i_, scope, none);
  } else {
    if (t.type == Token::Name) add(i_, SymbolKind::Enumerator, scope, 0, none);
    ++i_;
  }
}

/// A C# attribute list "[...]": the names in it are uses.
void Recogniser::attribute() {
  const NameId scope = top().scope;
  int depth = 0;
  for (; i_ < toks_.size(); ++i_) {
    if (op(i_, "{") || op(i_, "}") || op(i_, ";")) return;
    if (op(i_, "[")) ++depth;
    if (op(i_, "]") && --depth <= 0) {
      ++i_;
      return;
    }
    if (name(i_)) use(i_, scope, top().function);
  }
}

/// A Java annotation "@Name" or "@Name(...)".
void Recogniser::annotation() {
  const NameId scope = top().scope;
  ++i_;
  while (name(i_)) {
    use(i_, scope, top().function);
    if (!op(i_ + 1, ".")) {
      ++i_;
      break;
    }
    i_ += 2;
  }
  if (op(i_, "(")) {
    ++i_;
    push(Ctx::Args, scope, top().function, shadowed_.size());
  }
}

// ---- Statements and expressions ----

void Recogniser::body() {
  const Token& t = tok(i_);
  if (t.type == Token::Punct) return punctInBody();
  if (t.type == Token::Keyword) return keywordInBody();
  if (t.type == Token::Literal) {
    ++i_;
    stmt_ = declAfter_ = opens_ = false;
    return;
  }
  const Context& c = top();
  if ((stmt_ || declAfter_) && local(i_)) return;
  stmt_ = declAfter_ = opens_ = false;
  if (lambdaArrow(i_ + 1) && c.function != none && !(i_ > 0 && isDot(i_ - 1))) {  // x => ...
    defineLocal(t.name, add(i_, SymbolKind::Local, c.scope, 0, c.function));
  } else {
    use(i_, c.scope, c.function);
  }
  ++i_;
}

void Recogniser::punctInBody() {
  Context& c = top();
  const Token& t = tok(i_);
  const bool opens = opens_;
  opens_ = declAfter_ = false;
  if (t.is("{")) {
    ++i_;
    push(Ctx::Block, c.scope, c.function, shadowed_.size());
    stmt_ = true;
  } else if (t.is("}")) {
    if (c.kind == Ctx::Block) ++i_;  // an expression left open ends with the block around it
    pop();
    stmt_ = true;
  } else if (t.is(";")) {
    ++i_;
    stmt_ = true;
    if (c.kind == Ctx::Expr && c.parens == 0) return pop();
    c.declaring = false;
  } else if (t.is("(")) {
    if (lambda(i_)) return;
    ++c.parens;
    ++i_;
    stmt_ = opens;
  } else if (t.is(")") || t.is("]")) {
    ++i_;
    stmt_ = false;
    if (c.kind == Ctx::Args && c.parens == 0) return pop();
    if (c.parens > 0) --c.parens;
    if (c.declaring && c.parens < c.declDepth) c.declaring = false;
  } else if (t.is(",") && c.declaring && c.parens == c.declDepth && name(i_ + 1) &&
             declarationEnd(i_ + 2)) {
    declare(i_ + 1);
    i_ += 2;
    stmt_ = false;
  } else {
    if (t.is("[")) ++c.parens;
    stmt_ = t.is(":") && c.parens == 0;  // after a label or a case
    ++i_;
  }
}

void Recogniser::keywordInBody() {
  const Token& t = tok(i_);
  switch (t.kw) {
    case Kw::Type:
    case Kw::Var:
      if ((stmt_ || declAfter_) && local(i_)) return;
      break;
    case Kw::Modifier:
    case Kw::Const: ++i_; return;  // "final int x", "const int n": still a declaration's start
    case Kw::Pattern:
      ++i_;
      stmt_ = opens_ = false;
      declAfter_ = true;
      return;
    case Kw::OpensDeclaration:
    case Kw::Using:
      ++i_;
      opens_ = true;
      stmt_ = stmt_ && t.kw == Kw::Using;  // "using var f = ..."
      declAfter_ = false;
      return;
    case Kw::Statement:
      ++i_;
      stmt_ = true;
      declAfter_ = opens_ = false;
      return;
    default: break;
  }
  ++i_;
  stmt_ = declAfter_ = opens_ = false;
}

/// A local's declaration at `j` ("Shape s =", "var x in", "out int n)", "is Circle c &&"):
/// its type's names are uses, its name a local of the function. False when it is none.
bool Recogniser::local(size_t j) {
  const Context& c = top();
  if (c.function == none) return false;
  const TypeRef type = readType(j);
  const size_t k = type.end;
  if (!type.ok || !name(k)) return false;
  const Token& after = tok(k + 1);
  bool ends = declarationEnd(k + 1) || kw(k + 1, Kw::In) || (op(k + 1, ":") && (java_ || declAfter_));
  if (declAfter_)
    ends = ends || after.is("&&") || after.is("||") || after.is("?") || after.is("]") ||
           after.is("}") || (after.type == Token::Keyword && after.text == "when");
  if (!ends) return false;
  uses(j, k, c.scope, c.function);
  NameId qualifier = typeName(type);
  if (kw(j, Kw::Var) && op(k + 1, "=") && kw(k + 2, Kw::New)) {  // var s = new Shape(...)
    const TypeRef made = readType(k + 3);
    if (made.ok) qualifier = typeName(made);
  }
  defineLocal(tok(k).name, add(k, SymbolKind::Local, c.scope, qualifier, c.function));
  Context& d = top();
  d.declaring = true;
  d.declDepth = d.parens;
  d.declKind = SymbolKind::Local;
  d.declType = qualifier;
  i_ = k + 1;
  stmt_ = declAfter_ = opens_ = false;
  return true;
}

/// At a "(": a lambda's parameter list "(a, b) =>", "(int a, string b) =>" defines them.
bool Recogniser::lambda(size_t open) {
  const Context& c = top();
  if (c.function == none || op(open + 1, ")")) return false;
  const auto walk = [&](bool define) -> size_t {
    size_t p = open + 1;
    while (p < open + lambdaReach) {
      while (kw(p, Kw::Pattern) || kw(p, Kw::Modifier) || kw(p, Kw::In)) ++p;
      const TypeRef type = readType(p);
      if (!type.ok) return 0;
      const bool typed = name(type.end);
      if (!typed && !(name(p) && type.end == p + 1)) return 0;
      const size_t at = typed ? type.end : p;
      if (define) {
        if (typed) uses(p, at, c.scope, c.function);
        const NameId qualifier = typed ? typeName(type) : 0;
        defineLocal(tok(at).name, add(at, SymbolKind::Local, c.scope, qualifier, c.function));
      }
      p = at + 1;
      if (op(p, ")")) return lambdaArrow(p + 1) ? p + 1 : 0;
      if (!op(p, ",")) return 0;
      ++p;
    }
    return 0;
  };
  const size_t after = walk(false);
  if (after == 0) return false;
  walk(true);
  i_ = after;
  stmt_ = false;
  return true;
}

/// Another name of the declaration in progress, after its ",".
void Recogniser::declare(size_t j) {
  const Context& c = top();
  if (c.declKind != SymbolKind::Local) return addMember(j, c.declKind, c.scope, c.declType);
  if (c.function == none) return;
  defineLocal(tok(j).name, add(j, SymbolKind::Local, c.scope, c.declType, c.function));
}

void Recogniser::run() {
  stack_.push_back(Context{});
  while (i_ < toks_.size()) {
    const size_t before = i_, depth = stack_.size();
    switch (top().kind) {
      case Ctx::Scope:
      case Ctx::Type: member(); break;
      case Ctx::Enum: enumMember(); break;
      default: body(); break;
    }
    if (i_ == before && stack_.size() == depth) ++i_;  // whatever the text, the pass moves on
  }
}

}  // namespace

void scanCurly(std::string_view text, FileScan& scan, CurlyLanguage language) {
  Recogniser(lexCurly(text, language, scan), scan, language).run();
}

}  // namespace quillon::xref
