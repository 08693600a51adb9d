#pragma once
// The tokens of a Visual Basic source text, as the cross-reference recogniser reads them:
// names, keywords (known without regard to case), punctuation, literals, and an end token
// after every statement: at a line end that no " _" continues, and at ":". Comments
// ("'" and REM), directives (#If, #Region) and the insides of strings are gone.
#include <cstdint>
#include <string_view>
#include <vector>

#include "xref/records.h"

namespace quillon::xref {

/// What a keyword does for the recogniser; `Plain` keywords only stop a word being a name.
enum class V : std::uint8_t {
  None, Plain, Type, Modifier, Dim, Const, Namespace, Module, Class, Structure, Interface,
  Enum, Sub, Function, Property, Get, Set, Event, Declare, Delegate, Operator, End, Exit,
  Skip, Inherits, Implements, As, New, Of, Me, MyBase, For, Each, Using, Catch, With, Call,
  Custom,
};

/// One token; an end of statement has the type `EndOfStatement` and no text.
struct VbToken {
  enum Type : std::uint8_t { Name, Keyword, Punct, Literal, EndOfStatement };
  std::string_view text;
  std::uint32_t line = 0, column = 0;
  NameId name = 0;
  Type type = EndOfStatement;
  V kw = V::None;
  bool is(std::string_view op) const { return type == Punct && text == op; }
};

/// The tokens of `text`; names are interned in `scan`. Linear in the text, for any bytes.
std::vector<VbToken> lexVisualBasic(std::string_view text, FileScan& scan);

}  // namespace quillon::xref
