// The C and C++ scan in a function's body, a statement at a time (the locals a statement
// starts with), and of the preprocessor's lines.
#include <algorithm>
#include <string>

#include "xref/cpp_scanner.h"

namespace quillon::xref::cpp {

// ---------------------------------------------------------------------------------------
// Bodies

namespace {

bool isClassKey(std::string_view w) { return w == "struct" || w == "class" || w == "union" || w == "enum"; }

}  // namespace

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

namespace {

bool isLocalSpecifier(std::string_view w) {
  return w == "const" || w == "volatile" || w == "static" || w == "register" || w == "extern" ||
         w == "thread_local" || w == "constexpr" || w == "inline" || w == "typename" || w == "__restrict" ||
         isClassKey(w);
}

}  // namespace

namespace {

bool startsHeader(std::string_view w) {
  return w == "for" || w == "catch" || w == "if" || w == "while" || w == "switch";
}

}  // namespace

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


}  // namespace quillon::xref::cpp
