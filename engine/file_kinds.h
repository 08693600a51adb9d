#pragma once
// What kind of file a name designates, decided from the end of the name alone, and the
// two path helpers that every part uses to split paths.
#include <string>
#include <string_view>

namespace quillon {

enum class SourceLanguage { Cpp, CSharp, Java, VB, None };

/// True when `name` ends with `suffix`, ignoring ASCII letter case; false when either
/// is empty.
bool endsWithIgnoreCase(std::string_view name, std::string_view suffix);

bool isProjectFile(std::string_view name);   ///< .dsp .vcproj .vcxproj .csproj .vbproj .vjsproj
bool isSolutionFile(std::string_view name);  ///< .sln, a list of projects
bool isSourceFile(std::string_view name);    ///< the convertible source kinds, .rc included
bool isResourceFile(std::string_view name);  ///< images and resources, .rc included
bool isCppFile(std::string_view name);        ///< also .cc .cxx .hh .hxx .inl
bool isCSharpFile(std::string_view name);
bool isJavaFile(std::string_view name);      ///< .js counts as Java
bool isVisualBasicFile(std::string_view name);

/// The language by the first test that holds: C/C++, C#, Java, Visual Basic, else None.
SourceLanguage languageOf(std::string_view name);

/// True for the languages whose declarations get anchors (C/C++, C#, Java).
inline bool hasClassRecognition(SourceLanguage l) {
  return l == SourceLanguage::Cpp || l == SourceLanguage::CSharp || l == SourceLanguage::Java;
}

/// The text after the last "/" or "\" of `path`; all of it when it has neither.
std::string baseName(std::string_view path);

/// The text before the last "/" or "\" of `path`; empty when it has neither.
std::string directoryOf(std::string_view path);

/// One spelling for every way of writing a path to the same file, as Windows reads it:
/// "\" between names, "." names dropped, ".." taking away the name before it (kept at the
/// start of a relative path), ASCII letters in lower case. "Src\..\Calc.H" and "calc.h"
/// have the same key; a full path keeps its leading "\" (or drive). With `keepCase` the
/// letters stay as written, for files read from a disk that tells "a.h" from "A.h".
std::string pathKey(std::string_view path, bool keepCase = false);

}  // namespace quillon
