#include "engine/keywords.h"

#include "engine/converter.h"
#include "engine/text_tests.h"

namespace quillon {

namespace {
// C/C++ table, in the order in which they are applied; duplicates are part of the table.
const std::string_view cppKeywords[] = {
    "using&nbsp;namespace", "#pragma&nbsp;once", "namespace", "void", "const", "delete", "int",
    "char", "bool", "break", "switch", "case", "catch", "continue", "default", "for", "do",
    "float", "double", "false", "true", "long", "enum", "comment", "new", "this", "private",
    "public", "protected", "short", "unsigned", "short", "static", "volatile", "while",
    "return", "operator", "class", "struct", "inline", "extern", "#elif", "#include", "#ifndef",
    "#ifdef", "#define", "#undef", "#endif", "#else", "#if", "#import", "#error", "#pragma",
    "if", "else", "virtual", "try", "__declspec", "dllexport", "typedef",
};

// C# table, in the order in which they are applied; duplicates are part of the table.
const std::string_view csharpKeywords[] = {
    "abstract", "event", "new", "delete", "struct", "as", "explicit", "null", "switch", "base",
    "extern", "object", "this", "bool", "false", "operator", "throw", "break", "finally", "out",
    "true", "byte", "fixed", "override", "try", "case", "float", "params", "typeof", "catch",
    "for", "private", "uint", "char", "foreach", "protected", "ulong", "checked", "goto",
    "public", "unchecked", "class", "if", "readonly", "unsafe", "const", "implicit", "ref",
    "ushort", "continue", "in", "return", "using", "decimal", "int", "sbyte", "virtual",
    "default", "interface", "sealed", "volatile", "delegate", "internal", "short", "void", "do",
    "is", "sizeof", "while", "double", "lock", "stackalloc", "else", "long", "static", "enum",
    "namespace", "string", "#if", "#else", "#elif", "#endif", "#define", "#undef", "#warning",
    "#error", "#line", "#region", "#endregion",
};

// Java table, in the order in which they are applied; duplicates are part of the table.
const std::string_view javaKeywords[] = {
    "static", "class", "final", "implements", "instanceof", "interface", "package", "strictfp",
    "super", "synchronized", "throws", "transient", "delegate", "extends", "multicast", "null",
    "abstract", "event", "new", "delete", "struct", "as", "explicit", "null", "switch", "base",
    "extern", "object", "this", "bool", "false", "operator", "throw", "break", "finally", "out",
    "true", "byte", "fixed", "override", "try", "case", "float", "params", "typeof", "catch",
    "for", "private", "uint", "char", "foreach", "protected", "ulong", "checked", "goto",
    "public", "unchecked", "if", "readonly", "unsafe", "const", "implicit", "ref", "ushort",
    "continue", "in", "return", "using", "decimal", "int", "sbyte", "virtual", "default",
    "interface", "sealed", "volatile", "delegate", "internal", "short", "void", "do", "is",
    "sizeof", "while", "double", "lock", "stackalloc", "else", "long", "enum", "namespace",
    "string", "import", "#if", "#else", "#elif", "#endif", "#define", "#undef", "#warning",
    "#error", "#line", "#region", "#endregion",
};

// Visual Basic table, in the order in which they are applied; duplicates are part of the table.
const std::string_view vbKeywords[] = {
    "AddHandler", "AddressOf", "Alias", "And", "AndAlso", "Ansi", "As", "Assembly", "Auto",
    "Boolean", "ByRef", "Byte", "ByVal", "Call", "Case", "Catch", "CBool", "CByte", "CChar",
    "CDate", "CDec", "CDbl", "Char", "CInt", "Class", "CLng", "CObj", "Const", "CShort", "CSng",
    "CStr", "CType", "Date", "Decimal", "Declare", "Default", "Delegate", "Dim", "DirectCast",
    "Do", "Double", "Each", "Else", "ElseIf", "End", "Enum", "Erase", "Error", "Event", "Exit",
    "False", "Finally", "For", "Friend", "Function", "Get", "GetType", "GoTo", "Handles", "If",
    "Implements", "Imports", "In", "Inherits", "Integer", "Interface", "Is", "Lib", "Like",
    "Long", "Loop", "Me", "Mod", "Module", "MustInherit", "MustOverride", "MyBase", "MyClass",
    "Namespace", "New", "Next", "Not", "Nothing", "NotInheritable", "NotOverridable", "Object",
    "On", "Option", "Optional", "Or", "OrElse", "Overloads", "Overridable", "Overrides",
    "ParamArray", "Preserve", "Private", "Property", "Protected", "Public", "RaiseEvent",
    "ReadOnly", "ReDim", "REM", "RemoveHandler", "Resume", "Return", "Select", "Set", "Shadows",
    "Shared", "Short", "Single", "Static", "Step", "Stop", "String", "Structure", "Sub",
    "SyncLock", "Then", "Throw", "To", "True", "Try", "TypeOf", "Unicode", "Until", "When",
    "While", "With", "WithEvents", "WriteOnly", "Xor", "#Const", "#ExternalSource", "#If",
    "#Else", "#Region",
};

template <size_t N>
KeywordTable tableOf(const std::string_view (&words)[N]) {
  return {words, N};
}

}  // namespace

KeywordTable keywordTableFor(SourceLanguage language) {
  switch (language) {
    case SourceLanguage::CSharp: return tableOf(csharpKeywords);
    case SourceLanguage::Java: return tableOf(javaKeywords);
    case SourceLanguage::VB: return tableOf(vbKeywords);
    case SourceLanguage::Cpp:
    case SourceLanguage::None: break;
  }
  return tableOf(cppKeywords);
}

// The rule itself, one occurrence and one insertion at a time. The whole-table pass
// (keyword_pass.cpp) gives the same result in one sweep and falls back on this.
void colourKeyword(const SourceFileConverter& converter, std::string& line,
                   std::string_view keyword, size_t start) {
  if (converter.inBlockComment) return;
  const std::string& open = converter.markup.keywordOpen;
  static constexpr std::string_view close = "</font>";
  for (;;) {
    if (start >= line.size()) return;
    size_t p = line.find(keyword, start);
    if (p == npos) return;
    size_t e = p + keyword.size();
    if (e < line.size() && isWordChar(line[e])) return;
    if (p > 0 && isWordChar(line[p - 1]) &&
        !(p > 4 && line.compare(p - 5, 5, "&nbsp") == 0))
      return;
    size_t lineComment = line.find("//");
    if (lineComment != npos && lineComment < p) return;
    size_t blockOpen = line.find("/*");
    if (blockOpen != npos && blockOpen < p) {
      size_t blockClose = line.find("*/");
      if (blockClose != npos && blockClose > p) return;
    }
    if (insideQuotes(line, keyword, p)) return;
    line.insert(e, close);
    line.insert(p, open);
    start = e + open.size() + close.size();
  }
}

}  // namespace quillon
