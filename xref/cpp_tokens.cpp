#include "xref/cpp_tokens.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "xref/records.h"

namespace quillon::xref::cpp {

namespace {

// The builtin type words first (TypeWord), then the other keywords of C (C23) and C++
// (C++20), the alternative operator spellings and the compilers' own.
const char* const typeWords[] = {
    "void", "bool", "char", "wchar_t", "char8_t", "char16_t", "char32_t", "short", "int",
    "long", "signed", "unsigned", "float", "double", "auto", "_Bool", "_Complex",
    "_Imaginary", "__int8", "__int16", "__int32", "__int64", "__int128", "__wchar_t",
    "__signed__", "__unsigned__"};
const char* const otherKeywords[] = {
    "alignas", "alignof", "asm", "break", "case", "catch", "class", "co_await", "co_return",
    "co_yield", "concept", "const", "consteval", "constexpr", "constinit", "const_cast",
    "continue", "decltype", "default", "delete", "do", "dynamic_cast", "else", "enum",
    "explicit", "export", "extern", "false", "final", "for", "friend", "goto", "if",
    "inline", "module", "import", "mutable", "namespace", "new", "noexcept", "nullptr",
    "operator", "override", "private", "protected", "public", "register",
    "reinterpret_cast", "requires", "restrict", "return", "sizeof", "static",
    "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local",
    "throw", "true", "try", "typedef", "typeid", "typename", "typeof", "typeof_unqual",
    "union", "using", "virtual", "volatile", "while", "and", "and_eq", "bitand", "bitor",
    "compl", "not", "not_eq", "or", "or_eq", "xor", "xor_eq", "_Alignas", "_Alignof",
    "_Atomic", "_BitInt", "_Generic", "_Noreturn", "_Static_assert", "_Thread_local",
    "_Pragma", "__attribute__", "__attribute", "__declspec", "__cdecl", "__stdcall",
    "__fastcall", "__thiscall", "__vectorcall", "__restrict", "__restrict__", "__inline",
    "__inline__", "__forceinline", "__asm", "__asm__", "__volatile__", "__const",
    "__extension__", "__typeof__", "__typeof", "__alignof__", "__builtin_offsetof",
    "__func__", "__FUNCTION__", "__PRETTY_FUNCTION__", "__FILE__", "__LINE__",
    "__VA_ARGS__", "__VA_OPT__", "__has_include", "__has_cpp_attribute", "defined",
    "__ptr32", "__ptr64", "__unaligned", "__w64"};

/// The keywords by a cheap hash of their length and ends: a few to compare in each slot.
class KeywordTable {
 public:
  KeywordTable() {
    for (const char* w : typeWords) add(w, Keyword | TypeWord);
    for (const char* w : otherKeywords) add(w, Keyword);
  }
  std::uint8_t find(std::string_view word) const {
    for (const Entry& e : slots_[slot(word)])
      if (e.word == word) return e.flags;
    return 0;
  }

 private:
  struct Entry {
    std::string_view word;
    std::uint8_t flags;
  };
  static size_t slot(std::string_view w) {
    const auto c = [&](size_t i) { return static_cast<size_t>(static_cast<unsigned char>(w[i])); };
    return (w.size() * 131 + c(0) * 31 + c(w.size() - 1) * 7 + c(w.size() / 2)) % slotCount;
  }
  void add(std::string_view w, std::uint8_t flags) { slots_[slot(w)].push_back({w, flags}); }
  static constexpr size_t slotCount = 1024;
  std::vector<Entry> slots_[slotCount];
};

// Longest first: three bytes, then two.
const char* const punctuators3[] = {"<<=", ">>=", "...", "->*", "<=>"};
const char* const punctuators2[] = {"::", "->", "++", "--", "+=", "-=", "*=", "/=", "%=",
                                    "&=", "|=", "^=", "==", "!=", "<=", ">=", "&&", "||",
                                    "<<", ">>", ".*", "##"};

bool isIdentifierStart(unsigned char c) { return isIdentifierByte(c) && !(c >= '0' && c <= '9'); }

/// The lexer's walk over the text: its place, and the start of the line it is on.
class Lexer {
 public:
  Lexer(std::string_view text, Tokens& tokens) : text_(text), tokens_(tokens) {}
  void run();

