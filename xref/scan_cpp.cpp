// The C and C++ scan of the cross-references: the tokens of the file (xref/cpp_tokens.h)
// read once by a light recogniser. At namespace, class and file level it reads one
// declaration at a time (to its ";" or its body's "{") and tells namespaces, classes,
// enums, functions, variables, fields and typedefs apart by their shape; in a function's
// body it reads statements, finding the locals a statement starts with. Every other
// identifier is a use. When a shape is not clear the names are left as uses, and a use
// the scan cannot place is left to the merge: a record too few is better than a wrong one.
#include <algorithm>
#include <string>
#include <unordered_map>

#include "xref/cpp_tokens.h"
#include "xref/scan.h"

namespace quillon::xref {

namespace {

using cpp::op;
using cpp::Token;
using cpp::TokenKind;

constexpr size_t npos = static_cast<size_t>(-1);
/// Frames are opened this deep; deeper braces are only counted.
constexpr size_t deepestFrame = 512;
/// How far a template argument list is looked for.
constexpr size_t longestAngles = 256;

enum class FrameKind : std::uint8_t { File, Namespace, Extern, Class, Enum, Function, Block, Init };

/// Where code stands: what its uses carry.
struct Context {
  NameId scope = 0;
  std::uint32_t function = none;
  std::string thisPath;  ///< the class of the member function around it: for "this->"
  bool body = false;     ///< in a function's body (or its head): locals are looked up
};

struct Frame {
  FrameKind kind = FrameKind::File;
  NameId path = 0;       ///< what its members' records carry as their scope
  std::string pathText;  ///< the same as text
  Context context;
  bool fileLocal = false;
  // Classes and enums: for the declarators after the closing brace.
  SymbolKind classKind = SymbolKind::Unknown;
  NameId typeName = 0;
  std::uint32_t firstRecord = 0;
  bool anonymous = false, typedefAfter = false, staticAfter = false;
  NameId outerPath = 0;
  std::string outerText;
  bool enumItem = true;  ///< enums: the next identifier names an enumerator
  // Bodies: the declaration a statement started, for its further declarators.
  bool declaring = false;
  int declParens = 0;
  NameId declType = 0;
  int parens = 0;
  size_t templateMark = 0;
};

/// A quick hash for the short names of a file (FNV-1a).
struct NameHash {
  size_t operator()(std::string_view s) const {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};

struct Local {
  std::string_view name;
  std::uint32_t record;
  NameId type;
  size_t frame;
};

/// What the words before a declaration say.
struct Specifiers {
  bool isTypedef = false, isStatic = false, isExtern = false, isFriend = false;
};

class CppScanner {
 public:
  CppScanner(std::string_view text, FileScan& scan) : text_(text), scan_(scan) {}
  void run();

 private:
  // Tokens.
  bool isOp(size_t i, std::uint32_t o) const {
    return i < toks_.size() && toks_[i].kind == TokenKind::Punctuator && toks_[i].op == o;
  }
  std::string_view textOf(const Token& t) const { return text_.substr(t.begin, t.size); }
  bool isWord(size_t i, std::string_view w) const {
    return i < toks_.size() && toks_[i].kind == TokenKind::Identifier && textOf(toks_[i]) == w;
  }
  bool isName(size_t i) const {
    return i < toks_.size() && toks_[i].kind == TokenKind::Identifier && !(toks_[i].flags & cpp::Keyword);
  }
  bool isTemplateName(std::string_view name) const;
  size_t matching(size_t i) const {
    return i < match_.size() && match_[i] != none ? match_[i] : npos;
  }
  void matchBrackets();
  size_t skipAngles(size_t i, size_t end) const;
  size_t openingAngle(size_t close, size_t begin) const;

  // Records.
  NameId intern(std::string_view name);
  std::uint32_t add(const Token& t, SymbolKind kind, Role role, NameId scope, NameId qualifier,
                    std::uint32_t function, std::uint8_t flags);
  void use(const std::vector<Token>& v, size_t i, const Context& context);
  NameId memberQualifier(const std::vector<Token>& v, size_t dot, const Context& context);
  void uses(size_t begin, size_t end, const Context& context);
  void giveLaterFields(const Frame& closed);
  const Local* findLocal(std::string_view name) const;
  void addLocal(size_t nameToken, SymbolKind kind, NameId type, const Context& context, size_t frame);
  NameId typeOf(size_t begin, size_t end);
  std::string chainBefore(size_t name, size_t begin, size_t* first) const;
  NameId join(const std::string& path, std::string_view name, std::string* text = nullptr);

  // Frames.
  Frame& frame() { return frames_.back(); }
  Frame* push(FrameKind kind);
  size_t close(size_t i);
  void popLocals(size_t frame);

  // Namespace, class and file level.
  size_t declaration(size_t i);
  size_t head(size_t b, size_t e, bool body);
  size_t templateParameters(size_t i, size_t e);
  void templateParameter(size_t begin, size_t end);
  void bases(size_t begin, size_t end, std::uint32_t record);
  size_t namespaceHead(size_t b, size_t k, size_t e, bool body);
  size_t usingDeclaration(size_t b, size_t k, size_t e, bool body);
  size_t classHead(size_t b, size_t k, size_t e, bool body, const Specifiers& s, bool* handled);
  size_t simpleDeclaration(size_t b, size_t k, size_t e, bool body, const Specifiers& s);
  size_t functionDeclaration(size_t b, size_t k, size_t name, size_t open, size_t e, bool body,
                             const Specifiers& s, bool isOperator);
  bool functionTail(size_t i, size_t e, bool body) const;
  void parameters(size_t open, size_t close, bool define, const Context& context, size_t frame);
  void parameter(size_t begin, size_t end, bool define, const Context& context, size_t frame);
  size_t pointerName(size_t begin, size_t end) const;
  void variables(size_t b, size_t k, size_t e, const Specifiers& s);
  size_t declaratorsAfter(size_t i, const Frame& closed);
  size_t enumerator(size_t i);

  // Bodies.
  size_t statementToken(size_t i);
  bool startsInitializer(size_t brace) const;
  size_t localDeclaration(size_t i);
  size_t declarator(size_t i);

  // Preprocessor lines.
  void directives();
  void directive(size_t begin, size_t end);

