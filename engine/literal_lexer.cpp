#include "engine/literal_lexer.h"

namespace quillon {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isBlank(char c) { return c == ' ' || c == '\r' || c == '\f' || c == '\v'; }

bool isIdentChar(char c, SourceLanguage language) {
  return isAlnum(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80 ||
         (c == '$' && language == SourceLanguage::Java);
}

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words)
    if (word == w) return true;
  return false;
}

constexpr std::array<bool, 256> stopsOf(std::string_view stops) {
  std::array<bool, 256> s{};
  for (char c : stops) s[static_cast<unsigned char>(c)] = true;
  return s;
}
/// The bytes that end a run of plain code: those that may begin a literal, a number or a
/// directive, a tag or an entity, and the blanks (which keep a line's start).
constexpr std::array<bool, 256> codeStop = stopsOf("\"'#.@$&<0123456789 \r\f\v");
/// The bytes that may end, escape or begin the end of a literal, or begin a tag.
constexpr std::array<bool, 256> quotedStop = stopsOf("\"'\\<"), rawStop = stopsOf(")<"),
                                tagStop = stopsOf("<");

}  // namespace

LiteralLexer::LiteralLexer(std::string_view line, SourceLanguage language, LiteralState& state)
    : line_(line), language_(language), state_(state) {}

bool LiteralLexer::inLiteral() const {
  return skip_ > 0 || (state_.kind != LiteralState::Code && state_.kind != LiteralState::Number &&
                       state_.kind != LiteralState::Directive);
}

LiteralColour LiteralLexer::step(char c, size_t i, size_t next) {
  lineStart_ = atLineStart_;
  if (!isBlank(c)) atLineStart_ = false;
  if (skip_ > 0) {
    --skip_;
    return LiteralColour::String;
  }
  switch (state_.kind) {
    case LiteralState::Code: return code(c, i, next);
    case LiteralState::Directive: return LiteralColour::Directive;
    case LiteralState::Number:
      if (continuesNumber(c, next)) return LiteralColour::Number;
      state_.kind = LiteralState::Code;
      prevIdent_ = false;
      return code(c, i, next);
    case LiteralState::String: return quoted(c, '"');
    case LiteralState::Char: return quoted(c, '\'');
    case LiteralState::VbString:
    case LiteralState::Verbatim: return doubled(c, next);
    case LiteralState::Interpolated:
    case LiteralState::InterpolatedVerbatim: return interpolated(c, next);
    case LiteralState::Raw: return raw(c);
    case LiteralState::Block: return block(c);
  }
  return LiteralColour::None;
}

size_t LiteralLexer::skipPlain(size_t i, LiteralColour* colour) {
  if (skip_ > 0) return i;
  *colour = LiteralColour::String;
  switch (state_.kind) {
    case LiteralState::Code:
      *colour = LiteralColour::None;
      return skipCode(i);
    case LiteralState::Directive:
      *colour = LiteralColour::Directive;
      return skipText(i, tagStop);
    case LiteralState::String:
    case LiteralState::Char:
    case LiteralState::VbString:
    case LiteralState::Verbatim: return escape_ ? i : skipText(i, quotedStop);
    case LiteralState::Raw: return rawMatch_ > 0 ? i : skipText(i, rawStop);
    case LiteralState::Block: return escape_ || quoteRun_ > 0 ? i : skipText(i, quotedStop);
    default: return i;
  }
}

size_t LiteralLexer::skipText(size_t i, const std::array<bool, 256>& stops) const {
  // The escaping's entities stand for blanks, "&", "<" and ">": plain text in a literal.
  while (i < line_.size() && !stops[static_cast<unsigned char>(line_[i])]) ++i;
  return i;
}

size_t LiteralLexer::skipCode(size_t i) {
  // What `code` does with each of these characters, without its other tests.
  const bool visualBasic = language_ == SourceLanguage::VB;
  while (i < line_.size()) {
    const char c = line_[i];
    if (c == '&') {
      if (line_.compare(i, 6, "&nbsp;") == 0) {
        prevIdent_ = false;  // a blank: the line's start goes on
        i += 6;
        continue;
      }
      if (visualBasic) break;  // &H1F
      size_t size;
      sourceCharAt(line_, i, &size);
      prevIdent_ = false;
      atLineStart_ = false;
      i += size;
      continue;
    }
    const bool digit = c >= '0' && c <= '9';
    if (codeStop[static_cast<unsigned char>(c)] && !(digit && prevIdent_)) break;
    if (isIdentChar(c, language_)) {
      if (!prevIdent_) {
        identGap_ = i;
        identSize_ = 0;
        identTagged_ = false;
      }
      if (identSize_ < sizeof ident_) ident_[identSize_] = c;
      ++identSize_;
      prevIdent_ = true;
    } else {
      prevIdent_ = false;
    }
    atLineStart_ = false;
    ++i;
  }
  return i;
}

