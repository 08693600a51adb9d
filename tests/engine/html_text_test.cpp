// Source text and file names put into markup: what is escaped, and what stays as it is.
#include <gtest/gtest.h>

#include "engine/html_text.h"

using namespace quillon;

TEST(LinkTargets, SchemesAreMadeRelativeHoweverTheyAreSpelt) {
  EXPECT_EQ(relativeLinkTarget("javascript:alert(1).htm"), "./javascript:alert(1).htm");
  EXPECT_EQ(relativeLinkTarget("DATA:text/html,x"), "./DATA:text/html,x");
  // A browser decodes references in the attribute, drops leading control characters
  // and blanks, and ignores tabs and line breaks before it reads the scheme.
  EXPECT_EQ(relativeLinkTarget("javascript&colon;x"), "./javascript&colon;x");
  EXPECT_EQ(relativeLinkTarget("java&#115;cript:x"), "./java&#115;cript:x");
  EXPECT_EQ(relativeLinkTarget("&#106;avascript:x"), "./&#106;avascript:x");
  EXPECT_EQ(relativeLinkTarget("\x01 javascript:x"), "./\x01 javascript:x");
  EXPECT_EQ(relativeLinkTarget("java\rscript:x"), "./java\rscript:x");
  EXPECT_EQ(relativeLinkTarget("java\tscript:x"), "./java\tscript:x");
  // Quotes and angle brackets cannot end the attribute.
  EXPECT_EQ(relativeLinkTarget("x\"y<z>.htm"), "x%22y%3Cz%3E.htm");
}

TEST(LinkTargets, FileNamesWithFragmentQueryOrEscapeCharactersStillNameTheFile) {
  EXPECT_EQ(fileLinkTarget("C#Tools_HTML/SourceTree.htm"), "C%23Tools_HTML/SourceTree.htm");
  EXPECT_EQ(fileLinkTarget("why?.cpp.htm"), "why%3F.cpp.htm");
  EXPECT_EQ(fileLinkTarget("100%.h.htm"), "100%25.h.htm");
  // Escaped before the quotes and brackets, so their escapes are not escaped again.
  EXPECT_EQ(fileLinkTarget("x\"%.htm"), "x%22%25.htm");
  EXPECT_EQ(fileLinkTarget("javascript:x#.htm"), "./javascript:x%23.htm");
  EXPECT_EQ(fileLinkTarget("Calc_HTML/calc.cpp.htm"), "Calc_HTML/calc.cpp.htm");
  // A page and a fragment: only the page is a file name.
  EXPECT_EQ(pageLinkTarget("a#b.h.htm", "Shape"), "a%23b.h.htm#Shape");
  EXPECT_EQ(pageLinkTarget("shape.h.htm", "Sh\"ape"), "shape.h.htm#Sh%22ape");
}

TEST(LinkTargets, NamesOfTheProgramsFilesBeyondAsciiAreEscapedAsUtf8) {
  // What a browser looks up is the UTF-8 form of the name, whatever the page's charset.
  EXPECT_EQ(fileNameLinkTarget("Calc_HTML\\calc.cpp.htm"), "Calc_HTML\\calc.cpp.htm");
  EXPECT_EQ(fileNameLinkTarget("C#Demo_HTML/SourceTree.htm"), "C%23Demo_HTML/SourceTree.htm");
#ifdef _WIN32
  // A Windows name is in the ANSI code page; it is converted before it is escaped.
  const std::string target = fileNameLinkTarget("caf\xE9 %.h.htm");
  EXPECT_EQ(target.rfind("caf%", 0), 0u) << target;
  EXPECT_NE(target.find(" %25.h.htm"), std::string::npos) << target;
  for (char c : target) EXPECT_EQ(c & 0x80, 0) << target;
#else
  // A POSIX name is bytes: each byte beyond ASCII is escaped as it is.
  EXPECT_EQ(fileNameLinkTarget("caf\xE9 1252.h.htm"), "caf%E9 1252.h.htm");
  EXPECT_EQ(fileNameLinkTarget("caf\xC3\xA9 %.h.htm"), "caf%C3%A9 %25.h.htm");
  EXPECT_EQ(pageLinkTarget("caf\xC3\xA9.h.htm", "Zeta"), "caf%C3%A9.h.htm#Zeta");
  EXPECT_EQ(fileNameLinkTarget("javascript:\xE9.htm"), "./javascript:%E9.htm");
#endif
  // An include names its file in the source's own bytes, which stay as they are.
  EXPECT_EQ(fileLinkTarget("caf\xC3\xA9.h"), "caf\xC3\xA9.h");
  // The browser decodes references in the attribute before it reads the URL.
  EXPECT_EQ(fileNameLinkTarget("refs&copy.h.htm"), "refs%26copy.h.htm");
  EXPECT_EQ(pageLinkTarget("a&#39;b && c&.h.htm", "X"), "a%26%2339;b && c&.h.htm#X");
  EXPECT_EQ(fileLinkTarget("refs&amp;copy.h"), "refs&amp;copy.h");
  // It drops tabs and line breaks from it.
  EXPECT_EQ(fileNameLinkTarget("tab\tand\x01.cpp.htm"), "tab%09and%01.cpp.htm");
}

