#include "xref/curly_lexer.h"

#include <unordered_map>

namespace quillon::xref {

namespace {

using Keywords = std::unordered_map<std::string_view, Kw>;

struct KeywordRow {
  const char* words;  // separated by blanks
  Kw kw;
};

Keywords keywordTable(std::initializer_list<KeywordRow> rows) {
  Keywords table;
  for (const KeywordRow& row : rows) {
    std::string_view words(row.words);
    while (!words.empty()) {
      const size_t cut = words.find(' ');
      table.emplace(words.substr(0, cut), row.kw);
      words = cut == std::string_view::npos ? std::string_view() : words.substr(cut + 1);
    }
  }
  return table;
}

const Keywords& keywordsOf(CurlyLanguage language) {
  static const Keywords csharp = keywordTable({
      {"as break checked continue false finally goto if null return sizeof stackalloc switch "
       "throw true try typeof unchecked while get set init add remove yield await nameof when "
       "global value with and or not managed unmanaged notnull",
       Kw::Plain},
      {"bool byte sbyte char decimal double float int uint long ulong short ushort object string "
       "void dynamic nint nuint",
       Kw::Type},
      {"var", Kw::Var},
      {"abstract extern internal override private protected public readonly sealed static virtual "
       "volatile unsafe partial async required file scoped params",
       Kw::Modifier},
      {"const", Kw::Const}, {"namespace", Kw::Namespace}, {"using", Kw::Using},
      {"class", Kw::Class}, {"struct", Kw::Struct}, {"interface", Kw::Interface},
      {"enum", Kw::Enum}, {"record", Kw::Record}, {"delegate", Kw::Delegate},
      {"event", Kw::Event}, {"this", Kw::This}, {"base", Kw::Base},
      {"out is case ref", Kw::Pattern}, {"for foreach catch fixed lock", Kw::OpensDeclaration},
      {"else do", Kw::Statement}, {"operator implicit explicit", Kw::Operator},
      {"where", Kw::Where}, {"in", Kw::In}, {"new", Kw::New}, {"default", Kw::Default},
  });
  static const Keywords java = keywordTable({
      {"assert break continue false finally goto if null return switch throw true while "
       "yield const",
       Kw::Plain},
      {"boolean byte char short int long float double void", Kw::Type},
      {"var", Kw::Var},
      {"abstract final native private protected public static strictfp synchronized transient "
       "volatile sealed",
       Kw::Modifier},
      {"package", Kw::Package}, {"import", Kw::Import}, {"class", Kw::Class},
      {"interface", Kw::Interface}, {"enum", Kw::Enum}, {"record", Kw::Record},
      {"this", Kw::This}, {"super", Kw::Base}, {"instanceof case", Kw::Pattern},
      {"for catch try", Kw::OpensDeclaration}, {"else do", Kw::Statement},
      {"extends", Kw::Extends}, {"implements", Kw::Implements}, {"throws permits", Kw::Where},
      {"new", Kw::New}, {"default", Kw::Default},
  });
  return language == CurlyLanguage::CSharp ? csharp : java;
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

/// The size of the operator at `i`: the operators of more than one character that the
/// recogniser tells apart ("=>", "+=", "?.", "::", "...", "??="...). ">>" is none: it closes
/// two lists of type arguments as often as it shifts.
size_t operatorSize(std::string_view s, size_t i) {
  const char a = s[i], b = i + 1 < s.size() ? s[i + 1] : '\0', c = i + 2 < s.size() ? s[i + 2] : '\0';
  if ((a == '?' && b == '?') || (a == '<' && b == '<')) return c == '=' ? 3 : 2;
  if (a == '.' && b == '.' && c == '.') return 3;
  switch (a) {
    case '=': return b == '>' || b == '=' ? 2 : 1;
    case '!': case '<': case '>': case '*': case '/': case '%': case '^': return b == '=' ? 2 : 1;
    case '&': return b == '&' || b == '=' ? 2 : 1;
    case '|': return b == '|' || b == '=' ? 2 : 1;
    case '+': return b == '+' || b == '=' ? 2 : 1;
    case '-': return b == '-' || b == '=' || b == '>' ? 2 : 1;
    case '?': return b == '.' ? 2 : 1;
    case ':': return b == ':' ? 2 : 1;
    default: return 1;
  }
}

/// Whether `word` may be a keyword: all of them are 2 to 12 lower-case letters.
bool mayBeKeyword(std::string_view word) {
  return word.size() >= 2 && word.size() <= 12 && word[0] >= 'a' && word[0] <= 'z';
}

class Lexer {
 public:
  Lexer(std::string_view text, CurlyLanguage language, FileScan& scan)
      : s_(text), language_(language), scan_(scan), keywords_(keywordsOf(language)) {}

  std::vector<Token> run();

 private:
  void newline(size_t at) {
    ++line_;
    lineStart_ = at + 1;
  }
  /// From `i` to the end of its line (the LF itself not passed).
  size_t endOfLine(size_t i) const {
    const size_t end = s_.find('\n', i);
    return end == std::string_view::npos ? s_.size() : end;
  }
  size_t blockComment(size_t i);
  size_t string(size_t from, bool verbatim, bool interpolated);
  size_t closeHole(size_t i);
  size_t rawString(size_t quote);
  size_t character(size_t i) const;
  void push(size_t begin, size_t end, Token::Type type);
  /// The name's id, found again without a copy of it (the text outlives the lexer).
  NameId nameOf(std::string_view text) {
    auto [at, added] = seen_.try_emplace(text, 0);
    if (added) at->second = scan_.intern(text);
    return at->second;
  }

  std::string_view s_;
  CurlyLanguage language_;
  FileScan& scan_;
  const Keywords& keywords_;
  std::vector<Token> out_;
  // The holes of interpolated strings open around the text in hand, innermost last, and
  // the braces open in each.
  struct Hole {
    bool verbatim;
    int depth;
  };
  std::vector<Hole> holes_;
  std::unordered_map<std::string_view, NameId> seen_;
  std::uint32_t line_ = 1;
  size_t lineStart_ = 0;
};

size_t Lexer::blockComment(size_t i) {
  for (i += 2; i < s_.size(); ++i) {
    if (s_[i] == '\n') newline(i);
    if (s_[i] == '*' && i + 1 < s_.size() && s_[i + 1] == '/') return i + 2;
  }
  return s_.size();
}

/// Past a string, from `from` (just after its opening quote or after one of its holes): to
/// the next unescaped quote, or the end of the line when it has none; a verbatim string
/// runs over lines and doubles quotes. In an interpolated string a hole "{" stops it: the
/// hole's expression is read as tokens until its "}", after which the string goes on.
size_t Lexer::string(size_t from, bool verbatim, bool interpolated) {
  for (size_t i = from; i < s_.size(); ++i) {
    const char c = s_[i];
    if (c == '\n') {
      if (!verbatim) return i;
      newline(i);
    } else if (c == '\\' && !verbatim) {
      if (i + 1 < s_.size() && s_[i + 1] != '\n') ++i;
    } else if (c == '"') {
      if (verbatim && i + 1 < s_.size() && s_[i + 1] == '"')
        ++i;
      else
        return i + 1;
    } else if (c == '{' && interpolated) {
      if (i + 1 < s_.size() && s_[i + 1] == '{') {
        ++i;
      } else {
        holes_.push_back({verbatim, 0});
        return i + 1;
      }
    }
  }
  return s_.size();
}

/// At the "}" that closes the innermost hole, or the ":" of its format: past the format,
/// and on with the string around it.
size_t Lexer::closeHole(size_t i) {
  const Hole hole = holes_.back();
  holes_.pop_back();
  push(i, i, Token::Literal);  // the string goes on: what follows is no part of the hole
  while (i < s_.size() && s_[i] != '}' && s_[i] != '"' && s_[i] != '\n') ++i;
  if (i < s_.size() && s_[i] == '}') ++i;
  return string(i, hole.verbatim, true);
}

/// Past a raw string or text block: as many quotes close it as opened it (three or more).
size_t Lexer::rawString(size_t quote) {
  size_t count = 0;
  while (quote + count < s_.size() && s_[quote + count] == '"') ++count;
  size_t run = 0;
  for (size_t i = quote + count; i < s_.size(); ++i) {
    if (s_[i] == '\n') newline(i);
    if (s_[i] == '\\' && language_ == CurlyLanguage::Java) {
      run = 0;
      if (i + 1 < s_.size() && s_[i + 1] != '\n') ++i;
      continue;
    }
    run = s_[i] == '"' ? run + 1 : 0;
    if (run == count) return i + 1;
  }
  return s_.size();
}

size_t Lexer::character(size_t i) const {
  size_t p = i + 1;
  while (p < s_.size() && s_[p] != '\'' && s_[p] != '\n' && p - i < 12) p += s_[p] == '\\' ? 2 : 1;
  return p < s_.size() && s_[p] == '\'' ? p + 1 : std::min(p, s_.size());
}

void Lexer::push(size_t begin, size_t end, Token::Type type) {
  Token t;
  t.type = type;
  t.line = line_;
  t.column = static_cast<std::uint32_t>(begin - lineStart_);
  if (type != Token::Literal) t.text = s_.substr(begin, end - begin);
  if (type == Token::Name) {
    auto found = mayBeKeyword(t.text) ? keywords_.find(t.text) : keywords_.end();
    if (found != keywords_.end()) {
      t.type = Token::Keyword;
      t.kw = found->second;
    } else {
      t.name = nameOf(t.text);
    }
  }
  out_.push_back(t);
}

std::vector<Token> Lexer::run() {
  const size_t n = s_.size();
  out_.reserve(n / 5);
  bool lineBlank = true;
  size_t i = 0;
  while (i < n) {
    const auto c = static_cast<unsigned char>(s_[i]);
    const auto next = [&](size_t k) { return i + k < n ? s_[i + k] : '\0'; };
    if (c == '\n') {
      newline(i++);
      lineBlank = true;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++i;
      continue;
    }
    const bool wasBlank = lineBlank;
    lineBlank = false;
    if (c == '/' && next(1) == '/') {
      i = endOfLine(i);
    } else if (c == '/' && next(1) == '*') {
      i = blockComment(i);
    } else if (c == '#' && wasBlank && language_ == CurlyLanguage::CSharp) {
      i = endOfLine(i);
    } else if (c == '"' || (language_ == CurlyLanguage::CSharp && (c == '@' || c == '$'))) {
      // C# strings may be prefixed: @"verbatim", $"interpolated", $@"both", $$"""raw""".
      size_t q = i;
      bool verbatim = false, interpolated = false;
      for (; q < n && q - i < 4 && (s_[q] == '@' || s_[q] == '$'); ++q) {
        verbatim |= s_[q] == '@';
        interpolated |= s_[q] == '$';
      }
      if (q < n && s_[q] == '"') {
        const size_t begin = i;
        const bool raw = q + 2 < n && s_[q + 1] == '"' && s_[q + 2] == '"';
        const std::uint32_t line = line_;
        const size_t start = lineStart_;
        Token t;
        t.line = line;
        t.column = static_cast<std::uint32_t>(begin - start);
        out_.push_back(t);
        i = raw ? rawString(q) : string(q + 1, verbatim, interpolated);
      } else if (c == '@' && q == i + 1 && q < n && isIdentifierByte(static_cast<unsigned char>(s_[q])) &&
                 !isDigit(static_cast<unsigned char>(s_[q]))) {
        ++i;  // a verbatim name: @class is the name "class"
        size_t end = i;
        while (end < n && isIdentifierByte(static_cast<unsigned char>(s_[end]))) ++end;
        Token t;
        t.type = Token::Name;
        t.text = s_.substr(i, end - i);
        t.line = line_;
        t.column = static_cast<std::uint32_t>(i - lineStart_);
        t.name = nameOf(t.text);
        out_.push_back(t);
        i = end;
      } else if (c == '$') {
        size_t end = i;
        while (end < n && isIdentifierByte(static_cast<unsigned char>(s_[end]))) ++end;
        push(i, end, Token::Name);
        i = end;
      } else {
        push(i, i + 1, Token::Punct);
        ++i;
      }
    } else if (c == '\'') {
      push(i, i, Token::Literal);
      i = character(i);
    } else if (isDigit(c) || (c == '.' && isDigit(static_cast<unsigned char>(next(1))))) {
      push(i, i, Token::Literal);
      size_t p = i + 1;
      while (p < n) {
        const auto d = static_cast<unsigned char>(s_[p]);
        const bool exponentSign = (d == '+' || d == '-') && (s_[p - 1] == 'e' || s_[p - 1] == 'E');
        if (!isIdentifierByte(d) && !exponentSign &&
            !(d == '.' && p + 1 < n && isDigit(static_cast<unsigned char>(s_[p + 1]))))
          break;
        ++p;
      }
      i = p;
    } else if (isIdentifierByte(c)) {
      size_t end = i + 1;
      while (end < n && isIdentifierByte(static_cast<unsigned char>(s_[end]))) ++end;
      push(i, end, Token::Name);
      i = end;
    } else if (!holes_.empty() && (c == '{' || c == '}' || c == '(' || c == ')' ||
                                   (c == ':' && next(1) != ':'))) {
      // In a hole, brackets are counted: its own "}", or a ":" outside them, ends it.
      Hole& hole = holes_.back();
      if (c == '{' || c == '(') {
        ++hole.depth;
        push(i, i + 1, Token::Punct);
        ++i;
      } else if (c == ')' || (hole.depth > 0 && c == '}')) {
        hole.depth -= hole.depth > 0;
        push(i, i + 1, Token::Punct);
        ++i;
      } else if (hole.depth > 0) {
        push(i, i + 1, Token::Punct);
        ++i;
      } else {
        i = closeHole(i);
      }
    } else {
      const size_t size = operatorSize(s_, i);
      push(i, i + size, Token::Punct);
      i += size;
    }
  }
  return std::move(out_);
}

}  // namespace

std::vector<Token> lexCurly(std::string_view text, CurlyLanguage language, FileScan& scan) {
  return Lexer(text, language, scan).run();
}

}  // namespace quillon::xref
