#include "reflinks/reference_links.h"

#include <gtest/gtest.h>

#include "reflinks/rewrite_check.h"
#include "reflinks/url_safety.h"

#include <filesystem>
#include <iterator>
#include <random>

#include "tests/support/temp_dir.h"

using namespace quillon;
using testing_support::crlf;
using testing_support::TempDir;

namespace {

ReferenceLink record(std::string word, std::string link, std::string flags = "") {
  ReferenceLink r{std::move(word), std::move(link)};
  r.cpp = flags.find('c') != std::string::npos;
  r.csharp = flags.find('#') != std::string::npos;
  r.java = flags.find('j') != std::string::npos;
  r.vb = flags.find('v') != std::string::npos;
  r.all = flags.find('a') != std::string::npos;
  return r;
}

// word=link and the set flags, one record per entry, for compact expectations.
std::string describe(const ReferenceLinkTable& table) {
  std::string out;
  for (const ReferenceLink& r : table.links) {
    out += r.word + "=" + r.link + (r.cpp ? " c" : "") + (r.csharp ? " #" : "") +
           (r.java ? " j" : "") + (r.vb ? " v" : "") + (r.all ? " a" : "") + ";";
  }
  return out;
}

// name="text" for an opening element, /name for a closing one.
std::string describe(const std::vector<ReferenceLinkElement>& elements) {
  std::string out;
  for (const ReferenceLinkElement& e : elements)
    out += e.open ? e.name + "=\"" + e.text + "\" " : "/" + e.name + " ";
  return out;
}

ReferenceLinkTable parse(std::string_view text) {
  ReferenceLinkTable table;
  parseReferenceLinks(table, text);
  return table;
}

const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<referenceLinks>\n";
const std::string tail = "</referenceLinks>\n";

}  // namespace

TEST(ReferenceLinksFile, IsWrittenExactlyWithCrLfLineEnds) {
  TempDir dir;
  std::string path = dir.file("ReferenceLinks.xml");
  ReferenceLinkTable table;
  table.links.push_back(record("printf", "http://x/printf", "c#jva"));
  table.links.push_back(record("List", "List.htm"));
  EXPECT_EQ(formatItemLine(table.links[0]),
            "<item> <cpp/> <csharp/> <java/> <vb/> <all/> <word> printf</word>  "
            "<link> http://x/printf </link> </item> ");
  ASSERT_TRUE(
      saveReferenceLinksAdding(table, path, formatItemLine(record("cout", "ref/cout.htm", "c"))));
  EXPECT_EQ(dir.read("ReferenceLinks.xml"),
            crlf(head + formatItemLine(table.links[0]) + "\n" +
                 "<item> <word> List</word>  <link> List.htm </link> </item> \n"
                 "<item> <cpp/> <word> cout</word>  <link> ref/cout.htm </link> </item> \n" +
                 tail));
}

TEST(ReferenceLinksFile, WrittenFileReadsBackIntoTheSameRecordsInOrder) {
  TempDir dir;
  std::string path = dir.file("ReferenceLinks.xml");
  ReferenceLinkTable table;
  for (auto r : {record("cout", "ref/cout.htm", "c"), record("Console", "http://h/c?a=1&b", "#a"),
                 record("String", "s.htm", "jv"), record("x_y", "x.htm"),
                 record("my func", "f.htm", "c#jva")})
    table.links.push_back(r);
  ASSERT_TRUE(saveReferenceLinksAdding(table, path,
                                       "<item> <word> last</word>  <link> l </link> </item> "));
  ReferenceLinkTable back;
  back.links.push_back(record("stale", "stale"));
  EXPECT_TRUE(loadReferenceLinks(back, path));
  EXPECT_EQ(describe(back),
            "cout=ref/cout.htm c;Console=http://h/c?a=1&b # a;String=s.htm j v;x_y=x.htm;"
            "myfunc=f.htm c # j v a;last=l;");
  EXPECT_EQ(back.index.size(), 6u);
  EXPECT_EQ(back.index.at("myfunc"), 4);
  ASSERT_NE(findReferenceLink(back, "cout"), nullptr);
  EXPECT_EQ(*findReferenceLink(back, "cout"), "ref/cout.htm");
  EXPECT_EQ(findReferenceLink(back, "Cout"), nullptr);
}

