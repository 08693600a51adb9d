// The C and C++ scan at namespace, class and file level: one declaration at a time, to
// its ";" or to the "{" of its body, told apart by its shape.
#include <algorithm>
#include <string>

#include "xref/cpp_scanner.h"

namespace quillon::xref::cpp {

// ---------------------------------------------------------------------------------------
// Namespace, class and file level

namespace {

bool isAccessWord(std::string_view w) { return w == "public" || w == "private" || w == "protected"; }

}  // namespace

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

namespace {

bool isSpecifierWord(std::string_view w) {
  return w == "inline" || w == "virtual" || w == "explicit" || w == "constexpr" || w == "consteval" ||
         w == "constinit" || w == "thread_local" || w == "register" || w == "mutable" || w == "export" ||
         w == "__inline" || w == "__inline__" || w == "__forceinline" || w == "_Noreturn" ||
         w == "_Thread_local" || w == "__extension__";
}

}  // namespace

namespace {

bool isAttributeWord(std::string_view w) {
  return w == "__attribute__" || w == "__attribute" || w == "__declspec" || w == "alignas" || w == "_Alignas";
}

}  // namespace

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

namespace {

bool isMacroLike(std::string_view w) {
  if (w.size() < 2) return false;
  for (char c : w)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

}  // namespace

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

namespace {

bool isTypeEnd(const Token& t) {
  if (t.kind == TokenKind::Identifier) return true;
  if (t.kind != TokenKind::Punctuator) return false;
  return t.op == '*' || t.op == '&' || t.op == op("&&") || t.op == '>' || t.op == op(">>") ||
         t.op == op("...");
}

}  // namespace

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


}  // namespace quillon::xref::cpp
