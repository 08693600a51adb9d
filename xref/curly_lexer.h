#pragma once
// The tokens of a C# or Java source text, as the cross-reference recogniser reads them:
// names, keywords, punctuation and literals with their places; comments, preprocessor
// lines and the insides of strings are gone.
#include <cstdint>
#include <string_view>
#include <vector>

#include "xref/records.h"

namespace quillon::xref {

enum class CurlyLanguage : std::uint8_t { CSharp, Java };

/// What a keyword does for the recogniser; `Plain` keywords only stop a word being a name.
enum class Kw : std::uint8_t {
  None, Plain, Type, Var, Modifier, Const, Namespace, Package, Using, Import, Class, Struct,
  Interface, Enum, Record, Delegate, Event, This, Base, Pattern, OpensDeclaration, Statement,
  Operator, Extends, Implements, Where, In, New, Default,
};

struct Token {
  enum Type : std::uint8_t { Name, Keyword, Punct, Literal };
  std::string_view text;  ///< names, keywords and punctuation; empty for literals
  std::uint32_t line = 0, column = 0;
  NameId name = 0;        ///< names only
  Type type = Literal;
  Kw kw = Kw::None;

  bool is(std::string_view op) const { return type == Punct && text == op; }
};

/// The tokens of `text`; names are interned in `scan`. Linear in the text, for any bytes.
std::vector<Token> lexCurly(std::string_view text, CurlyLanguage language, FileScan& scan);

}  // namespace quillon::xref