TEST(ReferenceLinksFile, ReplacingAndRemovingAffectEveryRecordWithTheWord) {
  TempDir dir;
  std::string path = dir.file("ReferenceLinks.xml");
  ReferenceLinkTable table;
  for (auto r : {record("a", "1"), record("b", "2"), record("a", "3")}) table.links.push_back(r);
  ReferenceLinkTable back;
  ASSERT_TRUE(saveReferenceLinksReplacing(table, path, "a", formatItemLine(record("z", "9", "v"))));
  loadReferenceLinks(back, path);
  EXPECT_EQ(describe(back), "z=9 v;b=2;z=9 v;");
  ASSERT_TRUE(saveReferenceLinksRemoving(table, path, "a"));
  loadReferenceLinks(back, path);
  EXPECT_EQ(describe(back), "b=2;");
  EXPECT_EQ(table.links.size(), 3u);  // the saves leave the table alone
}

TEST(ReferenceLinksFile, SaveThatCannotWriteReturnsFalseAndKeepsTheOldFile) {
  TempDir dir;
  ReferenceLinkTable table;
  table.links.push_back(record("a", "1"));
  std::string unwritable = dir.file("missing/ReferenceLinks.xml");
  EXPECT_FALSE(saveReferenceLinksAdding(table, unwritable, "x"));
  EXPECT_FALSE(saveReferenceLinksReplacing(table, unwritable, "a", "x"));
  EXPECT_FALSE(saveReferenceLinksRemoving(table, unwritable, "a"));
  // A directory in the file's place cannot be replaced; the old content stays.
  std::string old = dir.write("busy/ReferenceLinks.xml/keep", "old");
  EXPECT_FALSE(saveReferenceLinksAdding(table, dir.file("busy/ReferenceLinks.xml"), "x"));
  EXPECT_EQ(testing_support::readFile(old), "old");
  auto left = std::filesystem::directory_iterator(dir.file("busy"));
  EXPECT_EQ(std::distance(left, std::filesystem::directory_iterator()), 1);  // no temporary
}

TEST(ReferenceLinksFile, MissingFileGivesAnEmptyTable) {
  TempDir dir;
  ReferenceLinkTable table;
  table.links.push_back(record("a", "1"));
  table.index["a"] = 0;
  EXPECT_TRUE(loadReferenceLinks(table, dir.file("ReferenceLinks.xml")));
  EXPECT_TRUE(table.links.empty());
  EXPECT_TRUE(table.index.empty());
}

TEST(ReferenceLinksReader, RemovesBlanksOnlyAfterTestingForEmptiness) {
  auto t = parse(
      "<item> <word> my func </word> <link> a b </link> </item>\n"
      "<item> <word>   </word> <link>x</link> </item>\n"
      "<item> <word>noLink</word> <link></link> </item>\n"
      "<item> <link>noWord</link> </item>\n");
  EXPECT_EQ(describe(t), "myfunc=ab;=x;");
  EXPECT_EQ(t.index.at(""), 1);
}

TEST(ReferenceLinksReader, ListsDuplicateWordsAndIndexesTheLaterOne) {
  auto t = parse(head +
                 "<item> <word>f</word> <link>1</link> </item>\n"
                 "<item> <word>g</word> <link>2</link> </item>\n"
                 "<item> <word>f</word> <link>3</link> </item>\n" +
                 tail);
  EXPECT_EQ(describe(t), "f=1;g=2;f=3;");
  EXPECT_EQ(t.index.size(), 2u);
  EXPECT_EQ(*findReferenceLink(t, "f"), "3");
}

TEST(ReferenceLinksReader, ItemCloseInTheFirstColumnIsIgnored) {
  auto handWritten = [](std::string_view close) {
    std::string item = "<item>\n<cpp/>\n<word>\nw1\n</word>\n<link>\nl1\n</link>\n";
    std::string second = "<item>\n<java>\n</java>\n<word>\nw2\n</word>\n<link>\nl2\n</link>\n";
    return head + item + std::string(close) + second + std::string(close) + tail;
  };
  EXPECT_EQ(describe(parse(handWritten("</item>\n"))), "w2=l2 c j;");
  EXPECT_EQ(describe(parse(handWritten(" </item>\n"))), "w1=l1 c;w2=l2 j;");
  // A text over several lines is joined without separators.
  EXPECT_EQ(describe(parse("<item><word>my\nfu\n  nc</word><link>u\n</link> </item>")),
            "myfunc=u;");
}