  std::string_view text_;
  FileScan& scan_;
  cpp::Tokens tokens_;
  std::vector<Token>& toks_ = tokens_.code;
  std::vector<std::uint32_t> match_;
  std::vector<std::uint8_t> skip_;  ///< tokens that are no use (definitions' names...)
  std::vector<Frame> frames_;
  size_t overflow_ = 0;  ///< braces opened past the deepest frame
  bool statement_ = true;
  std::vector<std::string_view> templateNames_;
  std::vector<Local> locals_;
  std::unordered_map<std::string_view, std::vector<std::uint32_t>, NameHash> localsByName_;
  std::unordered_map<std::string, NameId> fields_;  ///< "class\nfield" -> its type
  /// Uses after "field." in a class's inline member functions, of a field not seen yet:
  /// given its type when the class closes.
  struct LaterField {
    std::uint32_t record;
    NameId classPath;
    std::string_view field;
  };
  std::vector<LaterField> laterFields_;
  std::unordered_map<std::string_view, NameId, NameHash> ids_;
};

// ---------------------------------------------------------------------------------------
// Tokens

void CppScanner::matchBrackets() {
  match_.assign(toks_.size(), static_cast<std::uint32_t>(none));
  std::vector<std::uint32_t> open;
  for (std::uint32_t i = 0; i < toks_.size(); ++i) {
    const Token& t = toks_[i];
    if (t.kind != TokenKind::Punctuator) continue;
    if (t.op == '(' || t.op == '[' || t.op == '{') {
      open.push_back(i);
    } else if (t.op == ')' || t.op == ']' || t.op == '}') {
      const std::uint32_t want = t.op == ')' ? '(' : t.op == ']' ? '[' : '{';
      if (!open.empty() && toks_[open.back()].op == want) {
        match_[open.back()] = i;
        match_[i] = open.back();
        open.pop_back();
      } else if (t.op == '}') {
        // A brace closes the parentheses left open inside it.
        while (!open.empty() && toks_[open.back()].op != '{') open.pop_back();
        if (!open.empty()) {
          match_[open.back()] = i;
          match_[i] = open.back();
          open.pop_back();
        }
      }
    }
  }
}


size_t CppScanner::skipAngles(size_t i, size_t end) const {
  int depth = 0;
  const size_t limit = std::min(end, i + longestAngles);
  for (size_t t = i; t < limit; ++t) {
    const Token& u = toks_[t];
    if (u.kind != TokenKind::Punctuator) continue;
    switch (u.op) {
      case '<': ++depth; break;
      case '>':
        if (--depth <= 0) return t + 1;
        break;
      case op(">>"):
        depth -= 2;
        if (depth <= 0) return t + 1;
        break;
      case '(': case '[': {
        const size_t m = matching(t);
        if (m == npos || m >= limit) return npos;
        t = m;
        break;
      }
      case ';': case '{': case '}': case ')': case ']': return npos;
      default: break;
    }
  }
  return npos;
}

size_t CppScanner::openingAngle(size_t close, size_t begin) const {
  int depth = 0;
  for (size_t t = close; t >= begin && close - t < longestAngles; --t) {
    const Token& u = toks_[t];
    if (u.kind == TokenKind::Punctuator) {
      if (u.op == '>') ++depth;
      else if (u.op == op(">>")) depth += 2;
      else if (u.op == '<' && --depth == 0) return t;
      else if (u.op == ';' || u.op == '{' || u.op == '}') return npos;
    }
    if (t == 0) break;
  }
  return npos;
}

bool CppScanner::isTemplateName(std::string_view name) const {
  for (std::string_view n : templateNames_)
    if (n == name) return true;
  return false;
}

// ---------------------------------------------------------------------------------------
// Records

NameId CppScanner::intern(std::string_view name) {
  // Names cut from the text are looked up by their view; built names go to the scan.
  const bool inText = name.data() >= text_.data() && name.data() + name.size() <= text_.data() + text_.size();
  if (!inText) return scan_.intern(name);
  auto found = ids_.find(name);
  if (found != ids_.end()) return found->second;
  const NameId id = scan_.intern(name);
  ids_.emplace(name, id);
  return id;
}

NameId CppScanner::join(const std::string& path, std::string_view name, std::string* text) {
  std::string joined = path.empty() ? std::string(name) : path + "::" + std::string(name);
  const NameId id = scan_.intern(joined);
  if (text) *text = std::move(joined);
  return id;
}

std::uint32_t CppScanner::add(const Token& t, SymbolKind kind, Role role, NameId scope, NameId qualifier,
                              std::uint32_t function, std::uint8_t flags) {
  Record r;
  r.name = intern(textOf(t));
  r.scope = scope;
  r.qualifier = qualifier;
  r.line = t.line;
  r.column = t.column;
  r.function = function;
  r.kind = kind;
  r.role = role;
  r.flags = flags;
  scan_.records.push_back(r);
  return static_cast<std::uint32_t>(scan_.records.size() - 1);
}

const Local* CppScanner::findLocal(std::string_view name) const {
  auto found = localsByName_.find(name);
  if (found == localsByName_.end() || found->second.empty()) return nullptr;
  return &locals_[found->second.back()];
}

void CppScanner::addLocal(size_t nameToken, SymbolKind kind, NameId type, const Context& context, size_t frame) {
  const Token& t = toks_[nameToken];
  const std::uint32_t record = add(t, kind, Role::Definition, context.scope, type, context.function, 0);
  skip_[nameToken] = 1;
  const std::string_view name = textOf(t);
  localsByName_[name].push_back(static_cast<std::uint32_t>(locals_.size()));
  locals_.push_back({name, record, type, frame});
}

void CppScanner::popLocals(size_t frame) {
  while (!locals_.empty() && locals_.back().frame >= frame) {
    auto found = localsByName_.find(locals_.back().name);
    if (found != localsByName_.end() && !found->second.empty()) found->second.pop_back();
    locals_.pop_back();
  }
}

NameId CppScanner::memberQualifier(const std::vector<Token>& v, size_t dot, const Context& context) {
  if (dot == 0) return 0;
  const Token& b = v[dot - 1];
  if (b.kind != TokenKind::Identifier) return 0;
  if (dot >= 2 && v[dot - 2].kind == TokenKind::Punctuator &&
      (v[dot - 2].op == '.' || v[dot - 2].op == op("->") || v[dot - 2].op == op("::")))
    return 0;
  const std::string_view name = textOf(b);
  if (b.flags & cpp::Keyword)
    return name == "this" && !context.thisPath.empty() ? scan_.intern(context.thisPath) : 0;
  if (context.body)
    if (const Local* l = findLocal(name)) return l->type;
  if (!context.thisPath.empty() && !fields_.empty()) {
    auto found = fields_.find(context.thisPath + '\n' + std::string(name));
    if (found != fields_.end()) return found->second;
  }
  return 0;
}

bool isAssignment(std::uint32_t o) {
  switch (o) {
    case '=': case op("+="): case op("-="): case op("*="): case op("/="): case op("%="):
    case op("&="): case op("|="): case op("^="): case op("<<="): case op(">>="):
      return true;
    default:
      return false;
  }
}

void CppScanner::use(const std::vector<Token>& v, size_t i, const Context& context) {
  const Token& t = v[i];
  if (t.kind != TokenKind::Identifier || (t.flags & cpp::Keyword)) return;
  if (&v == &toks_ && skip_[i]) return;
  const std::string_view name = textOf(t);
  if (isTemplateName(name)) return;
  auto opAt = [&](size_t j) -> std::uint32_t {
    return j < v.size() && v[j].kind == TokenKind::Punctuator ? v[j].op : 0;
  };
  const std::uint32_t before = i > 0 ? opAt(i - 1) : 0, after = opAt(i + 1);
  std::uint8_t flags = 0;
  NameId qualifier = 0;
  std::uint32_t local = none;
  if (before == '.' || before == op("->")) {
    flags = AfterMember;
    qualifier = memberQualifier(v, i - 1, context);
  } else if (before == op("::")) {
    flags = AfterScope;
    std::string written;
    for (size_t j = i - 1; j > 0;) {
      const Token& b = v[j - 1];
      if (b.kind == TokenKind::Identifier && !(b.flags & cpp::Keyword)) {
        if (isTemplateName(textOf(b))) return;
        written = written.empty() ? std::string(textOf(b)) : std::string(textOf(b)) + "::" + written;
        if (j >= 2 && opAt(j - 2) == op("::")) {
          j -= 2;
          continue;
        }
        break;
      }
      // After template arguments, "decltype(...)" or a keyword the scope is not known.
      if (b.kind != TokenKind::Punctuator || b.op == '>' || b.op == ')' || b.op == op(">>")) return;
      break;
    }
    qualifier = scan_.intern(written);
  } else if (context.body) {
    if (const Local* l = findLocal(name)) local = l->record;
  }
  Role role = Role::Read;
  if (after == '(') role = Role::Call;
  else if (isAssignment(after) || after == op("++") || after == op("--")) role = Role::Write;
  else if ((before == op("++") || before == op("--")) && after != '.' && after != op("->") &&
           after != op("::") && after != '[')
    role = Role::Write;
  const std::uint32_t r = add(t, SymbolKind::Unknown, role, context.scope, qualifier, context.function, flags);
  scan_.records[r].local = local;
  if (flags == AfterMember && qualifier == 0 && &v == &toks_ && !context.thisPath.empty() && i >= 2 &&
      isName(i - 2) && !(i >= 3 && toks_[i - 3].kind == TokenKind::Punctuator &&
                         (toks_[i - 3].op == '.' || toks_[i - 3].op == op("->") || toks_[i - 3].op == op("::"))) &&
      !(context.body && findLocal(textOf(toks_[i - 2]))))
    laterFields_.push_back({r, scan_.intern(context.thisPath), textOf(toks_[i - 2])});
}

void CppScanner::giveLaterFields(const Frame& closed) {
  size_t kept = 0;
  for (const LaterField& later : laterFields_) {
    if (later.classPath != closed.path) {
      laterFields_[kept++] = later;
      continue;
    }
    auto found = fields_.find(closed.pathText + '\n' + std::string(later.field));
    if (found != fields_.end()) scan_.records[later.record].qualifier = found->second;
  }
  laterFields_.resize(kept);
}

void CppScanner::uses(size_t begin, size_t end, const Context& context) {
  end = std::min(end, toks_.size());
  for (size_t i = begin; i < end; ++i)
    if (toks_[i].kind == TokenKind::Identifier && !skip_[i]) use(toks_, i, context);
}

NameId CppScanner::typeOf(size_t begin, size_t end) {
  NameId found = 0;
  for (size_t t = begin; t < end;) {
    const Token& u = toks_[t];
    if (u.kind == TokenKind::Punctuator && (u.op == '(' || u.op == '[' || u.op == '{')) {
      const size_t m = matching(t);
      if (m == npos || m >= end) break;
      t = m + 1;
      continue;
    }
    if (u.kind == TokenKind::Identifier && (u.flags & cpp::TypeWord)) {
      found = textOf(u) == "auto" ? 0 : intern(textOf(u));
      ++t;
      continue;
    }
    if (!isName(t)) {
      ++t;
      continue;
    }
    std::string chain(textOf(u));
    const bool templated = isTemplateName(chain);
    for (++t;;) {
      if (isOp(t, '<')) {
        const size_t a = skipAngles(t, end);
        if (a == npos) break;
        t = a;
      }
      if (t + 1 < end && isOp(t, op("::")) && isName(t + 1)) {
        chain += "::";
        chain += textOf(toks_[t + 1]);
        t += 2;
        continue;
      }
      break;
    }
    found = templated ? 0 : scan_.intern(chain);
  }
  return found;
}

std::string CppScanner::chainBefore(size_t name, size_t begin, size_t* first) const {
  size_t q = name;
  std::string quals;
  if (q > begin && isOp(q - 1, '~')) --q;
  while (q >= begin + 2 && isOp(q - 1, op("::"))) {
    size_t p = q - 2;
    if (isOp(p, '>')) {
      const size_t a = openingAngle(p, begin);
      if (a == npos || a == begin || !isName(a - 1)) break;
      p = a - 1;
    }
    if (!isName(p) || isTemplateName(textOf(toks_[p]))) break;
    quals = quals.empty() ? std::string(textOf(toks_[p])) : std::string(textOf(toks_[p])) + "::" + quals;
    q = p;
  }
  *first = q;
  return quals;
}

// ---------------------------------------------------------------------------------------
// Frames

Frame* CppScanner::push(FrameKind kind) {
  if (frames_.size() >= deepestFrame) {
    ++overflow_;
    return nullptr;
  }
  Frame f;
  const Frame& up = frames_.back();
  f.kind = kind;
  f.path = up.path;
  f.pathText = up.pathText;
  f.context = up.context;
  f.fileLocal = up.fileLocal;
  f.templateMark = templateNames_.size();
  frames_.push_back(std::move(f));
  return &frames_.back();
}

size_t CppScanner::close(size_t i) {
  statement_ = true;
  if (overflow_ > 0) {
    --overflow_;
    return i + 1;
  }
  if (frames_.size() == 1) return i + 1;  // a brace that closes nothing
  popLocals(frames_.size() - 1);
  Frame closed = std::move(frames_.back());
  frames_.pop_back();
  if (templateNames_.size() > closed.templateMark) templateNames_.resize(closed.templateMark);
  if (closed.kind == FrameKind::Class) giveLaterFields(closed);
  if (closed.kind == FrameKind::Class || closed.kind == FrameKind::Enum) return declaratorsAfter(i + 1, closed);
  return i + 1;
}

// ---------------------------------------------------------------------------------------
// Namespace, class and file level

bool isAccessWord(std::string_view w) { return w == "public" || w == "private" || w == "protected"; }

size_t CppScanner::declaration(size_t i) {
  const Token& t = toks_[i];
  if (t.kind == TokenKind::Punctuator && t.op == ';') return i + 1;
  if (t.kind == TokenKind::Punctuator && t.op == '}') return close(i);
  const bool inClass = frame().kind == FrameKind::Class;
  if (inClass && t.kind == TokenKind::Identifier && isAccessWord(textOf(t)) && isOp(i + 1, ':')) return i + 2;
  int depth = 0;
  bool memberInitializers = false;  // after "A::A(...) :"
  for (size_t j = i; j < toks_.size(); ++j) {
    const Token& u = toks_[j];
    if (u.kind == TokenKind::Identifier) {
      // "public:" after a macro that wants no semicolon (Q_OBJECT).
      if (inClass && j > i && isAccessWord(textOf(u)) && isOp(j + 1, ':')) {
        uses(i, j, frame().context);
        return j;
      }
      continue;
    }
    if (u.kind != TokenKind::Punctuator) continue;
    switch (u.op) {
      case ';':
        head(i, j, false);
        return j + 1;
      case '}':
        uses(i, j, frame().context);
        return j;
      case '(': case '[': ++depth; break;
      case ')': case ']':
        if (depth > 0) --depth;
        break;
      case ':':
        if (depth == 0 && j > i && (isOp(j - 1, ')') || isWord(j - 1, "noexcept"))) memberInitializers = true;
        break;
      case '{': {
        // "member{value}" among a constructor's member initializers is no body.
        const bool initializer = memberInitializers && j > i && (isName(j - 1) || isOp(j - 1, '>'));
        if (depth == 0 && !initializer) {
          const size_t r = head(i, j, true);
          if (r != npos) return r;
        }
        const size_t m = matching(j);
        if (m == npos) {  // an initializer that never closes: read as one
          uses(i, j, frame().context);
          push(FrameKind::Init);
          return j + 1;
        }
        j = m;
        break;
      }
      default: break;
    }
  }
  uses(i, toks_.size(), frame().context);
  return toks_.size();
}

bool isSpecifierWord(std::string_view w) {
  return w == "inline" || w == "virtual" || w == "explicit" || w == "constexpr" || w == "consteval" ||
         w == "constinit" || w == "thread_local" || w == "register" || w == "mutable" || w == "export" ||
         w == "__inline" || w == "__inline__" || w == "__forceinline" || w == "_Noreturn" ||
         w == "_Thread_local" || w == "__extension__";
}

bool isAttributeWord(std::string_view w) {
  return w == "__attribute__" || w == "__attribute" || w == "__declspec" || w == "alignas" || w == "_Alignas";
}

size_t CppScanner::head(size_t b, size_t e, bool body) {
  Specifiers s;
  const size_t mark = templateNames_.size();
  const size_t framesBefore = frames_.size(), overflowBefore = overflow_;
  size_t k = b;
  while (k < e) {
    const Token& t = toks_[k];
    if (isOp(k, '[') && isOp(k + 1, '[')) {
      const size_t m = matching(k);
      if (m == npos || m >= e) break;
      k = m + 1;
      continue;
    }
    if (t.kind != TokenKind::Identifier) break;
    const std::string_view w = textOf(t);
    if (w == "template") {
      k = isOp(k + 1, '<') ? templateParameters(k + 1, e) : k + 1;
      continue;
    }
    if (w == "extern" && k + 1 < e && toks_[k + 1].kind == TokenKind::Literal) {
      k += 2;
      if (k == e && body) {
        push(FrameKind::Extern);
        return e + 1;
      }
      continue;
    }
    if ((isAttributeWord(w) || w == "explicit") && isOp(k + 1, '(')) {
      const size_t m = matching(k + 1);
      if (m == npos || m >= e) break;
      k = m + 1;
      continue;
    }
    if (w == "typedef") s.isTypedef = true;
    else if (w == "static") s.isStatic = true;
    else if (w == "extern") s.isExtern = true;
    else if (w == "friend") s.isFriend = true;
    else if (!isSpecifierWord(w)) break;
    ++k;
  }
  // Storage words after a macro ("API extern int x;").
  for (size_t t = k; t < e && !isOp(t, '(') && !isOp(t, '=') && !isOp(t, '{'); ++t) {
    if (toks_[t].kind != TokenKind::Identifier || !(toks_[t].flags & cpp::Keyword)) continue;
    const std::string_view w = textOf(toks_[t]);
    if (w == "extern") s.isExtern = true;
    else if (w == "static") s.isStatic = true;
    else if (w == "typedef") s.isTypedef = true;
  }
  size_t r = body ? npos : 0;
  bool handled = false;
  if (s.isFriend && !body) {  // names another scope's function or class: no member here
    uses(b, e, frame().context);
    handled = true;
  } else if (k < e && toks_[k].kind == TokenKind::Identifier) {
    const std::string_view w = textOf(toks_[k]);
    if (w == "namespace") {
      r = namespaceHead(b, k, e, body);
      handled = true;
    } else if (w == "using") {
      r = usingDeclaration(b, k, e, body);
      handled = true;
    } else if (w == "class" || w == "struct" || w == "union" || w == "enum") {
      r = classHead(b, k, e, body, s, &handled);
    }
  }
  if (!handled) r = simpleDeclaration(b, k, e, body, s);
  if (frames_.size() > framesBefore) frames_.back().templateMark = mark;
  else if (templateNames_.size() > mark) templateNames_.resize(mark);
  if (body && r == npos && (frames_.size() > framesBefore || overflow_ > overflowBefore)) r = e + 1;
  return r;
}

size_t CppScanner::templateParameters(size_t i, size_t e) {
  const size_t close = skipAngles(i, e);
  if (close == npos) return i + 1;
  int depth = 0;
  size_t part = i + 1;
  for (size_t t = i + 1; t < close; ++t) {
    const bool last = t + 1 == close;
    if (!last && !(depth == 0 && isOp(t, ','))) {
      if (isOp(t, '<')) ++depth;
      else if (isOp(t, '>') && depth > 0) --depth;
      else if (isOp(t, '(') || isOp(t, '[')) {
        const size_t m = matching(t);
        if (m != npos && m < close) t = m;
      }
      continue;
    }
    templateParameter(part, t);
    part = t + 1;
  }
  return close;
}

void CppScanner::templateParameter(size_t begin, size_t end) {
  size_t stop = begin;
  while (stop < end && !isOp(stop, '=')) ++stop;
  if (stop >= begin + 2 && isName(stop - 1)) {
    skip_[stop - 1] = 1;
    templateNames_.push_back(textOf(toks_[stop - 1]));
  }
}

size_t CppScanner::namespaceHead(size_t b, size_t k, size_t e, bool body) {
  std::vector<size_t> parts;
  size_t t = k + 1;
  while (t < e) {
    if (isWord(t, "inline")) {
      ++t;
      continue;
    }
    if (!isName(t)) break;
    parts.push_back(t++);
    if (!isOp(t, op("::"))) break;
    ++t;
  }
  const Frame& here = frame();
  if (body && t == e) {
    std::string path = here.pathText;
    NameId pathId = here.path;
    const std::uint8_t flags = here.fileLocal ? FileLocal : 0;
    for (size_t p : parts) {
      add(toks_[p], SymbolKind::Namespace, Role::Definition, pathId, 0, none, flags);
      skip_[p] = 1;
      pathId = join(path, textOf(toks_[p]), &path);
    }
    if (Frame* f = push(FrameKind::Namespace)) {
      f->path = pathId;
      f->pathText = path;
      f->context.scope = pathId;
      if (parts.empty()) f->fileLocal = true;
    }
    return e + 1;
  }
  if (body) return npos;
  if (parts.size() == 1 && isOp(t, '=')) {
    add(toks_[parts[0]], SymbolKind::Namespace, Role::Definition, here.path, 0, none, 0);
    skip_[parts[0]] = 1;
  }
  uses(b, e, frame().context);
  return 0;
}

size_t CppScanner::usingDeclaration(size_t b, size_t k, size_t e, bool body) {
  if (body) return npos;
  if (isName(k + 1) && isOp(k + 2, '=')) {
    const NameId type = typeOf(k + 3, e);
    add(toks_[k + 1], SymbolKind::Typedef, Role::Definition, frame().path, type, none,
        frame().fileLocal ? FileLocal : 0);
    skip_[k + 1] = 1;
  }
  uses(b, e, frame().context);
  return 0;
}

size_t CppScanner::classHead(size_t b, size_t k, size_t e, bool body, const Specifiers& s, bool* handled) {
  *handled = false;
  const bool isEnum = isWord(k, "enum");
  const SymbolKind kind = isEnum ? SymbolKind::Enum
                          : isWord(k, "class") ? SymbolKind::Class
                          : isWord(k, "struct") ? SymbolKind::Struct
                                                : SymbolKind::Union;
  size_t t = k + 1;
  bool scoped = false;
  if (isEnum && (isWord(t, "class") || isWord(t, "struct"))) {
    scoped = true;
    ++t;
  }
  size_t name = npos;
  int plain = 0;
  std::string quals;
  while (t < e) {
    if (isOp(t, '[') && isOp(t + 1, '[')) {
      const size_t m = matching(t);
      if (m == npos || m >= e) return 0;
      t = m + 1;
      continue;
    }
    if (toks_[t].kind == TokenKind::Identifier && isAttributeWord(textOf(toks_[t])) && isOp(t + 1, '(')) {
      const size_t m = matching(t + 1);
      if (m == npos || m >= e) return 0;
      t = m + 1;
      continue;
    }
    if (!isName(t)) break;
    if (isOp(t + 1, op("::"))) {
      const std::string part(textOf(toks_[t]));
      quals = t > k + 1 && isOp(t - 1, op("::")) ? quals + "::" + part : part;
      t += 2;
      continue;
    }
    if (!(t > k + 1 && isOp(t - 1, op("::")))) quals.clear();
    name = t++;
    ++plain;
  }
  if (name != npos && isOp(t, '<')) {
    t = skipAngles(t, e);
    if (t == npos) return 0;
  }
  if (isWord(t, "final") || isWord(t, "sealed")) ++t;
  const bool colon = t < e && isOp(t, ':');
  const Frame& here = frame();
  std::string scopeText = here.pathText;
  NameId scopeId = here.path;
  if (!quals.empty()) scopeId = join(scopeText, quals, &scopeText);
  const std::uint8_t flags = here.fileLocal ? FileLocal : 0;
  if (!body) {
    if (plain != 1 || s.isFriend || !(t == e || (isEnum && colon))) return 0;
    *handled = true;
    add(toks_[name], kind, Role::Declaration, scopeId, 0, none, flags);
    skip_[name] = 1;
    uses(b, e, frame().context);
    return 0;
  }
  if (!(t == e || colon)) return npos;
  *handled = true;
  std::uint32_t record = none;
  if (name != npos) {
    record = add(toks_[name], kind, Role::Definition, scopeId, 0, none, flags);
    skip_[name] = 1;
    if (colon && !isEnum) bases(t + 1, e, record);
  }
  uses(b, e, frame().context);
  const NameId outerPath = here.path;
  const std::string outerText = here.pathText;
  Frame* f = push(isEnum ? FrameKind::Enum : FrameKind::Class);
  if (!f) return e + 1;
  f->classKind = kind;
  f->anonymous = name == npos;
  f->typedefAfter = s.isTypedef;
  f->staticAfter = s.isStatic;
  f->outerPath = outerPath;
  f->outerText = outerText;
  f->firstRecord = static_cast<std::uint32_t>(scan_.records.size());
  if (name == npos) return e + 1;
  f->typeName = intern(textOf(toks_[name]));
  std::string pathText;
  const NameId path = join(scopeText, textOf(toks_[name]), &pathText);
  if (isEnum && !scoped) {
    f->path = scopeId;
    f->pathText = scopeText;
  } else {
    f->path = path;
    f->pathText = pathText;
  }
  if (!isEnum) f->context.scope = path;
  return e + 1;
}

void CppScanner::bases(size_t begin, size_t end, std::uint32_t record) {
  for (size_t t = begin; t < end;) {
    while (t < end && (isAccessWord(textOf(toks_[t])) || isWord(t, "virtual"))) ++t;
    if (isOp(t, op("::"))) ++t;
    std::string base;
    while (t < end && isName(t)) {
      base += textOf(toks_[t++]);
      if (isOp(t, '<')) {
        const size_t a = skipAngles(t, end);
        if (a == npos) {
          base.clear();
          break;
        }
        t = a;
      }
      if (t + 1 < end && isOp(t, op("::")) && isName(t + 1)) {
        base += "::";
        ++t;
        continue;
      }
      break;
    }
    if (!base.empty() && !isTemplateName(base)) scan_.bases.push_back({record, scan_.intern(base)});
    while (t < end && !isOp(t, ',')) {
      const size_t m = isOp(t, '(') || isOp(t, '[') ? matching(t) : npos;
      t = m != npos && m < end ? m + 1 : t + 1;
    }
    ++t;
  }
}

size_t CppScanner::simpleDeclaration(size_t b, size_t k, size_t e, bool body, const Specifiers& s) {
  int candidates = 0;
  for (size_t t = k; t < e;) {
    const Token& u = toks_[t];
    if (u.kind == TokenKind::Identifier) {
      if (textOf(u) == "operator") {
        size_t p = t + 1;
        if (isOp(p, '(') && isOp(p + 1, ')')) p += 2;
        while (p < e && p < t + 8 && !isOp(p, '(')) ++p;
        const size_t m = isOp(p, '(') ? matching(p) : npos;
        if (m != npos && m < e && functionTail(m + 1, e, body))
          return functionDeclaration(b, k, t, p, e, body, s, true);
        break;
      }
      if (!(u.flags & cpp::Keyword) && isOp(t + 1, '<')) {
        const size_t a = skipAngles(t + 1, e);
        if (a != npos) {
          t = a;
          continue;
        }
      }
      ++t;
      continue;
    }
    if (u.kind == TokenKind::Punctuator) {
      if (u.op == '=') break;
      if (u.op == '(' || u.op == '[' || u.op == '{') {
        const size_t m = matching(t);
        if (m == npos || m >= e) break;
        if (u.op == '(') {
          if (++candidates > 8) break;
          if (t > k && isName(t - 1) && functionTail(m + 1, e, body))
            return functionDeclaration(b, k, t - 1, t, e, body, s, false);
        }
        t = m + 1;
        continue;
      }
    }
    ++t;
  }
  if (body) return npos;
  variables(b, k, e, s);
  return 0;
}

bool isMacroLike(std::string_view w) {
  if (w.size() < 2) return false;
  for (char c : w)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

bool CppScanner::functionTail(size_t i, size_t e, bool body) const {
  for (size_t t = i; t < e;) {
    const Token& u = toks_[t];
    if (u.kind == TokenKind::Identifier) {
      const std::string_view w = textOf(u);
      if (w == "const" || w == "volatile" || w == "override" || w == "final" || w == "mutable" ||
          w == "__restrict") {
        ++t;
        continue;
      }
      if (w == "requires") return true;
      if (w == "try") return body && t + 1 == e;
      if (w == "noexcept" || w == "throw" || isAttributeWord(w) || isMacroLike(w)) {
        ++t;
        if (isOp(t, '(')) {
          const size_t m = matching(t);
          if (m == npos || m >= e) return false;
          t = m + 1;
        }
        continue;
      }
      return false;
    }
    if (u.kind != TokenKind::Punctuator) return false;
    if (u.op == '&' || u.op == op("&&")) {
      ++t;
    } else if (u.op == '[' && isOp(t + 1, '[')) {
      const size_t m = matching(t);
      if (m == npos || m >= e) return false;
      t = m + 1;
    } else if (u.op == op("->")) {  // a trailing return type
      for (++t; t < e && !isOp(t, '=');) {
        const size_t m = isOp(t, '(') || isOp(t, '[') ? matching(t) : npos;
        if (isOp(t, '{')) return false;
        t = m != npos && m < e ? m + 1 : t + 1;
      }
    } else if (u.op == '=') {
      return !body && t + 2 == e &&
             (isWord(t + 1, "default") || isWord(t + 1, "delete") ||
              (toks_[t + 1].kind == TokenKind::Number && textOf(toks_[t + 1]) == "0"));
    } else if (u.op == ':') {
      return body;  // a constructor's member initializers
    } else {
      return false;
    }
  }
  return true;
}

size_t CppScanner::functionDeclaration(size_t b, size_t k, size_t name, size_t open, size_t e, bool body,
                                       const Specifiers& s, bool isOperator) {
  const size_t closeParen = matching(open);
  size_t first = name;
  const std::string quals = chainBefore(name, k, &first);
  const Frame& here = frame();
  const bool inClass = here.kind == FrameKind::Class;
  // A return type: a word before the name that is no macro's call ("EXPORT(x) f();").
  bool hasType = false;
  for (size_t t = k; t < first && !hasType; ++t) {
    if (isOp(t, '(') || isOp(t, '[')) {
      const size_t m = matching(t);
      if (m == npos || m >= first) break;
      t = m;
    } else if (toks_[t].kind == TokenKind::Identifier && !isOp(t + 1, '(')) {
      hasType = true;
    }
  }
  const std::string_view nameText = textOf(toks_[name]);
  const bool destructor = name > k && isOp(name - 1, '~');
  const size_t cut = quals.rfind("::");
  const std::string_view lastQual = cut == std::string::npos ? std::string_view(quals) : std::string_view(quals).substr(cut + 2);
  const bool constructor = destructor || (!quals.empty() && lastQual == nameText) ||
                           (inClass && here.typeName != 0 && scan_.names[here.typeName] == nameText);
  const Context outer = here.context;
  if ((!hasType && !constructor && !body && !isOperator) || (s.isFriend && !body)) {
    // A macro's call, or a friend's declaration (not this scope's member).
    parameters(open, closeParen, false, outer, 0);
    uses(b, e, outer);
    return 0;
  }
  std::string scopeText = here.pathText;
  NameId scopeId = here.path;
  if (s.isFriend)
    for (size_t f = frames_.size(); f-- > 0;)
      if (frames_[f].kind != FrameKind::Class) {
        scopeText = frames_[f].pathText;
        scopeId = frames_[f].path;
        break;
      }
  if (!quals.empty()) scopeId = join(scopeText, quals, &scopeText);
  const bool member = (inClass && !s.isFriend) || !quals.empty();
  const std::uint8_t flags = (s.isStatic && !inClass) || here.fileLocal ? FileLocal : 0;
  std::uint32_t record = none;
  if (!isOperator) {
    record = add(toks_[name], SymbolKind::Function, body ? Role::Definition : Role::Declaration, scopeId, 0,
                 none, flags);
    skip_[name] = 1;
  }
  if (!body) {
    parameters(open, closeParen, false, outer, 0);
    uses(b, e, outer);
    return 0;
  }
  Context inner;
  inner.scope = scopeId;
  inner.function = record;
  inner.thisPath = member ? scopeText : std::string();
  inner.body = true;
  if (Frame* f = push(FrameKind::Function)) f->context = inner;
  parameters(open, closeParen, true, inner, frames_.size() - 1);
  uses(b, name, outer);  // "A::" of "A::f" is named from outside
  uses(name, e, inner);
  statement_ = true;
  return e + 1;
}

void CppScanner::parameters(size_t open, size_t close, bool define, const Context& context, size_t frame) {
  if (close == npos || close <= open) return;
  size_t part = open + 1;
  for (size_t t = open + 1; t <= close; ++t) {
    if (t == close || isOp(t, ',')) {
      parameter(part, t, define, context, frame);
      part = t + 1;
      continue;
    }
    if (isName(t) && isOp(t + 1, '<')) {
      const size_t a = skipAngles(t + 1, close);
      if (a != npos) t = a - 1;
    } else if (isOp(t, '(') || isOp(t, '[') || isOp(t, '{')) {
      const size_t m = matching(t);
      if (m != npos && m < close) t = m;
    }
  }
}

size_t CppScanner::pointerName(size_t begin, size_t end) const {
  // "(*name)", "(&name)", "(Class::*name)": a pointer to a function or an array.
  for (size_t t = begin; t < end; ++t) {
    if (!isOp(t, '(')) continue;
    size_t p = t + 1;
    while (p + 1 < end && isName(p) && isOp(p + 1, op("::"))) p += 2;
    if (!(isOp(p, '*') || isOp(p, '&') || isOp(p, '^'))) continue;
    ++p;
    while (isWord(p, "const") || isWord(p, "volatile")) ++p;
    if (isName(p) && (isOp(p + 1, ')') || isOp(p + 1, '['))) return p;
  }
  return npos;
}

bool isTypeEnd(const Token& t) {
  if (t.kind == TokenKind::Identifier) return true;
  if (t.kind != TokenKind::Punctuator) return false;
  return t.op == '*' || t.op == '&' || t.op == op("&&") || t.op == '>' || t.op == op(">>") ||
         t.op == op("...");
}

void CppScanner::parameter(size_t begin, size_t end, bool define, const Context& context, size_t frame) {
  if (begin >= end) return;
  size_t stop = begin;
  while (stop < end && !isOp(stop, '=')) {
    const size_t m = isOp(stop, '(') || isOp(stop, '[') ? matching(stop) : npos;
    stop = m != npos && m < end ? m + 1 : stop + 1;
  }
  size_t last = stop;
  while (last > begin && isOp(last - 1, ']')) {
    const size_t o = matching(last - 1);
    if (o == npos || o < begin) return;
    last = o;
  }
  size_t name = npos;
  if (last >= begin + 2 && isName(last - 1) && isTypeEnd(toks_[last - 2]) && !isTemplateName(textOf(toks_[last - 1])))
    name = last - 1;
  else
    name = pointerName(begin, stop);
  if (name == npos) return;
  skip_[name] = 1;
  if (define) addLocal(name, SymbolKind::Parameter, typeOf(begin, name), context, frame);
}

void CppScanner::variables(size_t b, size_t k, size_t e, const Specifiers& s) {
  const Frame& here = frame();
  const bool inClass = here.kind == FrameKind::Class;
  NameId type = 0;
  bool first = true;
  size_t part = k;
  for (size_t t = k; t <= e; ++t) {
    if (t < e && !isOp(t, ',')) {
      if (isName(t) && isOp(t + 1, '<') && first) {
        const size_t a = skipAngles(t + 1, e);
        if (a != npos) t = a - 1;
      } else if (isOp(t, '(') || isOp(t, '[') || isOp(t, '{')) {
        const size_t m = matching(t);
        if (m != npos && m < e) t = m;
      }
      continue;
    }
    // One declarator: its name before its initializer, array bounds or bit width.
    size_t stop = part;
    while (stop < t && !isOp(stop, '=') && !isOp(stop, '{') && !isOp(stop, ':') && !isOp(stop, '(')) {
      const size_t m = isOp(stop, '[') ? matching(stop) : npos;
      stop = m != npos && m < t ? m + 1 : stop + 1;
    }
    size_t last = stop;
    while (last > part && isOp(last - 1, ']')) {
      const size_t o = matching(last - 1);
      if (o == npos || o < part) break;
      last = o;
    }
    size_t name = last > part && isName(last - 1) ? last - 1 : pointerName(part, t);
    size_t qualFirst = name;
    std::string quals;
    const bool pointer = name != npos && name != last - 1;
    if (!pointer && name != npos) quals = chainBefore(name, part, &qualFirst);
    if (pointer && isOp(name + 1, ')') && isOp(name + 2, '('))  // its parameters' names
      parameters(name + 2, matching(name + 2), false, here.context, 0);
    if (first) {
      if (name == npos || qualFirst == part) break;  // no type before it: not a declaration
      type = pointer ? 0 : typeOf(part, qualFirst);
    } else {
      for (size_t p = part; name != npos && p < name; ++p)
        if (!(isOp(p, '*') || isOp(p, '&') || isOp(p, op("&&")) || isWord(p, "const") || isWord(p, "volatile")))
          name = npos;
      if (name == npos || !quals.empty()) break;
    }
    first = false;
    std::string scopeText = here.pathText;
    NameId scopeId = here.path;
    if (!quals.empty()) scopeId = join(scopeText, quals, &scopeText);
    // A static data member is declared in its class and defined outside it ("int A::n;").
    const bool member = inClass || !quals.empty();
    SymbolKind kind = s.isTypedef ? SymbolKind::Typedef : member ? SymbolKind::Field : SymbolKind::Variable;
    Role role = s.isExtern && !s.isTypedef ? Role::Declaration : Role::Definition;
    if (inClass && s.isStatic && !s.isTypedef && !isOp(stop, '=') && !isOp(stop, '{')) role = Role::Declaration;
    const std::uint8_t flags = kind == SymbolKind::Variable && quals.empty() && (s.isStatic || here.fileLocal)
                                   ? FileLocal : 0;
    if (!isTemplateName(textOf(toks_[name]))) {
      add(toks_[name], kind, role, scopeId, type, none, flags);
      if (inClass && kind == SymbolKind::Field)
        fields_[here.pathText + '\n' + std::string(textOf(toks_[name]))] = type;
    }
    skip_[name] = 1;
    part = t + 1;
  }
  uses(b, e, frame().context);
}

size_t CppScanner::declaratorsAfter(size_t i, const Frame& closed) {
  size_t e = i;
  while (e < toks_.size() && !isOp(e, ';') && !isOp(e, '{') && !isOp(e, '}')) {
    const size_t m = isOp(e, '(') || isOp(e, '[') ? matching(e) : npos;
    e = m != npos ? m + 1 : e + 1;
  }
  if (e >= toks_.size() || !isOp(e, ';')) return i;
  const Frame& here = frame();
  NameId firstName = 0;
  for (size_t t = i; t < e; ++t) {
    if (!(t == i || isOp(t - 1, ','))) continue;
    size_t p = t;
    while (isOp(p, '*') || isOp(p, '&') || isWord(p, "const") || isWord(p, "volatile")) ++p;
    if (!isName(p) || p >= e) continue;
    // "} ATTRIBUTE_MACRO;" names no variable (a typedef's name in capitals is common).
    if (!closed.typedefAfter && isMacroLike(textOf(toks_[p])) && !isOp(p + 1, '=') && !isOp(p + 1, '[')) continue;
    const Token& name = toks_[p];
    skip_[p] = 1;
    if (closed.typedefAfter && closed.anonymous && firstName == 0) {
      // typedef struct { ... } Name: the struct's name, and its members'.
      firstName = intern(textOf(name));
      add(name, closed.classKind, Role::Definition, closed.outerPath, 0, none, 0);
      const NameId path = join(closed.outerText, textOf(name));
      for (size_t r = closed.firstRecord; r < scan_.records.size(); ++r) {
        Record& member = scan_.records[r];
        if (!isUse(member.role) && member.scope == closed.path &&
            (member.kind == SymbolKind::Field || member.kind == SymbolKind::Function))
          member.scope = path;
      }
    } else if (closed.typedefAfter) {
      add(name, SymbolKind::Typedef, Role::Definition, here.path, closed.anonymous ? firstName : closed.typeName,
          none, 0);
    } else {
      const bool inClass = here.kind == FrameKind::Class;
      const std::uint8_t flags = !inClass && (closed.staticAfter || here.fileLocal) ? FileLocal : 0;
      add(name, inClass ? SymbolKind::Field : SymbolKind::Variable, Role::Definition, here.path,
          closed.typeName, none, flags);
    }
  }
  uses(i, e, frame().context);
  return e + 1;
}

size_t CppScanner::enumerator(size_t i) {
  const Token& t = toks_[i];
  Frame& f = frame();
  if (t.kind == TokenKind::Punctuator) {
    switch (t.op) {
      case '}': return close(i);
      case ',':
        if (f.parens == 0) f.enumItem = true;
        break;
      case '(': case '[': ++f.parens; break;
      case ')': case ']':
        if (f.parens > 0) --f.parens;
        break;
      case '{': push(FrameKind::Init); break;
      default: break;
    }
    return i + 1;
  }
  if (f.enumItem && isName(i)) {
    f.enumItem = false;
    add(t, SymbolKind::Enumerator, Role::Definition, f.path, 0, none, f.fileLocal ? FileLocal : 0);
    return i + 1;
  }
  use(toks_, i, f.context);
  return i + 1;
}

// ---------------------------------------------------------------------------------------
// Bodies

bool isClassKey(std::string_view w) { return w == "struct" || w == "class" || w == "union" || w == "enum"; }

bool CppScanner::startsInitializer(size_t brace) const {
  if (brace == 0) return false;
  const Token& p = toks_[brace - 1];
  if (p.kind == TokenKind::Identifier) {
    if (p.flags & cpp::Keyword) return textOf(p) == "return";
    // "struct Name {": a local class, read as a block.
    return !(brace >= 2 && toks_[brace - 2].kind == TokenKind::Identifier && isClassKey(textOf(toks_[brace - 2])));
  }
  if (p.kind != TokenKind::Punctuator) return true;
  switch (p.op) {
    case '=': case '(': case ',': case '[': case '?': case '<': case '>': case op(">>"):
      return true;
    default:
      return false;
  }
}

bool isLocalSpecifier(std::string_view w) {
  return w == "const" || w == "volatile" || w == "static" || w == "register" || w == "extern" ||
         w == "thread_local" || w == "constexpr" || w == "inline" || w == "typename" || w == "__restrict" ||
         isClassKey(w);
}

bool startsHeader(std::string_view w) {
  return w == "for" || w == "catch" || w == "if" || w == "while" || w == "switch";
}

size_t CppScanner::statementToken(size_t i) {
  const Token& t = toks_[i];
  Frame& f = frame();
  if (t.kind == TokenKind::Punctuator) {
    const bool wasStatement = statement_;
    statement_ = false;
    switch (t.op) {
      case '{': {
        const bool init = f.kind == FrameKind::Init || startsInitializer(i);
        push(init ? FrameKind::Init : FrameKind::Block);
        statement_ = !init;
        return i + 1;
      }
      case '}': return close(i);
      case ';':
        f.declaring = false;
        statement_ = f.parens == 0;
        return i + 1;
      case '(':
        ++f.parens;
        statement_ = i > 0 && toks_[i - 1].kind == TokenKind::Identifier && startsHeader(textOf(toks_[i - 1]));
        if (f.kind != FrameKind::Init && isOp(i - 1, ']')) {  // a lambda's parameters
          const size_t m = matching(i);
          if (m != npos) parameters(i, m, true, f.context, frames_.size());
        }
        return i + 1;
      case ')':
        if (f.parens > 0) --f.parens;
        if (f.declaring && f.parens < f.declParens) f.declaring = false;
        return i + 1;
      case ',':
        if (f.declaring && f.parens == f.declParens) return declarator(i + 1);
        return i + 1;
      case ':':
        f.declaring = false;
        statement_ = isWord(i - 1, "default") || (isName(i - 1) && i >= 2 && (isOp(i - 2, ';') || isOp(i - 2, '{') || isOp(i - 2, '}')));
        return i + 1;
      default:
        statement_ = wasStatement && (t.op == op("::"));
        if (statement_) {
          const size_t r = localDeclaration(i);
          statement_ = false;
          if (r != npos) return r;
        }
        return i + 1;
    }
  }
  if (t.kind != TokenKind::Identifier) {
    statement_ = false;
    return i + 1;
  }
  if (statement_ && f.kind != FrameKind::Init) {
    const size_t r = localDeclaration(i);
    if (r != npos) {
      statement_ = false;
      return r;
    }
  }
  if (t.flags & cpp::Keyword) {
    const std::string_view w = textOf(t);
    statement_ = w == "else" || w == "do" || w == "try";
    return i + 1;
  }
  statement_ = false;
  use(toks_, i, f.context);
  return i + 1;
}

size_t CppScanner::localDeclaration(size_t i) {
  const size_t n = toks_.size();
  size_t t = i, builtin = npos;
  while (t < n && toks_[t].kind == TokenKind::Identifier && (toks_[t].flags & cpp::Keyword)) {
    if (toks_[t].flags & cpp::TypeWord) builtin = t;
    else if (!isLocalSpecifier(textOf(toks_[t]))) return npos;
    ++t;
  }
  const size_t typeBegin = t;
  if (builtin == npos) {
    if (isOp(t, op("::"))) ++t;
    if (!isName(t)) return npos;
    for (++t;;) {
      if (isOp(t, '<')) {
        t = skipAngles(t, n);
        if (t == npos) return npos;
      }
      if (isOp(t, op("::")) && isName(t + 1)) {
        t += 2;
        continue;
      }
      break;
    }
  }
  const size_t typeEnd = t;
  while (t < n && (isOp(t, '*') || isOp(t, '&') || isOp(t, op("&&")) || isWord(t, "const") ||
                   isWord(t, "volatile") || isWord(t, "__restrict")))
    ++t;
  Frame& f = frame();
  const bool inHeader = f.parens > 0;
  const size_t frameIndex = frames_.size() - 1;
  if (isOp(t, '[') && builtin != npos && isWord(builtin, "auto")) {  // auto [a, b] = ...
    const size_t m = matching(t);
    if (m == npos || !(isOp(m + 1, '=') || isOp(m + 1, '{') || (inHeader && isOp(m + 1, ':')))) return npos;
    for (size_t p = t + 1; p < m; ++p)
      if (isName(p)) addLocal(p, SymbolKind::Local, 0, f.context, frameIndex);
    return m + 1;
  }
  if (!isName(t)) return npos;
  const size_t name = t;
  const Token* next = name + 1 < n ? &toks_[name + 1] : nullptr;
  if (!next || next->kind != TokenKind::Punctuator) return npos;
  const std::uint32_t o = next->op;
  if (!(o == '=' || o == ';' || o == ',' || o == '(' || o == '{' || o == '[' ||
        (inHeader && (o == ':' || o == ')'))))
    return npos;
  const NameId type = builtin != npos ? (isWord(builtin, "auto") ? 0 : intern(textOf(toks_[builtin])))
                                      : typeOf(typeBegin, typeEnd);
  for (size_t u = i; u < name; ++u)
    if (toks_[u].kind == TokenKind::Identifier && !skip_[u]) use(toks_, u, f.context);
  addLocal(name, SymbolKind::Local, type, f.context, frameIndex);
  f.declaring = true;
  f.declParens = f.parens;
  f.declType = type;
  return name + 1;
}

size_t CppScanner::declarator(size_t i) {
  size_t t = i;
  while (isOp(t, '*') || isOp(t, '&') || isOp(t, op("&&")) || isWord(t, "const") || isWord(t, "volatile")) ++t;
  Frame& f = frame();
  if (!isName(t) || t + 1 >= toks_.size() || toks_[t + 1].kind != TokenKind::Punctuator) return i;
  const std::uint32_t o = toks_[t + 1].op;
  if (!(o == '=' || o == ';' || o == ',' || o == '(' || o == '{' || o == '[' ||
        (f.parens > 0 && (o == ':' || o == ')'))))
    return i;
  addLocal(t, SymbolKind::Local, f.declType, f.context, frames_.size() - 1);
  return t + 1;
}

// ---------------------------------------------------------------------------------------
// Preprocessor lines

void CppScanner::directives() {
  const std::vector<std::uint32_t>& starts = tokens_.directiveStarts;
  const size_t count = tokens_.directives.size();
  for (size_t k = 0; k < starts.size(); ++k) directive(starts[k], k + 1 < starts.size() ? starts[k + 1] : count);
}

void CppScanner::directive(size_t begin, size_t end) {
  const std::vector<Token>& d = tokens_.directives;
  if (begin >= end || d[begin].kind != TokenKind::Identifier) return;
  const std::string_view word = textOf(d[begin]);
  const Context fileLevel;
  if (word == "define") {
    if (begin + 1 >= end || d[begin + 1].kind != TokenKind::Identifier) return;
    const Token& name = d[begin + 1];
    add(name, SymbolKind::Macro, Role::Definition, 0, 0, none, 0);
    size_t t = begin + 2;
    std::vector<std::string_view> parameters;
    if (t < end && d[t].kind == TokenKind::Punctuator && d[t].op == '(' && d[t].begin == name.begin + name.size) {
      for (++t; t < end && !(d[t].kind == TokenKind::Punctuator && d[t].op == ')'); ++t)
        if (d[t].kind == TokenKind::Identifier) parameters.push_back(textOf(d[t]));
      ++t;
    }
    for (; t < end; ++t) {
      if (d[t].kind != TokenKind::Identifier) continue;
      const std::string_view w = textOf(d[t]);
      if (std::find(parameters.begin(), parameters.end(), w) == parameters.end()) use(d, t, fileLevel);
    }
    return;
  }
  if (word == "if" || word == "ifdef" || word == "ifndef" || word == "elif" || word == "elifdef" ||
      word == "elifndef" || word == "undef")
    for (size_t t = begin + 1; t < end; ++t) {
      if (d[t].kind == TokenKind::Identifier && textOf(d[t]) == "__has_include") return;
      use(d, t, fileLevel);
    }
}

void CppScanner::run() {
  cpp::tokenize(text_, tokens_);
  matchBrackets();
  skip_.assign(toks_.size(), 0);
  frames_.emplace_back();
  directives();
  for (size_t i = 0; i < toks_.size();) {
    const size_t before = i;
    switch (frame().kind) {
      case FrameKind::File: case FrameKind::Namespace: case FrameKind::Extern: case FrameKind::Class:
        i = declaration(i);
        break;
      case FrameKind::Enum:
        i = enumerator(i);
        break;
      default:
        i = statementToken(i);
        break;
    }
    if (i <= before) i = before + 1;  // always onwards
  }
}

}  // namespace

void scanCpp(std::string_view text, FileScan& scan) { CppScanner(text, scan).run(); }

}  // namespace quillon::xref
