// The one-sweep keyword search, against plain searches for each keyword, and the facts
// about tags and keywords that the whole-table keyword pass relies on.
#include "engine/keyword_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/escape.h"
#include "engine/keyword_sets.h"
#include "engine/keywords.h"

using namespace quillon;

namespace {

const SourceLanguage tables[] = {SourceLanguage::Cpp, SourceLanguage::CSharp, SourceLanguage::Java,
                                 SourceLanguage::VB};

/// A matcher under test and the table it was built from.
struct Tested {
  const KeywordMatcher* matcher;
  KeywordTable table;
};

/// Each fixed table's matcher, and those of tables with today's keywords and a user's
/// words, long enough that an entry's number takes more than a byte.
std::vector<Tested> testedMatchers() {
  static const auto added = [] {
    KeywordAdditions additions;
    additions.modern = true;
    for (std::vector<std::string>& words : additions.words) {
      for (int i = 0; i < 200; ++i) words.push_back("w" + std::to_string(i));
      words.insert(words.end(), {"a-b", "$x", "@y", "#region2", "x", "MYAPI"});
    }
    return std::make_shared<const KeywordSet>(additions);
  }();
  std::vector<Tested> all;
  for (SourceLanguage language : tables)
    all.push_back({&keywordMatcherFor(language), keywordTableFor(language)});
  for (SourceLanguage language : tables)
    all.push_back({&added->matcher(language), added->table(language)});
  return all;
}

/// (start, keyword) of every occurrence of every distinct keyword, by plain searches.
std::vector<std::pair<size_t, std::string>> searchEach(const KeywordMatcher& m,
                                                       std::string_view text) {
  std::vector<std::pair<size_t, std::string>> found;
  for (size_t id = 0; id < m.distinctCount(); ++id)
    for (size_t p = text.find(m.word(id)); p != std::string_view::npos;
         p = text.find(m.word(id), p + 1))
      found.push_back({p, std::string(m.word(id))});
  std::sort(found.begin(), found.end());
  return found;
}

/// (start, keyword) of the occurrences that end by `end`.
std::vector<std::pair<size_t, std::string>> named(
    const KeywordMatcher& m, const std::vector<KeywordMatcher::Occurrence>& occ,
    size_t end = std::string_view::npos) {
  std::vector<std::pair<size_t, std::string>> found;
  for (const auto& o : occ) {
    const std::string_view w = m.word(m.idOf(o.rank()));
    if (o.start() + w.size() <= end) found.push_back({o.start(), std::string(w)});
  }
  std::sort(found.begin(), found.end());
  return found;
}

/// Source text rich in keywords, their parts, and the bytes that escaping widens.
std::string randomSource(std::mt19937& random, KeywordTable table) {
  static const char* pieces[] = {" ",
                                 " ",
                                 "\t",
                                 "<",
                                 ">",
                                 "&",
                                 ";",
                                 "nbsp",
                                 "&nbsp;",
                                 "amp;",
                                 "&#",
                                 "#",
                                 "x",
                                 "_",
                                 "(",
                                 "/",
                                 "\"",
                                 "using namespace",
                                 "#pragma once",
                                 "using\tnamespace",
                                 "\xEF",
                                 "\x80"};
  std::string out;
  for (size_t i = 0, n = random() % 30; i < n; ++i) {
    std::string_view w = table.words[random() % table.size];
    switch (random() % 4) {
      case 0:
        out += w;
        break;
      case 1:
        out += w.substr(random() % w.size());
        break;
      default:
        out += pieces[random() % std::size(pieces)];
        break;
    }
  }
  return out;
}

}  // namespace

TEST(KeywordMatcher, FindsEveryOccurrenceOfEveryKeywordInOneSweep) {
  std::mt19937 random(7);
  for (const Tested& t : testedMatchers()) {
    const KeywordMatcher& m = *t.matcher;
    for (int round = 0; round < 500; ++round) {
      const std::string text = escapeLine(randomSource(random, t.table));
      std::vector<KeywordMatcher::Occurrence> found;
      m.findAll(text, found);
      ASSERT_EQ(named(m, found), searchEach(m, text)) << text;
      for (size_t i = 1; i < found.size(); ++i)  // in order of their ends
        ASSERT_LE(found[i - 1].start() + m.word(m.idOf(found[i - 1].rank())).size(),
                  found[i].start() + m.word(m.idOf(found[i].rank())).size());
    }
  }
}