TEST(ReferenceLinksReader, FlagTagsMayBeOpenedAndClosed) {
  auto t = parse(
      "<item> <csharp></csharp> <vb>text</vb> <all> </all> "
      "<word>w</word> <link>l</link> </item>");
  EXPECT_EQ(describe(t), "w=l # v a;");
  EXPECT_EQ(describe(parse("<item> <word>w</word> <link>l</link> <java/></item>")), "w=l j;");
}

TEST(ReferenceLinksReader, BracketCutsTextAndHighBytesReadAsCommas) {
  EXPECT_EQ(describe(parse("<item> <word>a]b</word> <link> x]lost </link> </item>")), "a=x;");
  EXPECT_EQ(describe(parse("<item> <word>caf\xe9</word> <link>\x80\xff.htm</link> </item>")),
            "caf,=,,.htm;");
}

TEST(ReferenceLinksReader, ReadsLfAndCrLfAlike) {
  std::string lf = head +
                   "<item> <cpp/> <word> cout</word>  <link> ref/cout.htm </link> </item> \n" +
                   "<item>\n<word>\nw\n</word>\n<link>\nl\n</link>\n </item>\n" + tail;
  EXPECT_EQ(describe(parse(lf)), "cout=ref/cout.htm c;w=l;");
  EXPECT_EQ(describe(parse(crlf(lf))), describe(parse(lf)));
  EXPECT_EQ(describe(parse("<item><word>a\rb</word><link>l</link></item>")), "a\rb=l;");
}

TEST(ReferenceLinksScanner, FollowsTheTagRules) {
  // Self-closing: the closing element comes first.
  EXPECT_EQ(describe(scanReferenceLinkElements("<a> x<b/> y</a>")), "a=\" x\" /b b=\"\" /a ");
  // Attributes are skipped; text starts after ">".
  EXPECT_EQ(describe(scanReferenceLinkElements("<link href=\"q\">u</link>")), "link=\"u\" /link ");
  // A CDATA opener is skipped as nine characters; its end is cut by the "]".
  EXPECT_EQ(describe(scanReferenceLinkElements("<w><![CDATA[ab]]></w>")), "w=\"ab\" /w ");
  // Too short to be a CDATA opener: the text ends, and "<!" makes no element.
  EXPECT_EQ(describe(scanReferenceLinkElements("<w>a<![CDAT")), "w=\"a\" ");
  // After a declaration or comment, closing tags are ignored until an element is made.
  EXPECT_EQ(describe(scanReferenceLinkElements("<a>x<!-- c --></a><b/></b>")),
            "a=\"x\" /b b=\"\" /b ");
  // A tag cut by the line end makes nothing; a name of other characters is empty.
  EXPECT_EQ(describe(scanReferenceLinkElements(" <word\n>x</word>\n <")), "");
  EXPECT_EQ(describe(scanReferenceLinkElements("<1>t</1>")), "=\"t\" /1 ");
  // Closing names run to ">" or the line end, or stop just after a further "<".
  EXPECT_EQ(describe(scanReferenceLinkElements("<a> </a b\n<a> </x</y")),
            "a=\" \" /a b a=\" \" /x< /y ");
}

