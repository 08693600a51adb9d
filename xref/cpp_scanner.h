#pragma once
// The recogniser of the C and C++ scan (xref/scan_cpp.cpp): its frames of namespaces,
// classes and bodies, and the walk over the tokens that makes the records. Only the
// scan's own files include it.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xref/cpp_tokens.h"
#include "xref/records.h"

namespace quillon::xref::cpp {

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
};


}  // namespace quillon::xref::cpp
