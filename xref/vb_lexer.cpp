#include "xref/vb_lexer.h"

#include <string>
#include <unordered_map>

namespace quillon::xref {

namespace {

using VbKeywords = std::unordered_map<std::string_view, V>;  // views of the rows' words

const VbKeywords& vbKeywords() {
  static const VbKeywords table = [] {
    const std::pair<const char*, V> rows[] = {
        {"and andalso addressof alias ansi auto byref byval case cbool cbyte cchar cdate cdbl "
         "cdec cint clng cobj continue cshort csng cstr ctype csbyte cuint culng cushort "
         "directcast do else elseif erase error false finally from getref gettype global goto "
         "handles if in is isnot key let lib like loop mod nameof next not nothing on "
         "optional or orelse paramarray preserve raiseevent redim resume return select step stop "
         "then throw to true try trycast typeof until variant when where while wend xor yield "
         "await aggregate addhandler removehandler",
         V::Plain},
        {"boolean byte char date decimal double integer long object sbyte short single string "
         "uinteger ulong ushort",
         V::Type},
        {"public private protected friend shared shadows overloads overrides overridable "
         "mustoverride notoverridable mustinherit notinheritable partial readonly writeonly "
         "withevents default static async iterator widening narrowing",
         V::Modifier},
        {"dim", V::Dim}, {"const", V::Const}, {"namespace", V::Namespace}, {"module", V::Module},
        {"class", V::Class}, {"structure", V::Structure}, {"interface", V::Interface},
        {"enum", V::Enum}, {"sub", V::Sub}, {"function", V::Function}, {"property", V::Property},
        {"get", V::Get}, {"set", V::Set}, {"event", V::Event}, {"declare", V::Declare},
        {"delegate", V::Delegate}, {"operator", V::Operator}, {"end", V::End}, {"exit", V::Exit},
        {"imports option", V::Skip}, {"inherits", V::Inherits}, {"implements", V::Implements},
        {"as", V::As}, {"new", V::New}, {"of", V::Of}, {"me myclass", V::Me},
        {"mybase", V::MyBase}, {"for", V::For}, {"each", V::Each}, {"using", V::Using},
        {"catch", V::Catch}, {"with", V::With}, {"call", V::Call}, {"custom", V::Custom},
    };
    VbKeywords t;
    for (const auto& [words, kw] : rows) {
      std::string_view w(words);
      while (!w.empty()) {
        const size_t cut = w.find(' ');
        t.emplace(w.substr(0, cut), kw);
        w = cut == std::string_view::npos ? std::string_view() : w.substr(cut + 1);
      }
    }
    return t;
  }();
  return table;
}

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

/// The size of the operator at `i`: "<>", the comparisons, the shifts, the compound
/// assignments and ":=" are one each.
size_t vbOperatorSize(std::string_view s, size_t i) {
  const char a = s[i], b = i + 1 < s.size() ? s[i + 1] : '\0', c = i + 2 < s.size() ? s[i + 2] : '\0';
  if ((a == '<' && b == '<') || (a == '>' && b == '>')) return c == '=' ? 3 : 2;
  if (a == '<' && b == '>') return 2;
  if (b == '=' && (a == '<' || a == '>' || a == '+' || a == '-' || a == '*' || a == '/' ||
                   a == '\\' || a == '^' || a == '&' || a == ':'))
    return 2;
  return 1;
}

class VbLexer {
 public:
  VbLexer(std::string_view text, FileScan& scan) : s_(text), scan_(scan) {}
  std::vector<VbToken> run();

 private:
  void endStatement() {
    if (!out_.empty() && out_.back().type != VbToken::EndOfStatement) {
      VbToken t;
      t.line = line_;
      out_.push_back(t);
    }
  }
  void push(VbToken::Type type, size_t begin, size_t end) {
    VbToken t;
    t.type = type;
    t.text = s_.substr(begin, end - begin);
    t.line = line_;
    t.column = static_cast<std::uint32_t>(begin - lineStart_);
    out_.push_back(t);
  }
  void name(size_t begin, size_t end);
  size_t endOfLine(size_t i) const {
    const size_t e = s_.find('\n', i);
    return e == std::string_view::npos ? s_.size() : e;
  }
  /// Whether only blanks or a comment stand from `i` to the line's end.
  bool restIsBlank(size_t i) const {
    while (i < s_.size() && isBlank(s_[i])) ++i;
    return i >= s_.size() || s_[i] == '\n' || s_[i] == '\'';
  }

  /// "&H1F", "&O17", "&B101": a number; "a&b" joins a and b.
  bool radixPrefix(size_t i) const {
    if (i + 2 >= s_.size()) return false;
    const char r = static_cast<char>(s_[i + 1] | 0x20), d = static_cast<char>(s_[i + 2] | 0x20);
    const bool digit = (s_[i + 2] >= '0' && s_[i + 2] <= '9') || (r == 'h' && d >= 'a' && d <= 'f');
    return (r == 'h' || r == 'o' || r == 'b') && digit;
  }