TEST(KeywordMatcher, ReadingTheSourceFindsWhatItsEscapedFormHolds) {
  std::mt19937 random(11);
  for (const Tested& t : testedMatchers()) {
    const KeywordMatcher& m = *t.matcher;
    ASSERT_TRUE(m.searchesSource());
    for (int round = 0; round < 500; ++round) {
      const std::string source = randomSource(random, t.table);
      const std::string escaped = escapeLine(source);
      std::vector<KeywordMatcher::Occurrence> found;
      m.findAllEscaped(source, std::string_view::npos, found);
      ASSERT_EQ(named(m, found), searchEach(m, escaped)) << source;
      // With a place to stop at, everything that ends by it is still found.
      const size_t stop = random() % (escaped.size() + 1);
      found.clear();
      m.findAllEscaped(source, stop, found);
      ASSERT_EQ(named(m, found, stop), named(
                                           m,
                                           [&] {
                                             std::vector<KeywordMatcher::Occurrence> all;
                                             m.findAll(escaped, all);
                                             return all;
                                           }(),
                                           stop))
          << source << " stopping at " << stop;
    }
  }
}

TEST(KeywordMatcher, EscapingWhileSearchingGivesTheEscapingAndTheSearchUpToTheFirstComment) {
  std::mt19937 random(13);
  for (const Tested& t : testedMatchers()) {
    const KeywordMatcher& m = *t.matcher;
    for (int round = 0; round < 500; ++round) {
      std::string source = randomSource(random, t.table);
      if (random() % 3 == 0) source.insert(random() % (source.size() + 1), "//");
      std::string expected = "kept ", escaped = "kept ";
      const unsigned holds = appendEscapedNoting(expected, source);
      std::vector<KeywordMatcher::Occurrence> found = {{42}};
      ASSERT_EQ(m.escapeAndFind(escaped, source, found), holds) << source;
      ASSERT_EQ(escaped, expected);
      // Everything that ends by the first "//" (nothing can end within it), in order.
      const size_t comment = std::min(expected.find("//"), expected.size()) - 5;
      std::vector<KeywordMatcher::Occurrence> all;
      m.findAll(expected.substr(5), all);
      ASSERT_EQ(named(m, found), named(m, all, comment)) << source;
      for (size_t i = 1; i < found.size(); ++i)
        ASSERT_LE(found[i - 1].start() + m.word(m.idOf(found[i - 1].rank())).size(),
                  found[i].start() + m.word(m.idOf(found[i].rank())).size());
    }
  }
}

TEST(KeywordTables, NoKeywordCanBeFoundInOrAcrossTheInsertedTags) {
  // The font tags the comment and keyword passes insert, for any colour: no keyword
  // lies within them, and as they begin with "<" and end with ">", which no keyword
  // holds, none lies across their ends. Nor does one lie within an entity of the
  // escaping (a keyword spelt "amp" would be coloured inside "&amp;").
  const std::string openTag = "<font color=\"#??????\">";
  const std::string hex = "0123456789abcdef";
  auto within = [&](std::string_view w, std::string_view tag) {
    for (size_t at = 0; at + w.size() <= tag.size(); ++at) {
      bool matches = true;
      for (size_t i = 0; i < w.size() && matches; ++i)
        matches = tag[at + i] == '?' ? hex.find(w[i]) != std::string::npos : tag[at + i] == w[i];
      if (matches) return true;
    }
    return false;
  };
  for (const Tested& t : testedMatchers()) {
    for (std::string_view w : t.table) {
      EXPECT_FALSE(within(w, openTag)) << w;
      EXPECT_FALSE(within(w, "</font>")) << w;
      for (std::string_view entity : {"&nbsp;", "&lt", "&gt", "&amp;"})
        EXPECT_FALSE(within(w, entity)) << w;
      EXPECT_EQ(w.find_first_of("<>\"\\ \t"), std::string_view::npos) << w;
      EXPECT_TRUE(w.front() != '/' && w.front() != '*' && w.back() != '/' && w.back() != '*') << w;
    }
  }
}
