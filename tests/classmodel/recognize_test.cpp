// Anchors on class, struct and enum declarations in pages (nothing is recorded there).
#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

using namespace quillon;
using namespace testing_support;

namespace {
std::string anchor(const std::string& name, const std::string& text) {
  return "<a name=\"" + name + "\">" + text + "</a>";
}
}  // namespace

TEST(ClassAnchors, EncloseTheNameAsWritten) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("class Foo : public Bar {"),
            kw("class") + NB + anchor("Foo", "Foo") + NB + ":" + NB + kw("public") + NB + "Bar" + NB + "{");
  EXPECT_EQ(f.line("class Foo: public Bar"),
            kw("class") + NB + anchor("Foo:", "Foo:") + NB + kw("public") + NB + "Bar");
  EXPECT_EQ(f.line("class Foo;"), kw("class") + NB + anchor("Foo;", "") + "Foo;");
  // A name that runs to the end of the line gets an empty anchor right before it.
  EXPECT_EQ(f.line("class Foo"), kw("class") + NB + anchor("Foo", "") + "Foo");
  // Only the first declaration of a kind on a line.
  EXPECT_EQ(f.line("class A; class B;"), kw("class") + NB + anchor("A;", "A;") + NB + kw("class") + NB + "B;");
  EXPECT_TRUE(f.classes.classRecords.empty());
}

TEST(ClassAnchors, NeedExactlyOneEscapedSpaceAfterTheKeyword) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("class  Foo"), kw("class") + NB + NB + "Foo");
  // A tab counts as the spaces it expands to: one here (column 7), four there.
  EXPECT_EQ(f.line("  class\tX {"), NB + NB + kw("class") + NB + anchor("X", "X") + NB + "{");
  EXPECT_EQ(f.line("class\tX"), kw("class") + NB + NB + NB + "X");
}

TEST(ClassAnchors, AreNotMadeInCommentsOrStrings) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("// class Foo"), C + "//" + NB + "class" + NB + "Foo" + E);
  EXPECT_EQ(f.line("s = \"class Foo\";"), "s" + NB + "=" + NB + "\"class" + NB + "Foo\";");
  EXPECT_EQ(f.line("/* open"), C + "/*" + NB + "open");
  EXPECT_EQ(f.line("class Foo {"), "class" + NB + "Foo" + NB + "{");
}

TEST(ClassAnchors, NameEndsWhereMarkupBegins) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("class Foo// x"), kw("class") + NB + anchor("Foo", "Foo") + C + "//" + NB + "x" + E);
}

TEST(ClassAnchors, CutVeryLongNamesButKeepTheText) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  std::string name(300, 'N');
  EXPECT_EQ(f.line("class " + name), kw("class") + NB + anchor(name.substr(0, 254), "") + name);
}

TEST(ClassAnchors, QuoteInANameCannotLeaveTheAttribute) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("class A\"onmouseover=x {"),
            kw("class") + NB + anchor("A&quot;onmouseover=x", "A\"onmouseover=x") + NB + "{");
}

TEST(StructAnchors, RejectVariablesPointersReferencesAndCasts) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("struct Foo *p;"), kw("struct") + NB + "Foo" + NB + "*p;");
  EXPECT_EQ(f.line("struct Foo* p;"), kw("struct") + NB + "Foo*" + NB + "p;");
  EXPECT_EQ(f.line("struct Foo &r;"), kw("struct") + NB + "Foo" + NB + "&amp;r;");
  EXPECT_EQ(f.line("struct Foo && r;"), kw("struct") + NB + "Foo" + NB + "&&" + NB + "r;");
  EXPECT_EQ(f.line("struct Foo bar;"), kw("struct") + NB + "Foo" + NB + "bar;");
  EXPECT_EQ(f.line("x = (struct Foo)y;"), "x" + NB + "=" + NB + "(" + kw("struct") + NB + "Foo)y;");
  EXPECT_EQ(f.line("struct Foo {"), kw("struct") + NB + anchor("Foo", "Foo") + NB + "{");
  EXPECT_EQ(f.line("typedef struct Foo"), kw("typedef") + NB + kw("struct") + NB + anchor("Foo", "") + "Foo");
  EXPECT_EQ(f.line("typedef struct {"), kw("typedef") + NB + kw("struct") + NB + "{");
  // Another escaped space after the name is no variable.
  EXPECT_EQ(f.line("struct Foo  {"), kw("struct") + NB + anchor("Foo", "Foo") + NB + NB + "{");
}

TEST(EnumAnchors, SkipAnonymousEnums) {
  EngineFixture f;
  f.as(SourceLanguage::Cpp);
  EXPECT_EQ(f.line("enum Color { RED };"), kw("enum") + NB + anchor("Color", "Color") + NB + "{" + NB + "RED" + NB + "};");
  EXPECT_EQ(f.line("enum {"), kw("enum") + NB + "{");
}

TEST(Anchors, AreMadeForCppCSharpAndJavaOnly) {
  EngineFixture f;
  f.as(SourceLanguage::CSharp);
  EXPECT_EQ(f.line("public class Form1"), kw("public") + NB + kw("class") + NB + anchor("Form1", "") + "Form1");
  f.as(SourceLanguage::Java);
  EXPECT_EQ(f.line("class A {"), kw("class") + NB + anchor("A", "A") + NB + "{");
  f.as(SourceLanguage::None);
  EXPECT_EQ(f.line("class A {"), kw("class") + NB + "A" + NB + "{");
  f.as(SourceLanguage::VB);
  EXPECT_EQ(f.line("Class A"), kw("Class") + NB + "A");
}