 private:
  unsigned char at(size_t p) const { return p < text_.size() ? static_cast<unsigned char>(text_[p]) : 0; }
  /// A line end at `p` ("\n" or "\r\n"): its length, else 0.
  size_t lineEndAt(size_t p) const { return at(p) == '\n' ? 1 : at(p) == '\r' && at(p + 1) == '\n' ? 2 : 0; }
  void newLine(size_t next) {
    ++line_;
    lineStart_ = next;
  }
  /// Counts the line ends of [from, to) (the text passed over by a comment or literal).
  void countLines(size_t from, size_t to) {
    for (size_t p = from; p < to; ++p)
      if (text_[p] == '\n') newLine(p + 1);
  }
  void push(TokenKind kind, size_t begin, size_t end, std::uint32_t op = 0, std::uint8_t flags = 0) {
    if (skipping_) return;
    if (kind == TokenKind::Punctuator && !inDirective_) braces_ += op == '{' ? 1 : op == '}' ? -1 : 0;
    Token t;
    t.begin = static_cast<std::uint32_t>(begin);
    t.size = static_cast<std::uint32_t>(end - begin);
    t.line = line_;
    t.column = static_cast<std::uint32_t>(begin - lineStart_);
    t.op = op;
    t.kind = kind;
    t.flags = flags;
    (inDirective_ ? tokens_.directives : tokens_.code).push_back(t);
  }
  void conditional(size_t p);
  void lineComment();
  void blockComment();
  size_t quoted(size_t p, char quote);
  size_t rawString(size_t p);
  size_t identifier(size_t p);
  size_t number(size_t p);
  size_t punctuator(size_t p);