TEST(ReferenceLinksRewrite, KeepsTheProgramsFileAndHandWrittenOnesThatReadWhole) {
  ReferenceLinkTable written;
  written.links = {record("cout", "ref/cout.htm", "c"), record("", "http://e/"),
                   record("List", "http://h/?a=1&b>2", "#jva")};
  TempDir dir;
  const std::string path = dir.file("ReferenceLinks.xml");
  ASSERT_TRUE(saveReferenceLinksAdding(written, path, "<item> <word> my func</word>  <link> "
                                                      "u </link> </item> "));
  const std::string programs = dir.read("ReferenceLinks.xml");
  const std::string byHand =
      "\xEF\xBB\xBF\n<referenceLinks>\n"
      "  <item>\n    <cpp></cpp> <vb />\n    <word>\n      printf\n    </word>\n"
      "    <link><![CDATA[http://x/printf]]></link>\n  </item>\n"
      "\t<item><all/><word>a\tb</word><link>l</link></item>\n"
      "</referenceLinks>";
  for (const std::string& text : {programs, byHand, crlf(byHand), std::string(" \r\n"),
                                  std::string()}) {
    const ReferenceLinkTable table = parse(text);
    const RewriteLoss loss = findRewriteLoss(text, table);
    EXPECT_EQ(loss.what, "") << text;
  }
  EXPECT_EQ(describe(parse(programs)), "cout=ref/cout.htm c;=http://e/;List=http://h/?a=1&b>2 # j v a;"
                                       "myfunc=u;");
  EXPECT_EQ(describe(parse(byHand)), "printf=http://x/printf c v;a\tb=l a;");

  // What the command may add: blanks are read away; "]", "<", non-ASCII and line breaks
  // would not come back as typed.
  EXPECT_TRUE(readsBackAsTyped(record("my func", "http://x/ y", "c")));
  for (auto typed : {record("a]b", "l"), record("a", "<b"), record("caf\xe9", "l"),
                     record("a\nb", "l")})
    EXPECT_FALSE(readsBackAsTyped(typed)) << typed.word << " " << typed.link;
}

TEST(ReferenceLinksRewrite, NamesTheLineOfWhatARewriteWouldLose) {
  const std::string item = "<item> <word> w</word>  <link> l </link> </item> \n";
  struct Case {
    std::string text;
    int line;
    std::string what;
  } cases[] = {
      {"int main() {}\n", 0, "not a reference links file"},
      {head + item + "<item>\n<word>a</word>\n<link>b</link>\n</item>\n" + item + tail, 7,
       "\"</item>\" in the first column"},
      {head + item + "<!-- mine -->\n" + tail, 4, "\"<!-- mine -->\" is not part of"},
      {head + "<item id=\"1\"> <word>w</word> <link>l</link> </item>\n" + tail, 3,
       "\"<item id=\"1\">\" is not part of"},
      {head + "<item> <word>w</word> <note>n</note> <link>l</link> </item>\n" + tail, 3,
       "\"<note>\" is not part of"},
      {head + item + "<item> <word>w</word>\n </item>\n" + tail, 4, "has no <link>"},
      {head + "<item> <word></word> <link>l</link> </item>\n" + tail, 3, "word is empty"},
      {head + "<item> <word>a</word> <word>b</word> <link>l</link> </item>\n" + tail, 3,
       "second <word>"},
      {head + "<item> <word>w</word> <link>http://x/a]b</link> </item>\n" + tail, 3,
       "\"]\" ends the link"},
      {head + "<item> <word>caf\xe9</word> <link>l</link> </item>\n" + tail, 3, "non-ASCII"},
      {head + "<item> <cpp>no</cpp> <word>w</word> <link>l</link> </item>\n" + tail, 3,
       "text inside <cpp>"},
      {head + "<item> <word>w</word> <link>\n<![CDATA[http://x/]]></link> </item>\n" + tail, 3,
       "does not read this item as it is written"},
      {head + item + tail + item, 5, "is not part of"},
      {"<?xml version=\"1.0\"\n<referenceLinks>\n", 1, "declaration"},
  };
  for (const Case& c : cases) {
    const RewriteLoss loss = findRewriteLoss(c.text, parse(c.text));
    EXPECT_EQ(loss.line, c.line) << c.text;
    EXPECT_NE(loss.what.find(c.what), std::string::npos) << loss.what << "\n" << c.text;
  }
}

