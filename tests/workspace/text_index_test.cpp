// The text index of a workspace (--text-search): its lines as the pages show them, its
// escaping, its trigram lists and shards, and what a workspace gets with it and without.
#include "workspace/text_index.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <thread>

#include "engine/line_reader.h"
#include "tests/workspace/workspace_fixture.h"

using namespace quillon;
using namespace testing_support;

namespace {

using Files = std::map<std::string, std::string>;

Files build(const std::vector<TextIndexFile>& files, size_t blockSize, TextIndexSizes* sizes = nullptr,
            int threads = 1) {
  Files out;
  std::mutex taking;  // the trigrams' shards come from several threads
  EXPECT_TRUE(buildTextIndex(
      files,
      [&](const std::string& name, const std::string& text) {
        std::lock_guard<std::mutex> hold(taking);
        return out.emplace(name, text).second;
      },
      sizes, {}, blockSize, nullptr, threads));
  return out;
}

}  // namespace

TEST(TextIndex, ScriptStringsEscapeWhatCouldEndAStringOrAScriptAndKeepOtherText) {
  const std::u16string hostile = u"say \"</script>\" \\ & \u2028\u2029 caf\u00e9 \u20AC\x01\x7F\u0085\uFEFF";
  EXPECT_EQ(textScriptString(hostile),
            "\"say \\\"\\u003C/script\\u003E\\\" \\\\ \\u0026 \\u2028\\u2029 caf\xC3\xA9 \xE2\x82\xAC"
            "\\u0001\\u007F\\u0085\\uFEFF\"");
  std::u16string nul = u"a";
  nul += u'\0';
  nul += u'\xD800';  // a lone surrogate
  nul += u"\U0001F600";
  EXPECT_EQ(textScriptString(nul), "\"a\\u0000\\uD800\xF0\x9F\x98\x80\"");
}

TEST(TextIndex, LinesAreReadAsTheirPagesShowThem) {
  // windows-1252: a byte a character, so tabs go by bytes.
  EXPECT_EQ(pageLineText("r\xE9s\t\x80\tx", false), u"r\u00E9s \u20AC   x");
  // UTF-8: tabs after a multi-byte character go by characters, the mark is dropped.
  EXPECT_EQ(pageLineText("\xEF\xBB\xBF" "caf\xC3\xA9\tx", true), u"caf\u00E9    x");
  EXPECT_EQ(pageLineText("\tx\xC3\xA9", true), u"    x\u00E9");
  EXPECT_EQ(pageLineText("junk\xEF\xBB\xBFtext", false), u"text");
  // A sequence that breaks off, a byte that begins none, an overlong form.
  EXPECT_EQ(pageLineText("a\xE2\x82z\xFF\xC0\xAF", true), u"a\uFFFDz\uFFFD\uFFFD\uFFFD");
}

TEST(TextIndex, TrigramKeysLowerCaseAsAScriptDoes) {
  std::vector<std::uint32_t> keys;
  appendTrigramKeys(u"AbCd", keys);
  EXPECT_EQ(keys, (std::vector<std::uint32_t>{'a' << 16 | 'b' << 8 | 'c', 'b' << 16 | 'c' << 8 | 'd'}));
  keys.clear();
  appendTrigramKeys(u"\u00C9t\u212A", keys);  // every other character is U+0080; KELVIN SIGN is "k"
  EXPECT_EQ(keys, (std::vector<std::uint32_t>{0x80 << 16 | 't' << 8 | 'k'}));
  keys.clear();
  appendTrigramKeys(u"\u0130x", keys);  // "i", a combining dot, "x"
  EXPECT_EQ(keys, (std::vector<std::uint32_t>{'i' << 16 | 0x80 << 8 | 'x'}));
  keys.clear();
  appendTrigramKeys(u"ab", keys);
  EXPECT_TRUE(keys.empty());
}

