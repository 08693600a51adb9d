#pragma once
// A conversion context with default settings, for tests of the passes and the converter.
#include <string>
#include <string_view>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/line_pass.h"

namespace testing_support {

struct EngineFixture {
  quillon::ConversionSettings settings;
  quillon::RunState run;
  quillon::ReferenceLinkTable links;
  quillon::ClassModel classes;
  quillon::RunContext context{settings, run, links, classes, nullptr, nullptr,
                              &quillon::classModelPasses()};
  quillon::SourceFileConverter converter{context};

  /// Makes the converter read a file of `language` (as the converter would for a file
  /// named with that language's extension).
  void as(quillon::SourceLanguage language) { converter.language = language; }

  /// One source line through the whole line pass.
  std::string line(std::string raw) {
    quillon::convertLine(converter, raw);
    return raw;
  }

  /// Adds a reference link as the reader would.
  void addLink(const std::string& word, const std::string& url) {
    links.links.push_back({word, url});
    links.index[word] = static_cast<int>(links.links.size() - 1);
  }
};

// Markup of the default colours, for writing expectations.
inline const std::string K = "<font color=\"#0000ff\">";  // keyword
inline const std::string C = "<font color=\"#008000\">";  // comment
inline const std::string E = "</font>";
inline const std::string NB = "&nbsp;";

/// A keyword wrapped in the keyword colour.
inline std::string kw(std::string_view word) { return K + std::string(word) + E; }

}  // namespace testing_support
