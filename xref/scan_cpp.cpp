// The C and C++ scan of the cross-references: the tokens of the file (xref/cpp_tokens.h)
// read once by a light recogniser. At namespace, class and file level it reads one
// declaration at a time (to its ";" or its body's "{") and tells namespaces, classes,
// enums, functions, variables, fields and typedefs apart by their shape; in a function's
// body it reads statements, finding the locals a statement starts with. Every other
// identifier is a use. When a shape is not clear the names are left as uses, and a use
// the scan cannot place is left to the merge: a record too few is better than a wrong one.
#include <algorithm>
#include <string>

#include "xref/cpp_scanner.h"
#include "xref/scan.h"

namespace quillon::xref::cpp {

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

NameId CppScanner::intern(std::string_view name) { return scan_.intern(name); }

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

namespace {

bool isAssignment(std::uint32_t o) {
  switch (o) {
    case '=': case op("+="): case op("-="): case op("*="): case op("/="): case op("%="):
    case op("&="): case op("|="): case op("^="): case op("<<="): case op(">>="):
      return true;
    default:
      return false;
  }
}

}  // namespace

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
  // "struct list *list": the name after a class key is a tag, never a local or a field.
  const bool tag = i > 0 && v[i - 1].kind == TokenKind::Identifier && (v[i - 1].flags & cpp::Keyword) &&
                   (textOf(v[i - 1]) == "struct" || textOf(v[i - 1]) == "union" ||
                    textOf(v[i - 1]) == "enum" || textOf(v[i - 1]) == "class");
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
    if (const Local* l = tag ? nullptr : findLocal(name)) local = l->record;
  }
  Role role = Role::Read;
  if (after == '(') role = Role::Call;
  else if (isAssignment(after) || after == op("++") || after == op("--")) role = Role::Write;
  else if ((before == op("++") || before == op("--")) && after != '.' && after != op("->") &&
           after != op("::") && after != '[')
    role = Role::Write;
  const std::uint32_t r = add(t, tag ? SymbolKind::Struct : SymbolKind::Unknown, role, context.scope, qualifier,
                              context.function, flags);
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


}  // namespace quillon::xref::cpp

namespace quillon::xref {

void scanCpp(std::string_view text, FileScan& scan) { cpp::CppScanner(text, scan).run(); }

}  // namespace quillon::xref