LiteralColour LiteralLexer::code(char c, size_t i, size_t next) {
  if (c == '#' && lineStart_ && language_ != SourceLanguage::Java) {
    state_.kind = LiteralState::Directive;
    return LiteralColour::Directive;
  }
  const bool afterIdent = prevIdent_;
  if (isIdentChar(c, language_)) {
    if (!afterIdent && isDigit(c)) {
      startNumber(c, byteAt(next) == 'x' || byteAt(next) == 'X');
      return LiteralColour::Number;
    }
    if (!afterIdent) {
      identGap_ = i;
      identSize_ = 0;
      identTagged_ = false;
    }
    if (identSize_ < sizeof ident_) ident_[identSize_] = c;
    ++identSize_;
    prevIdent_ = true;
    return LiteralColour::None;
  }
  prevIdent_ = false;
  if (c == '.' && !afterIdent && isDigit(byteAt(next))) {
    startNumber(c, false);
    return LiteralColour::Number;
  }
  // A prefix counts only when nothing but its own characters came since it began.
  const std::string_view prefix =
      afterIdent && !identTagged_ && identSize_ <= 3 ? std::string_view(ident_, identSize_) : "";
  if (c == '"') return cLike() && tryPrefix(prefix, i) ? LiteralColour::String : openString(i);
  if (c == '\'' && language_ != SourceLanguage::VB) {
    prefix_ = cLike() && isOneOf(prefix, {"L", "u8", "u", "U"});
    return openChar();
  }
  if (language_ == SourceLanguage::CSharp && (c == '@' || c == '$')) return openPrefixed(i);
  if (language_ == SourceLanguage::VB && c == '&' && !afterIdent) {
    const char base = byteAt(next);
    if (base == 'H' || base == 'h' || base == 'O' || base == 'o' || base == 'B' || base == 'b') {
      startNumber(c, base == 'H' || base == 'h');
      return LiteralColour::Number;
    }
  }
  return LiteralColour::None;
}

bool LiteralLexer::tryPrefix(std::string_view prefix, size_t i) {
  if (isOneOf(prefix, {"R", "LR", "u8R", "uR", "UR"}) && tryRaw(i)) {
    prefix_ = true;
    return true;
  }
  if (!isOneOf(prefix, {"L", "u8", "u", "U"})) return false;
  prefix_ = true;
  state_.kind = LiteralState::String;
  return true;
}