TEST(LinkTargets, OrdinaryNamesKeepTheirBytes) {
  EXPECT_EQ(relativeLinkTarget("util.h.htm"), "util.h.htm");
  EXPECT_EQ(relativeLinkTarget("my&nbsp;file.h.htm"), "my&nbsp;file.h.htm");
  EXPECT_EQ(relativeLinkTarget("a&ltb&gt.h.htm"), "a&ltb&gt.h.htm");
  EXPECT_EQ(relativeLinkTarget("my file.cpp.htm#Foo"), "my file.cpp.htm#Foo");
  EXPECT_EQ(relativeLinkTarget("Calc_HTML\\calc.cpp.htm"), "Calc_HTML\\calc.cpp.htm");
  EXPECT_EQ(relativeLinkTarget("caf\xE9.cpp.htm"), "caf\xE9.cpp.htm");
  // A drive letter is no scheme; a reference after the first character that no scheme
  // holds cannot make one.
  EXPECT_EQ(relativeLinkTarget("c:x.h.htm"), "c:x.h.htm");
  EXPECT_EQ(relativeLinkTarget("a b&colon;c.htm"), "a b&colon;c.htm");
  EXPECT_EQ(relativeLinkTarget("&nbsp;javascript:x"), "&nbsp;javascript:x");
  EXPECT_EQ(relativeLinkTarget("&amp;javascript:x"), "&amp;javascript:x");
}

TEST(ScriptStrings, CannotEndTheStringTheAttributeOrTheTag) {
  EXPECT_EQ(scriptString("main.cpp"), "main.cpp");
  EXPECT_EQ(scriptString("it's\\x.h"), "it\\'s\\\\x.h");
  // "&#39;" would be a quote once the browser has decoded the attribute.
  EXPECT_EQ(scriptString("a&#39;);alert(1);//.cpp"), "a&amp;#39;);alert(1);//.cpp");
  EXPECT_EQ(scriptString("\"><script>"), "&quot;&gt;&lt;script&gt;");
  // A line break would end the string; other bytes, UTF-8 included, stay.
  EXPECT_EQ(scriptString("a\nb\x01\x7f\t\xc3\xa9.cpp"), "a\\x0ab\\x01\\x7f\\x09\xc3\xa9.cpp");
}

TEST(AttributeAndElementText, EscapeOnlyWhatCouldEndThem) {
  EXPECT_EQ(attributeText("A\"onmouseover=x"), "A&quot;onmouseover=x");
  EXPECT_EQ(attributeText("a&b 'c'"), "a&b 'c'");
  EXPECT_EQ(attributeUrl("http://x.org/?a=1&b=\"2\""), "http://x.org/?a=1&b=%222%22");
  // What the user gave is read back as given: no "&" can begin a character reference.
  EXPECT_EQ(exactAttributeUrl("http://x.org/?a=1&copy;2&b=\"3\""),
            "http://x.org/?a=1&amp;copy;2&amp;b=%223%22");
  EXPECT_EQ(exactAttributeText("A&B \"&quot;\""), "A&amp;B &quot;&amp;quot;&quot;");
  EXPECT_EQ(exactAttributeText("Courier New"), "Courier New");
  EXPECT_EQ(elementText("</a><script>\"x\""), "&lt;/a&gt;&lt;script&gt;\"x\"");
  // Shown text keeps what a browser would read as a character reference.
  EXPECT_EQ(elementText("f(int &param, &&r, &#39;) & x&"),
            "f(int &amp;param, &&amp;r, &amp;#39;) & x&");
  EXPECT_EQ(elementText("a&copy;b.cpp"), "a&amp;copy;b.cpp");
}