TEST(ReferenceLinksReader, SurvivesRandomAndPathologicalInput) {
  std::mt19937 random(12345);
  const std::string pieces[] = {"<",      ">",       "/",      "]",      "<![",
                                "<item>", "</item>", "<word>", "<link>", "/>",
                                "\n",     "\r\n",    " ",      "a",      "\x80",
                                "<!",     "<?",      "</",     "cpp",    std::string(1, '\0')};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    int n = static_cast<int>(random() % 200);
    for (int i = 0; i < n; ++i) {
      if (random() % 4 == 0)
        text += static_cast<char>(random() % 256);
      else
        text += pieces[random() % std::size(pieces)];
    }
    ReferenceLinkTable t = parse(text);
    for (const auto& [word, position] : t.index) {
      ASSERT_LT(static_cast<size_t>(position), t.links.size());
      EXPECT_EQ(t.links[static_cast<size_t>(position)].word, word);
    }
    if (findRewriteLoss(text, t).what.empty()) {  // then a rewrite gives the same records
      std::string rewritten;
      for (const ReferenceLink& r : t.links) rewritten += formatItemLine(r) + "\n";
      EXPECT_EQ(describe(parse(head + rewritten + tail)), describe(t)) << text;
    }
  }
  std::string longName(100000, 'n');
  EXPECT_EQ(describe(parse("<item><word>" + std::string(100000, 'w') + "</word><" + longName +
                           "/><link>l</link></item>")),
            std::string(100000, 'w') + "=l;");
  for (std::string edge : {"<", "<item>\n<", "<item><![", "<item><![CDATA", "<item/>",
                           "<item><word>w</word><link>l</link>/>", "]", "</", "<!", "<item"})
    parse(edge);
  std::string closings = "<a>";
  for (int i = 0; i < 200000; ++i) closings += "</";
  auto elements = scanReferenceLinkElements(closings);
  ASSERT_EQ(elements.size(), 200001u);
  EXPECT_EQ(elements[1].name, "<");
  EXPECT_EQ(elements.back().name, "");
}

TEST(ReferenceLinkUrls, ThoseThatRunCodeAreKnownHoweverTheyAreSpelt) {
  for (const char* url : {"javascript:alert(1)", "JaVaScRiPt:x", "vbscript:msgbox",
                          "data:text/html,x", " \x01javascript:x", "java\tscr\nipt:x", "\r\njavascript:x",
                          "&#106;avascript:x", "&#x6A;avascript:x", "&#0000106avascript:x",
                          "javascript&colon;x", "javascript&#58;x", "java&Tab;script:x",
                          "DATA&#x3a;x"})
    EXPECT_TRUE(urlRunsCode(url)) << url;
  for (const char* url : {"http://x.org/?a=javascript:1", "ref/javascript.htm", "./javascript:x",
                          "javascripts:x", "java script:x", "data", "mailto:a@b", "ms-help://x",
                          "&copy;javascript:x", "&#128;data:x", "", ":"})
    EXPECT_FALSE(urlRunsCode(url)) << url;

  EXPECT_EQ(urlRefusal("http://x.org/a%20b"), "");
  EXPECT_NE(urlRefusal("http://a b/c d").find("blank"), std::string::npos);
  EXPECT_NE(urlRefusal("http://a\x1b]0;x\a/").find("control character"), std::string::npos);
  EXPECT_NE(urlRefusal("vbscript:x").find("run code"), std::string::npos);
}

TEST(ReferenceLinkUrls, LinksThatRunCodeLeaveTheTableAndTheIndexFollows) {
  ReferenceLinkTable t = parse(head + formatItemLine(record("a", "a.htm")) + "\n" +
                               formatItemLine(record("b", "javascript:x")) + "\n" +
                               formatItemLine(record("c", "c.htm")) + "\n" +
                               formatItemLine(record("a", "DATA:x")) + "\n" + tail);
  EXPECT_EQ(removeCodeLinks(t), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(describe(t), "a=a.htm;c=c.htm;");
  EXPECT_EQ(*findReferenceLink(t, "a"), "a.htm");  // the earlier record of the word is left
  EXPECT_EQ(findReferenceLink(t, "b"), nullptr);
  EXPECT_EQ(*findReferenceLink(t, "c"), "c.htm");
  EXPECT_TRUE(removeCodeLinks(t).empty());

  EXPECT_TRUE(holdsReferenceLinks(""));
  EXPECT_TRUE(holdsReferenceLinks("\xEF\xBB\xBF \r\n"));
  EXPECT_TRUE(holdsReferenceLinks("junk <item> junk"));
  EXPECT_FALSE(holdsReferenceLinks("int main() { return 0; }\n"));
}