TEST(TextIndex, EachTrigramListsTheBlocksOfItsLinesAndEachBlockItsLines) {
  TempDir dir;
  std::string many = "abc\n";
  for (int i = 0; i < 43; ++i) many += "qq\n";
  many += "xAbc\t\"</script>\"\n";  // the 45th line: block 45 with one line a block
  dir.write("one.c", many);
  dir.write("picture.c", std::string("\x89PNG\r\n\x1A\n\0\0\0", 11));
  dir.write("two.c", "zzz\r\n\xEF\xBB\xBF" "abc\r\n");
  TextIndexSizes sizes;
  // Definitions on lines 3 and 45 of one.c (with cross-references): the index says where.
  const Files out = build({{dir.path() + "/one.c", "one.c", "one.c.htm", "one.c", "one.c.htm", {3, 45}},
                           {dir.path() + "/picture.c", "picture.c", "picture.c.htm", "picture.c", "", {}},
                           {dir.path() + "/two.c", "sub/two.c", "sub~two.c.htm", "sub\\two.c", "", {}}},
                          1, &sizes);
  EXPECT_EQ(sizes.lines, 47u);
  EXPECT_EQ(sizes.blocks, 47u);
  ASSERT_EQ(sizes.shards, 1u);
  EXPECT_EQ(out.size(), 47u + 2);
  EXPECT_EQ(out.at("text/l44.js"),
            "\xEF\xBB\xBFquillonTextBlock(44, [\n[0,45,\"xAbc    \\\"\\u003C/script\\u003E\\\"\"]]);\n");
  EXPECT_EQ(out.at("text/l46.js"), "\xEF\xBB\xBFquillonTextBlock(46, [\n[2,2,\"abc\"]]);\n");
  const std::string& grams = out.at("text/t0.js");
  // Blocks 0, 44 and 46: deltas 0, 43 and 1 ("#", "Q", "$"); "xab" in block 44: "R$" (44 =
  // 0 + 44 x 1, the digit that carries on first); "zzz" in block 45: "S$".
  EXPECT_NE(grams.find("\n\"abc\":\"#Q$\""), std::string::npos) << grams.substr(0, 400);
  EXPECT_NE(grams.find("\n\"xab\":\"R$\""), std::string::npos);
  EXPECT_NE(grams.find("\n\"zzz\":\"S$\""), std::string::npos);
  EXPECT_EQ(grams.find("qq\n"), std::string::npos);
  EXPECT_EQ(out.at("text/index.js"),
            "\xEF\xBB\xBFquillonTextIndex({\"gram\": 3, \"shards\": 1, \"blocks\": 47, \"lines\": 47, "
            "\"files\": [\n[\"one.c\",\"one.c.htm\",\"one.c\"],\n"
            "[\"picture.c\",\"picture.c.htm\",\"picture.c\",0],\n"
            "[\"sub/two.c\",\"sub~two.c.htm\",\"sub\\\\two.c\"]\n], \"defs\": {\n\"0\": [3,42]\n}});\n");
}

TEST(TextIndex, ATrigramIsListedInEveryBlockThatHoldsItThroughManyBlocks) {
  // "abc" in the first block and again tens of thousands of blocks on, past any count of
  // blocks a narrow stamp could tell apart and across its list's growing chunks.
  TempDir dir;
  std::string text = "abc\n";
  for (int i = 1; i < 65535; ++i) text += "q\n";
  text += "abc\nabc\n";
  dir.write("long.c", text);
  TextIndexSizes sizes;
  const Files out = build({{dir.path() + "/long.c", "long.c", "long.c.htm", "long.c", "", {}}}, 1, &sizes);
  ASSERT_EQ(sizes.blocks, 65537u);
  const std::string& grams = out.at("text/t0.js");
  const size_t at = grams.find("\n\"abc\":\"");
  ASSERT_NE(at, std::string::npos);
  const std::string list = grams.substr(at + 8, grams.find('"', at + 8) - at - 8);
  // The digits: printable ASCII from "#" without backslash, "<", ">" and "&"; the first
  // 44 end a number, the next 44 carry on.
  std::string digits;
  for (char c = '#'; c <= '~'; ++c)
    if (c != '\\' && c != '<' && c != '>' && c != '&') digits += c;
  std::vector<unsigned> blocks;
  unsigned value = 0, scale = 1, last = 0;
  for (char c : list) {
    const unsigned d = static_cast<unsigned>(digits.find(c));
    ASSERT_LT(d, 88u) << list;
    value += (d % 44) * scale;
    scale *= 44;
    if (d >= 44) continue;
    last = blocks.empty() ? value : last + value + 1;
    blocks.push_back(last);
    value = 0;
    scale = 1;
  }
  EXPECT_EQ(blocks, (std::vector<unsigned>{0, 65535, 65536})) << list;
}

TEST(TextIndex, TextsTakenFromThePagesGiveTheIndexOfTheSourcesReadAgain) {
  TempDir dir;
  std::string big;
  for (int i = 0; i < 300; ++i) big += "\tline " + std::to_string(i) + " of \"big\" <b> & \x7F\n";
  dir.write("big.c", big);
  dir.write("utf8.c", "caf\xC3\xA9\tx\r\n\xEF\xBB\xBFmark\n");
  dir.write("ansi.c", "r\xE9sum\xE9\t\x80\n");
  dir.write("picture.c", std::string("\x89PNG\r\n\x1A\n\0\0\0", 11));
  dir.write("unfed.c", "read by the index itself\n");
  dir.write("utf16.c", std::string("\xFF\xFE" "a\0b\0\n\0", 8));
  std::vector<TextIndexFile> files;
  for (const char* name : {"big.c", "utf8.c", "ansi.c", "picture.c", "unfed.c", "utf16.c"})
    files.push_back({dir.file(name), name, std::string(name) + ".htm", name, std::string(name) + ".htm", {}});
  const Files read = build(files, 256);
  // The texts come from another thread as the pages read them, out of order; the budget
  // lets the big one go, which the index then reads itself, as it does the one never given.
  TextIndexFeed feed(files, big.size() - 1);
  std::thread pages([&] {
    for (size_t i : {2, 0, 1, 3, 5}) {
      LineReader input;
      if (!input.open(files[i].diskPath) || !input.startsAsText()) continue;
      std::string kept;
      input.keepText(&kept);
      const bool utf8 = input.isUtf8();
      for (std::string_view line; input.readLine(line);) {
      }
      EXPECT_TRUE(input.keptWhole());
      feed.take(files[i].page, std::move(kept), utf8);
    }
    feed.take("no such page.htm", "x", false);
    feed.close();
  });
  Files fed;
  EXPECT_TRUE(buildTextIndex(
      files, [&](const std::string& name, const std::string& text) { return fed.emplace(name, text).second; },
      nullptr, {}, 256, &feed));
  pages.join();
  EXPECT_EQ(fed, read);
  EXPECT_GT(fed.size(), 10u);
  std::string text;
  bool utf8 = true;
  EXPECT_FALSE(feed.wait(4, &text, &utf8));  // never given, and the feed is closed
}

