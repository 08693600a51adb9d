#include "app/browser_command.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(BrowserCommandLine, ReplacesThePlaceholderOrAppendsTheTarget) {
  EXPECT_EQ(browserCommandLine("C:\\Web\\browser.exe \"%1\"", "http://x/a.htm"),
            "C:\\Web\\browser.exe  http://x/a.htm");
  EXPECT_EQ(browserCommandLine("C:\\Web\\browser.exe %1 -new", "http://x"),
            "C:\\Web\\browser.exe  http://x");
  EXPECT_EQ(browserCommandLine("browser.exe -nohome", "page.htm"), "browser.exe -nohome page.htm");
  // The quoted placeholder wins over an earlier bare one.
  EXPECT_EQ(browserCommandLine("b.exe %1x \"%1\"", "t"), "b.exe %1x  t");
  EXPECT_EQ(browserCommandLine("", "t"), " t");
}

TEST(BrowserCommandLine, HoldsAnyLengthOfCommandAndTarget) {
  const std::string command(300, 'c');  // longer than the registry value's 260 bytes
  const std::string target = "http://" + std::string(4999, 'x');
  const std::string line = browserCommandLine(command + " \"%1\"", target);
  EXPECT_EQ(line.size(), 301 + 1 + target.size());
  EXPECT_EQ(line.substr(302), target);
}
