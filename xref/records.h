#pragma once
// The records of the cross-reference analysis: what one file defines, declares and uses,
// as the per-file scan finds it from the source text alone (no compiler, no other file).
// Records are small and flat: names are numbers into the file's own name list.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/placed_names.h"

namespace quillon::xref {

/// What a name stands for. Uses carry the kind the scanner takes them for, or Unknown (a
/// use of kind Struct is a tag, written after "struct", "union", "enum" or "class": it
/// names a class, struct, union or enum and nothing else).
enum class SymbolKind : std::uint8_t {
  Unknown,
  Namespace,   ///< C++ / C# namespace, Java package
  Module,      ///< VB Module
  Class,
  Struct,      ///< also a VB Structure
  Union,
  Interface,
  Record,      ///< C# / Java record
  Enum,
  Enumerator,  ///< an enum's member (Java: an enum constant)
  Typedef,     ///< typedef, C++ using-alias
  Delegate,
  Function,    ///< free or member function, method, constructor, destructor, operator,
               ///< VB Sub/Function/Declare
  Macro,       ///< object-like or function-like
  Field,       ///< data member of a class/struct/union
  Variable,    ///< global, namespace-level or file-static variable
  Constant,    ///< C# const, VB Const
  Property,    ///< also a C# indexer
  Event,
  Parameter,
  Local,
};

/// How a record's place relates to its name.
enum class Role : std::uint8_t {
  Definition,   ///< the name is defined here (a function with its body, a class with its
                ///< members, a variable, a macro, a typedef, an enumerator...)
  Declaration,  ///< declared only: a prototype, an extern variable, a forward class
  Read,         ///< used: read, or named as a type
  Call,         ///< used: called (the name is followed by its argument list)
  Write,        ///< used: assigned to (=, +=, ++, ...)
};

inline bool isUse(Role role) { return role >= Role::Read; }

/// Bits of `Record::flags`.
enum RecordFlags : std::uint8_t {
  FileLocal = 1,    ///< a definition seen only by its own file: C/C++ static at file or
                    ///< namespace scope, or in an anonymous namespace
  AfterMember = 2,  ///< a use written after "." or "->" (a member of something)
  AfterScope = 4,   ///< a use written after "::" (C++), qualified by `qualifier`
  Overload = 8,     ///< (set by the merge) one of several definitions of a scope and name
};

/// A name of the file: an index into `FileScan::names`. 0 is the empty name.
using NameId = std::uint32_t;

constexpr std::uint32_t none = 0xFFFFFFFFu;

/// One definition, declaration or use of a name.
struct Record {
  NameId name = 0;
  /// Definitions and declarations: the scope they are members of, outermost first, as one
  /// name with "::" between the parts ("A::B" for a member of class B in namespace A; ""
  /// at file level). Uses: the scope of the code that holds the use (the class and
  /// namespaces around it), where unqualified names are looked up first.
  NameId scope = 0;
  /// Uses: the class or namespace the name is a member of, as far as the scanner knows:
  /// what is written before "::" ("A::B" for A::B::f), or the declared type of the
  /// variable or expression before "." / "->" (the class name alone, without "*", "&",
  /// template arguments or "const"). Empty when unknown. Definitions of variables,
  /// fields, parameters and locals: their declared type the same way (so that a later
  /// "x.f" can be placed); functions: empty.
  NameId qualifier = 0;
  std::uint32_t line = 0;    ///< 1-based, as the page numbers its lines
  std::uint32_t column = 0;  ///< byte offset of the name's first character in its line
  /// Set by `finishScan`: which whole-identifier occurrence of the name on its line this is
  /// (0 for the first). The page finds the name again by it.
  std::uint32_t ordinal = 0;
  /// The record (index into `FileScan::records`) of the function whose body holds this
  /// one, for parameters, locals and uses inside a body; `none` at file, namespace or
  /// class level.
  std::uint32_t function = none;
  /// Uses of a parameter or local, resolved by the scanner within its function: the index
  /// of that parameter's or local's definition record. `none` for every other record.
  std::uint32_t local = none;
  SymbolKind kind = SymbolKind::Unknown;
  Role role = Role::Read;
  std::uint8_t flags = 0;
};

/// A base class or interface that a class, struct, interface or record definition names.
struct BaseOf {
  std::uint32_t record;  ///< the definition record of the class
  NameId base;           ///< the base as written, qualified or not ("B", "ns::B")
};

/// What the scan of one file yields.
struct FileScan {
  std::vector<std::string> names{std::string()};  ///< names[0] is ""
  std::vector<Record> records;  ///< in the order of their places (line, then column)
  std::vector<BaseOf> bases;
  bool caseInsensitive = false;  ///< Visual Basic: names compared without regard to case
  /// Which languages' names meet: 0 for C and C++, 1 for C# and Visual Basic (one runtime,
  /// so a call leads from one into the other), 2 for Java. A name of one family never
  /// leads into another.
  std::uint8_t family = 0;

  /// The id of `name`, added when new.
  NameId intern(std::string_view name);
  /// Lets go of what `intern` keeps to find names quickly (it is made again when needed).
  void releaseNameIndex();

  /// The text of line `line` when it holds a record: trimmed of leading and trailing
  /// blanks and cut to at most `lineTextLimit` bytes (at a character boundary). Empty for
  /// any other line.
  std::string_view lineText(std::uint32_t line) const;
  /// Keeps `text` as the text of `line`; lines come in ascending order.
  void keepLineText(std::uint32_t line, std::string_view text);

 private:
  // An open table of the names' ids by hash (its size a power of two, at most half full):
  // each slot the hash's high half and the id (0: empty; the empty name is never in it).
  // It holds the first `indexed_` names.
  std::vector<std::uint64_t> slots_;
  size_t indexed_ = 0;
  void indexNames();
  // The kept texts one after another, and where each line's stands.
  struct LineSpan {
    std::uint32_t line, start, size;
  };
  std::string texts_;
  std::vector<LineSpan> lineSpans_;
};

inline constexpr std::size_t lineTextLimit = 160;

/// The bytes of an identifier, as the page counts them: see `isPlacedNameByte`.
inline bool isIdentifierByte(unsigned char c) { return isPlacedNameByte(c); }

}  // namespace quillon::xref