TEST(TextIndex, ManyTrigramsAreSplitIntoShardsByTheirNumberAndLinesIntoBlocksBySize) {
  TempDir dir;
  std::string text;
  unsigned seed = 1;
  for (int line = 0; line < 4000; ++line) {
    for (int i = 0; i < 40; ++i) {
      seed = seed * 1103515245 + 12345;
      text += static_cast<char>('!' + (seed >> 16) % 94);
    }
    text += '\n';
  }
  dir.write("noise.c", text);
  TextIndexSizes sizes;
  const Files out = build({{dir.path() + "/noise.c", "noise.c", "noise.c.htm", "noise.c", "", {}}}, 4096, &sizes);
  ASSERT_GT(sizes.shards, 2u);
  EXPECT_GT(sizes.blocks, 30u);
  EXPECT_LT(sizes.blocks, 60u);
  size_t seen = 0;
  for (size_t k = 0; k < sizes.shards; ++k) {
    const std::string& shard = out.at("text/t" + std::to_string(k) + ".js");
    // Each key of plain letters stands in the shard of its number.
    for (size_t at = shard.find("\n\""); at != std::string::npos; at = shard.find("\n\"", at + 1)) {
      const std::string key = shard.substr(at + 2, 3);
      if (shard.compare(at + 5, 2, "\":") || key.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
        continue;
      ++seen;
      const size_t number = (static_cast<size_t>(key[0]) * 129 + key[1]) * 129 + key[2];
      EXPECT_EQ(number % sizes.shards, k) << key;
    }
  }
  EXPECT_GT(seen, 100u);
  EXPECT_GT(sizes.indexBytes, text.size());
  // Made on three threads, the shards are the same files.
  TextIndexSizes threaded;
  EXPECT_EQ(build({{dir.path() + "/noise.c", "noise.c", "noise.c.htm", "noise.c", "", {}}}, 4096, &threaded, 3),
            out);
  EXPECT_EQ(threaded.indexBytes, sizes.indexBytes);
}

TEST(TextIndex, AWorkspaceWithTextSearchHasItsIndexAnchorsAndScriptsAndWithoutItNone) {
  for (bool on : {true, false}) {
    WorkspaceFixture f;
    for (const char* name : {"data/SourceTree_Template.htm", "data/ProjectTree_Template.htm"})
      f.dir.write(name, "<html><head>\n<script src=\"Tree.js\"></script>\n</head><body>\n<FOLDERS>\n</body></html>\n");
    f.dir.write("data/TextSearch.js", "// text search\n");
    f.source("a/util.c", "int util;\n\tint second;\n");
    f.source("b/util.c", "int other;\n");
    f.settings.textSearch = on;
    f.fileSet({"a/util.c", "b/util.c"});
    EXPECT_EQ(f.run.problemCount, 0);
    const std::string tree = f.dir.read("out/Project_HTML/SourceTree.htm");
    const std::string page = f.dir.read("out/Project_HTML/util.c.htm");
    EXPECT_EQ(tree.find("<script src=\"Tree.js\"></script>\r\n<script src=\"TextSearch.js\"></script>\r\n") !=
                  std::string::npos, on);
    EXPECT_EQ(page.find("<script src=\"TextSearch.js\"></script>") != std::string::npos, on);
    EXPECT_EQ(page.find("<nobr id=L2>") != std::string::npos, on);
    EXPECT_EQ(platform::fileExists(f.out + "/Project_HTML/TextSearch.js"), on);
    EXPECT_EQ(platform::directoryExists(f.out + "/Project_HTML/text"), on);
    if (!on) continue;
    EXPECT_EQ(f.dir.read("out/Project_HTML/text/l0.js"),
              "\xEF\xBB\xBFquillonTextBlock(0, [\r\n[0,1,\"int util;\",\"    int second;\"],\r\n"
              "[1,1,\"int other;\"]]);\r\n");
    const std::string index = f.dir.read("out/Project_HTML/text/index.js");
    EXPECT_NE(index.find("\"util.c.htm\""), std::string::npos) << index;
    EXPECT_NE(index.find("\"b~util.c.htm\""), std::string::npos) << index;
  }
}