  std::string_view text_;
  Tokens& tokens_;
  size_t p_ = 0, lineStart_ = 0;
  std::uint32_t line_ = 1;
  bool lineBegins_ = true, inDirective_ = false;
  // Conditional lines: what is passed over, and the braces of the code kept.
  enum class Branch : std::uint8_t { Zero, Taken, Rest };
  struct Conditional {
    long braces;        ///< the braces open when the branch began
    bool outerSkipped;  ///< inside a part passed over
    Branch branch;
  };
  std::vector<Conditional> conditionals_;
  bool skipping_ = false;
  long braces_ = 0;
};

void Lexer::conditional(size_t p) {
  // "#if 0" passes over its branch and keeps the next. The other branches of a condition
  // are kept while the first leaves its braces balanced, and passed over once it does
  // not (two ways of opening one body: only one is read, so the braces stay in step).
  while (at(p) == ' ' || at(p) == '\t') ++p;
  size_t end = p;
  while (end < text_.size() && isIdentifierByte(at(end))) ++end;
  const std::string_view word = text_.substr(p, end - p);
  if (word == "if" || word == "ifdef" || word == "ifndef") {
    while (at(end) == ' ' || at(end) == '\t') ++end;
    const bool zero = word == "if" && at(end) == '0' && !isIdentifierByte(at(end + 1));
    conditionals_.push_back({braces_, skipping_, zero ? Branch::Zero : Branch::Taken});
    if (zero) skipping_ = true;
  } else if (word == "elif" || word == "else" || word == "elifdef" || word == "elifndef") {
    if (conditionals_.empty() || conditionals_.back().outerSkipped) return;
    Conditional& c = conditionals_.back();
    if (c.branch == Branch::Zero) {
      c.branch = Branch::Taken;
      c.braces = braces_;
      skipping_ = false;
    } else if (c.branch == Branch::Taken && braces_ != c.braces) {
      c.branch = Branch::Rest;
      skipping_ = true;
    }
  } else if (word == "endif") {
    if (conditionals_.empty()) return;
    skipping_ = conditionals_.back().outerSkipped;
    conditionals_.pop_back();
  }
}

void Lexer::run() {
  const size_t n = text_.size();
  while (p_ < n) {
    const unsigned char c = at(p_);
    if (c == '\n') {
      newLine(++p_);
      lineBegins_ = true;
      inDirective_ = false;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++p_;
    } else if (c == '\\' && lineEndAt(p_ + 1)) {
      p_ += 1 + lineEndAt(p_ + 1);
      newLine(p_);
    } else if (c == '/' && at(p_ + 1) == '/') {
      lineComment();
    } else if (c == '/' && at(p_ + 1) == '*') {
      blockComment();
    } else if (c == '#' && lineBegins_ && !inDirective_) {
      conditional(p_ + 1);
      inDirective_ = true;
      lineBegins_ = false;
      if (!skipping_) tokens_.directiveStarts.push_back(static_cast<std::uint32_t>(tokens_.directives.size()));
      ++p_;
    } else {
      lineBegins_ = false;
      if (isIdentifierStart(c)) p_ = identifier(p_);
      else if ((c >= '0' && c <= '9') || (c == '.' && at(p_ + 1) >= '0' && at(p_ + 1) <= '9')) p_ = number(p_);
      else if (c == '"' || c == '\'') {
        const size_t begin = p_;
        p_ = quoted(p_, static_cast<char>(c));
        push(TokenKind::Literal, begin, begin);
      } else p_ = punctuator(p_);
    }
  }
}

void Lexer::lineComment() {
  // To the line end; a backslash before it carries the comment on to the next line.
  for (;;) {
    const size_t end = text_.find('\n', p_);
    if (end == std::string_view::npos) {
      p_ = text_.size();
      return;
    }
    size_t last = end;
    if (last > p_ && text_[last - 1] == '\r') --last;
    if (last > p_ && text_[last - 1] == '\\') {
      p_ = end + 1;
      newLine(p_);
      continue;
    }
    p_ = end;  // the line end itself is the run loop's
    return;
  }
}

void Lexer::blockComment() {
  const size_t end = text_.find("*/", p_ + 2);
  const size_t stop = end == std::string_view::npos ? text_.size() : end + 2;
  countLines(p_, stop);
  p_ = stop;
}

size_t Lexer::quoted(size_t p, char quote) {
  // From the opening quote to the closing one; a line end (not continued) ends it too.
  for (++p; p < text_.size();) {
    const char c = text_[p];
    if (c == '\\') {
      if (const size_t eol = lineEndAt(p + 1)) {
        p += 1 + eol;
        newLine(p);
      } else {
        p += 2;
      }
    } else if (c == quote) {
      return p + 1;
    } else if (c == '\n') {
      return p;
    } else {
      ++p;
    }
  }
  return std::min(p, text_.size());
}

size_t Lexer::rawString(size_t p) {
  // p at the quote of R"delimiter( ... )delimiter".
  size_t open = p + 1;
  while (open < text_.size() && open - p <= 17 && text_[open] != '(' && text_[open] != ')' &&
         text_[open] != '\\' && text_[open] != ' ' && text_[open] != '\n' && text_[open] != '"')
    ++open;
  if (at(open) != '(' || open - p > 17) return quoted(p, '"');
  std::string close = ")";
  close.append(text_.substr(p + 1, open - p - 1));
  close += '"';
  const size_t end = text_.find(close, open + 1);
  const size_t stop = end == std::string_view::npos ? text_.size() : end + close.size();
  countLines(p, stop);
  return stop;
}

size_t Lexer::identifier(size_t p) {
  const size_t begin = p;
  while (p < text_.size() && isIdentifierByte(at(p))) ++p;
  const std::string_view word = text_.substr(begin, p - begin);
  const unsigned char next = at(p);
  if (next == '"' || next == '\'') {
    // Encoding prefixes and raw strings.
    const bool raw = next == '"' && (word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R");
    if (raw || word == "L" || word == "u" || word == "U" || word == "u8") {
      const size_t end = raw ? rawString(p) : quoted(p, static_cast<char>(next));
      push(TokenKind::Literal, begin, begin);
      return end;
    }
  }
  push(TokenKind::Identifier, begin, p, 0, wordFlags(word));
  return p;
}

size_t Lexer::number(size_t p) {
  const size_t begin = p;
  while (p < text_.size()) {
    const unsigned char c = at(p);
    if (isIdentifierByte(c) || c == '.') {
      ++p;
    } else if (c == '\'' && isIdentifierByte(at(p + 1))) {
      p += 2;  // a digit separator
    } else if ((c == '+' || c == '-') && (at(p - 1) == 'e' || at(p - 1) == 'E' || at(p - 1) == 'p' || at(p - 1) == 'P')) {
      ++p;
    } else {
      break;
    }
  }
  push(TokenKind::Number, begin, p);
  return p;
}

size_t Lexer::punctuator(size_t p) {
  // Only the bytes that start a longer punctuator look further.
  size_t length = 1;
  switch (at(p)) {
    case ':': case '-': case '+': case '*': case '/': case '%': case '&': case '|': case '^':
    case '=': case '!': case '<': case '>': case '.': case '#': {
      const std::string_view rest = text_.substr(p, 3);
      for (const char* s : punctuators3)
        if (rest.size() == 3 && rest.compare(0, 3, s) == 0) length = 3;
      if (length == 1)
        for (const char* s : punctuators2)
          if (rest.size() >= 2 && rest[0] == s[0] && rest[1] == s[1]) length = 2;
      break;
    }
    default: break;
  }
  const std::uint32_t code = length == 1 ? at(p)
                             : length == 2 ? at(p) | at(p + 1) << 8
                                           : at(p) | at(p + 1) << 8 | std::uint32_t(at(p + 2)) << 16;
  push(TokenKind::Punctuator, p, p + length, code);
  return p + length;
}

}  // namespace

std::uint8_t wordFlags(std::string_view word) {
  if (word.size() < 2 || word.size() > 20) return 0;
  static const KeywordTable table;
  return table.find(word);
}

void tokenize(std::string_view text, Tokens& tokens) {
  if (text.size() >= 0xFFFFFFF0u) return;  // places are 32-bit
  tokens.code.reserve(text.size() / 5);
  Lexer(text, tokens).run();
}

}  // namespace quillon::xref::cpp