  std::string_view s_;
  FileScan& scan_;
  std::vector<VbToken> out_;
  std::unordered_map<std::string_view, NameId> seen_;  // names found again without a copy
  std::uint32_t line_ = 1;
  size_t lineStart_ = 0;
};

void VbLexer::name(size_t begin, size_t end) {
  push(VbToken::Name, begin, end);
  VbToken& t = out_.back();
  const VbKeywords& keywords = vbKeywords();
  // Keywords are 2 to 14 letters, found in lower case.
  char lower[16];
  auto found = keywords.end();
  if (t.text.size() >= 2 && t.text.size() <= 14) {
    for (size_t k = 0; k < t.text.size(); ++k) {
      const char c = t.text[k];
      lower[k] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    found = keywords.find(std::string_view(lower, t.text.size()));
  }
  if (found != keywords.end()) {
    t.type = VbToken::Keyword;
    t.kw = found->second;
  } else {
    auto [at, added] = seen_.try_emplace(t.text, 0);
    if (added) at->second = scan_.intern(t.text);
    t.name = at->second;
  }
}

std::vector<VbToken> VbLexer::run() {
  const size_t n = s_.size();
  out_.reserve(n / 5);
  bool lineBlank = true;
  size_t i = 0;
  while (i < n) {
    const auto c = static_cast<unsigned char>(s_[i]);
    if (c == '\n') {
      endStatement();
      ++line_;
      lineStart_ = ++i;
      lineBlank = true;
      continue;
    }
    if (isBlank(static_cast<char>(c))) {
      ++i;
      continue;
    }
    const bool wasBlank = lineBlank;
    lineBlank = false;
    if (c == '\'' || (c == '#' && wasBlank)) {  // a comment, a directive (#If, #Region)
      i = endOfLine(i);
    } else if (c == '"') {
      push(VbToken::Literal, i, i);
      size_t p = i + 1;
      while (p < n && s_[p] != '\n' && !(s_[p] == '"' && !(p + 1 < n && s_[p + 1] == '"')))
        p += s_[p] == '"' ? 2 : 1;
      i = p < n && s_[p] == '"' ? p + 1 : p;
      if (i < n && (s_[i] == 'c' || s_[i] == 'C') &&
          !(i + 1 < n && isIdentifierByte(static_cast<unsigned char>(s_[i + 1]))))
        ++i;  // a character literal "a"c
    } else if (c == '#') {  // a date literal #1/2/2003#
      push(VbToken::Literal, i, i);
      const size_t close = s_.find('#', i + 1), end = endOfLine(i);
      i = close < end ? close + 1 : i + 1;
    } else if ((c >= '0' && c <= '9') || (c == '&' && radixPrefix(i))) {
      push(VbToken::Literal, i, i);
      size_t p = i + 1;
      while (p < n && (isIdentifierByte(static_cast<unsigned char>(s_[p])) || s_[p] == '.')) ++p;
      i = p;
    } else if (c == '[' && i + 1 < n && isIdentifierByte(static_cast<unsigned char>(s_[i + 1]))) {
      size_t p = i + 1;  // an escaped name: [Stop]
      while (p < n && isIdentifierByte(static_cast<unsigned char>(s_[p]))) ++p;
      if (p < n && s_[p] == ']') {
        push(VbToken::Name, i + 1, p);
        out_.back().name = scan_.intern(out_.back().text);
        i = p + 1;
      } else {
        push(VbToken::Punct, i, i + 1);
        ++i;
      }
    } else if (isIdentifierByte(c)) {
      size_t end = i + 1;
      while (end < n && isIdentifierByte(static_cast<unsigned char>(s_[end]))) ++end;
      const std::string_view word = s_.substr(i, end - i);
      if (word == "_" && restIsBlank(end)) {  // a line continued
        i = endOfLine(end);
        if (i < n) {
          ++line_;
          lineStart_ = ++i;
        }
        lineBlank = false;
        continue;
      }
      if (word.size() == 3 && folded(word) == "rem") {
        i = endOfLine(i);
        continue;
      }
      name(i, end);
      i = end;
    } else if (c == ':' && !(i + 1 < n && s_[i + 1] == '=')) {
      endStatement();
      ++i;
    } else {
      const size_t size = vbOperatorSize(s_, i);
      push(VbToken::Punct, i, i + size);
      i += size;
    }
  }
  endStatement();
  return std::move(out_);
}


}  // namespace

std::vector<VbToken> lexVisualBasic(std::string_view text, FileScan& scan) {
  return VbLexer(text, scan).run();
}

}  // namespace quillon::xref
