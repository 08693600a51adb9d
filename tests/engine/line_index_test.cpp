// The per-line indexes answer as the plain tests they stand for.
#include "engine/line_index.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/text_tests.h"

using namespace quillon;

TEST(LineIndex, AnswersAsThePlainTestsOnEveryPosition) {
  std::mt19937 random(3);
  static const char pieces[] = "\"\"\\/*ab ";
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    for (size_t i = 0, n = random() % 24; i < n; ++i)
      line += pieces[random() % (sizeof pieces - 1)];
    QuoteIndex quotes;
    quotes.build(line);
    for (size_t p = 0; p <= line.size(); ++p)
      for (size_t length : {0, 1, 2, 3})
        ASSERT_EQ(quotes.inside(p + length), insideQuotes(line, std::string(length, 'x'), p))
            << line << " at " << p << "+" << length;
    const CommentMarkers markers = CommentMarkers::of(line);
    EXPECT_EQ(markers.lineComment, line.find("//")) << line;
    EXPECT_EQ(markers.blockOpen, line.find("/*")) << line;
    EXPECT_EQ(markers.blockClose, line.find("*/")) << line;
  }
}

TEST(LineIndex, InsertionsAreMadeInOrderAtTheirGaps) {
  std::string out;
  applyInsertions("abc", {{0, "<"}, {1, "["}, {1, "]"}, {3, ">"}}, out);
  EXPECT_EQ(out, "<a[]bc>");
  applyInsertions("", {}, out);
  EXPECT_EQ(out, "");
}

TEST(LineIndex, TagIndexAnswersAsInsideTagOnEveryPosition) {
  std::mt19937 random(5);
  static const char* pieces[] = {"<a ", "<font ", "</a>", "</font>", "<", ">", "<a", "</",
                                 "x",   "\"",     " ",    "<b ",     "/"};
  for (int round = 0; round < 3000; ++round) {
    std::string line;
    for (size_t i = 0, n = random() % 12; i < n; ++i)
      line += pieces[random() % std::size(pieces)];
    TagIndex tags;
    tags.build(line);
    for (size_t p = 0; p <= line.size() + 1; ++p)
      ASSERT_EQ(tags.inside(p), insideTag(line, p)) << line << " at " << p;
  }
}
