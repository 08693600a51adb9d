#include "classmodel/member_scan.h"

#include "engine/comments.h"
#include "engine/converter.h"
#include "engine/text_tests.h"

namespace quillon {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

void addMember(std::vector<MemberRecord>& members, std::string text, bool isFunction,
               bool isPublic) {
  if (text.size() > maxMemberTextLength) text.resize(maxMemberTextLength);
  members.push_back({std::move(text), memberIcon(isFunction, isPublic), isFunction, isPublic});
}

/// Whether position `p` of `m` lies in a block comment by the line's first "/*" and "*/".
bool inBlockCommentAt(std::string_view m, size_t p) {
  size_t a = m.find("/*");
  size_t b = m.find("*/");
  if (a != npos && b != npos) return a < p && p < b;
  if (a != npos) return a < p;
  if (b != npos) return p < b;
  return false;
}

/// Whether a "//" starts before position `p` of `m`.
bool inLineCommentAt(std::string_view m, size_t p) {
  size_t f = m.find("//");
  return f != npos && f + 1 <= p;
}

bool inCommentAt(std::string_view m, size_t p) {
  return inBlockCommentAt(m, p) || inLineCommentAt(m, p);
}

bool closesBefore(std::string_view m, size_t p) {
  size_t close = m.find('}');
  return close != npos && close < p;
}

/// The end of the part of a line that a parameter list continues into: its last ")",
/// else its last character.
size_t continuedPartEnd(std::string_view m) {
  size_t close = m.rfind(')');
  return close != npos ? close : m.size() - 1;
}

/// Function member: the name and parameter list around the line's first "(", read on
/// through further lines until the parentheses balance. False when that "(" stands in a
/// comment, so the line is left to the data-member step. `m` becomes the last line read.
bool takeFunctionMember(SourceFileConverter& converter, std::string& m, bool isPublic,
                        std::vector<MemberRecord>& members) {
  const size_t p = m.find('(');
  if (inCommentAt(m, p)) return false;
  size_t start = 0;
  for (size_t i = p; i-- > 0;) {
    if ((m[i] == ' ' || m[i] == ';') && i + 2 < p) {
      start = i + 1;
      break;
    }
  }
  const bool closed = m.find(')') != npos;
  const size_t end = closed ? m.rfind(')') : m.size() - 1;
  std::string text = m.substr(start, end + 1 - start);
  int depth = 0;
  for (char c : text) depth += c == '(' ? 1 : c == ')' ? -1 : 0;
  if (!closed) {
    std::string next;
    while (depth > 0 && converter.input.readLine(next)) {
      m = next;
      if (m.empty()) continue;
      const size_t partEnd = continuedPartEnd(m);
      for (size_t i = 0; i <= partEnd && depth > 0; ++i) {
        text += m[i];
        depth += m[i] == '(' ? 1 : m[i] == ')' ? -1 : 0;
      }
    }
  }
  addMember(members, std::move(text), true, isPublic);
  return true;
}

/// Data members: the names declared before the line's first ";", after the type.
void takeDataMembers(std::string_view m, bool isPublic, std::vector<MemberRecord>& members) {
  const size_t s = m.find(';');
  if (inCommentAt(m, s) || closesBefore(m, s)) return;
  bool seenIdentifier = false, spaceAfter = false, afterComma = true;
  size_t start = 0;
  for (size_t i = s; i-- > 0;) {
    const char c = m[i];
    if (isWordChar(c)) {
      if (!seenIdentifier) {
        seenIdentifier = true;
        spaceAfter = afterComma = false;
      } else if (afterComma) {
        afterComma = false;
      } else if (spaceAfter) {
        start = i + 1;
        break;
      } else {
        spaceAfter = afterComma = false;
      }
    } else if (c == ',') {
      spaceAfter = false;
      afterComma = true;
    } else if (c == ' ') {
      if (!afterComma) spaceAfter = true;
    } else if (c == ';') {
      start = i + 1;
      break;
    }
  }
  std::string piece;
  for (size_t i = start; i < s; ++i) {
    if (m[i] == ' ') continue;
    if (m[i] != ',') {
      piece += m[i];
      continue;
    }
    if (!piece.empty()) addMember(members, piece, false, isPublic);
    piece.clear();
  }
  if (!piece.empty()) addMember(members, piece, false, isPublic);
}

/// An enumerator without "=" or ",": the first run of identifier characters outside
/// comments.
void takeBareEnumerator(std::string_view m, bool isPublic, std::vector<MemberRecord>& members) {
  std::string run;
  for (size_t i = 0; i < m.size(); ++i) {
    const char c = m[i];
    if (isWordChar(c)) {
      run += c;
      continue;
    }
    if (!run.empty() || c == '}') break;
    if (c == '/' && i + 1 < m.size() && m[i + 1] == '/') break;
    if (c == '/' && i + 1 < m.size() && m[i + 1] == '*') {
      // The walk goes on after the first "*/" that follows: one before the "/*" (a
      // comment closed that began on an earlier line) would send it back to this "/*"
      // for ever.
      size_t close = m.find("*/", i + 1);
      if (close == npos) break;
      i = close + 1;
    }
  }
  if (!run.empty()) addMember(members, run, false, isPublic);
}

/// An enumerator before the line's first "=" (else its first ","), as written.
void takeEnumerator(std::string_view m, bool isPublic, std::vector<MemberRecord>& members) {
  const size_t p = m.find('=') != npos ? m.find('=') : m.find(',');
  if (inCommentAt(m, p) || closesBefore(m, p)) {
    takeBareEnumerator(m, isPublic, members);
    return;
  }
  bool letterSeen = false;
  size_t start = 0;
  for (size_t i = p; i-- > 0;) {
    if (m[i] == ' ' && letterSeen && i + 2 < p) {
      start = i + 1;
      break;
    }
    if (isLetter(m[i])) letterSeen = true;
  }
  addMember(members, std::string(m.substr(start, p - start)), false, isPublic);
}

}  // namespace

void scanMembers(SourceFileConverter& converter, std::string_view declaration, bool isEnum,
                 bool initialPublic, std::vector<MemberRecord>& members) {
  if (contains(declaration, "}")) return;
  bool isPublic = initialPublic;
  int depth = contains(declaration, "{") ? 1 : 0;
  std::string m;
  while (converter.input.readLine(m)) {
    // The members taken from this line (a parameter list may read on) start on it.
    const size_t line = converter.input.lineNumber();
    const size_t before = members.size();
    // The block-comment pass keeps the comment state; the member steps read the line as
    // written, so no markup of the program's own reaches a member text.
    std::string marked = m;
    const size_t lineComment = converter.inBlockComment ? npos : findLineComment(m, false);
    colourBlockComments(converter, marked, lineComment);
    if (converter.inBlockComment && !contains(m, "/*") && !contains(m, "*/")) continue;

    if (contains(m, "public:"))
      isPublic = true;
    else if (contains(m, "private:") || contains(m, "protected:"))
      isPublic = false;

    if (depth == 1 && isEnum) {
      if (contains(m, ",") || contains(m, "="))
        takeEnumerator(m, isPublic, members);
      else
        takeBareEnumerator(m, isPublic, members);
    } else if (depth == 1) {
      bool taken = contains(m, "(") && takeFunctionMember(converter, m, isPublic, members);
      if (!taken && contains(m, ";")) takeDataMembers(m, isPublic, members);
    }
    for (size_t k = before; k < members.size(); ++k) members[k].line = line;

    if (contains(m, "{")) ++depth;
    if (contains(m, "}") && --depth <= 0) return;
  }
}

}  // namespace quillon