bool LiteralLexer::tryRaw(size_t i) {
  // The delimiter: up to 16 characters before "(", none of them a blank, a parenthesis, a
  // backslash, a quote or a control character; anything else makes no raw string.
  std::string delimiter;
  for (size_t j = i + 1; j < line_.size();) {
    if (line_[j] == '<') return false;  // a tag: no delimiter is split by one
    size_t size;
    const char c = sourceCharAt(line_, j, &size);
    if (c == '(') {
      state_.kind = LiteralState::Raw;
      state_.delimiter = std::move(delimiter);
      rawMatch_ = 0;
      return true;
    }
    if (delimiter.size() == maxRawDelimiter || c == ' ' || c == ')' || c == '\\' || c == '"' ||
        static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      return false;
    delimiter += c;
    j += size;
  }
  return false;
}

LiteralColour LiteralLexer::openString(size_t i) {
  // Three quotes or more open a text block (Java) or a raw string (C#).
  unsigned quotes = 1;
  while (quotes < 255 && byteAt(i + quotes) == '"') ++quotes;
  const bool java = language_ == SourceLanguage::Java;
  if ((java || language_ == SourceLanguage::CSharp) && quotes >= 3) {
    state_.kind = LiteralState::Block;
    state_.quotes = static_cast<uint8_t>(java ? 3 : quotes);
    state_.escapes = java;
    skip_ = state_.quotes - 1;
    quoteRun_ = 0;
    return LiteralColour::String;
  }
  state_.kind = language_ == SourceLanguage::VB ? LiteralState::VbString : LiteralState::String;
  return LiteralColour::String;
}

LiteralColour LiteralLexer::openChar() {
  state_.kind = LiteralState::Char;
  return LiteralColour::String;
}

LiteralColour LiteralLexer::openPrefixed(size_t i) {
  // $"...", @"...", $@"...", @$"...", $"""...""" (and more "$" for raw ones).
  size_t j = i;
  bool verbatim = false, interpolated = false;
  for (; j < line_.size() && j - i < 4 && (line_[j] == '@' || line_[j] == '$'); ++j)
    (line_[j] == '@' ? verbatim : interpolated) = true;
  if (byteAt(j) != '"') return LiteralColour::None;
  unsigned quotes = 0;
  while (quotes < 255 && byteAt(j + quotes) == '"') ++quotes;
  const unsigned prefix = static_cast<unsigned>(j - i);
  if (quotes >= 3 && !verbatim) {
    state_.kind = LiteralState::Block;
    state_.quotes = static_cast<uint8_t>(quotes);
    state_.escapes = false;
    quoteRun_ = 0;
    skip_ = prefix - 1 + quotes;
    return LiteralColour::String;
  }
  state_.kind = !interpolated ? LiteralState::Verbatim
                : verbatim   ? LiteralState::InterpolatedVerbatim
                             : LiteralState::Interpolated;
  state_.holes = 0;
  skip_ = prefix;  // the rest of the prefix and the quote
  return LiteralColour::String;
}

void LiteralLexer::startNumber(char c, bool hex) {
  state_.kind = LiteralState::Number;
  numberHex_ = hex;
  vbSuffix_ = false;
  numberPrev_ = c;
}

bool LiteralLexer::continuesNumber(char c, size_t next) {
  if (vbSuffix_) return false;
  const char prev = numberPrev_;
  numberPrev_ = c;
  if (isAlnum(c) || c == '_') return true;
  if (c == '.') return cLike() || isDigit(byteAt(next));
  const bool exponent = numberHex_ ? prev == 'p' || prev == 'P' : prev == 'e' || prev == 'E';
  if ((c == '+' || c == '-') && exponent && language_ != SourceLanguage::VB) return true;
  // C++'s digit separator stands between two digits (or letters of a hex number).
  if (c == '\'' && cLike() && isAlnum(byteAt(next))) return true;
  if (language_ == SourceLanguage::VB && (c == '%' || c == '&' || c == '@' || c == '!' || c == '#'))
    return vbSuffix_ = true;
  return false;
}

LiteralColour LiteralLexer::quoted(char c, char quote) {
  if (escape_) {
    escape_ = false;
  } else if (c == '\\') {
    escape_ = true;
  } else if (c == quote) {
    endLiteral();
  }
  return LiteralColour::String;
}

LiteralColour LiteralLexer::doubled(char c, size_t next) {
  if (c != '"') return LiteralColour::String;
  if (byteAt(next) == '"')
    skip_ = 1;  // "" stands for one quote
  else
    endLiteral();
  return LiteralColour::String;
}

LiteralColour LiteralLexer::interpolated(char c, size_t next) {
  if (state_.holes == 0) {
    if (c == '{' && byteAt(next) == '{') {
      skip_ = 1;
    } else if (c == '{') {
      state_.holes = 1;
    } else {
      return state_.kind == LiteralState::InterpolatedVerbatim ? doubled(c, next) : quoted(c, '"');
    }
    return LiteralColour::String;
  }
  // Inside a hole: a literal there is passed over whole, braces are counted.
  if (holeQuote_) {
    if (escape_) escape_ = false;
    else if (c == '\\') escape_ = true;
    else if (c == holeQuote_) holeQuote_ = 0;
  } else if (c == '"' || c == '\'') {
    holeQuote_ = c;
  } else if (c == '{') {
    if (state_.holes < 255) ++state_.holes;
  } else if (c == '}') {
    --state_.holes;
  }
  return LiteralColour::String;
}

LiteralColour LiteralLexer::raw(char c) {
  // ")" begins the end, and stands nowhere in the delimiter: a mismatch starts afresh.
  const std::string& delimiter = state_.delimiter;
  if (rawMatch_ > 0 && rawMatch_ <= delimiter.size() && c == delimiter[rawMatch_ - 1]) {
    ++rawMatch_;
  } else if (rawMatch_ == delimiter.size() + 1 && c == '"') {
    endLiteral();
  } else {
    rawMatch_ = c == ')' ? 1 : 0;
  }
  return LiteralColour::String;
}

LiteralColour LiteralLexer::block(char c) {
  if (state_.escapes && (escape_ || c == '\\')) {
    escape_ = !escape_;
    quoteRun_ = 0;
    return LiteralColour::String;
  }
  if (c != '"') {
    quoteRun_ = 0;
  } else if (++quoteRun_ == state_.quotes) {
    endLiteral();
  }
  return LiteralColour::String;
}

void LiteralLexer::endLiteral() {
  state_.kind = LiteralState::Code;
  state_.delimiter.clear();
  state_.holes = 0;
  escape_ = false;
  holeQuote_ = 0;
  rawMatch_ = 0;
  prevIdent_ = false;
}

void LiteralLexer::endLine(char last) {
  // A backslash at the end of a line joins the next to it (C and C++).
  const bool continued = last == '\\' && cLike();
  switch (state_.kind) {
    case LiteralState::Directive:
    case LiteralState::String:
      if (!continued) state_.kind = LiteralState::Code;
      break;
    case LiteralState::Number:
    case LiteralState::Char:
    case LiteralState::VbString:
    case LiteralState::Interpolated:
      state_.kind = LiteralState::Code;
      state_.holes = 0;
      break;
    default: break;
  }
}

}  // namespace quillon
