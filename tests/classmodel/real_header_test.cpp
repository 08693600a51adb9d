// A real-looking header: nested classes, inline bodies, forward declarations, templates
// and comments, through the preprocessing and the page.
#include <gtest/gtest.h>

#include "classmodel/preprocess.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temp_dir.h"

using namespace quillon;
using namespace testing_support;

namespace {
const char* header = R"(// geometry.h - shapes and their registry
#pragma once
#include <vector>
#include "point.h"

namespace gfx {
class Canvas;            // forward declarations
struct Style;
}

namespace geo {

/* A shape knows how to draw itself.
   class NotAClass { };
   Declarations in comments are not recorded. */
class Shape {
public:
    explicit Shape(const Style& style);
    virtual ~Shape() = default;
    virtual void Draw(Canvas& canvas) const = 0;
    double Area() const { return width_ * height_; }

    class Visitor {
    public:
        virtual void Visit(Shape& s) = 0;
    };

protected:
    double width_, height_;
private:
    std::vector<Point> points_;
};

template <typename T>
class Registry : public Base<T> {
public:
    void Add(T* item,
             int priority = 0);
    size_t Count() const;
private:
    std::vector<T*> items_;
};

struct Style {
    unsigned int colour;
    bool filled;
};

enum class Kind { Circle, Square };
enum Layer
{
    Background = 0,
    Foreground,
    Overlay
};

typedef struct { int x; } Anonymous;
struct Style* current_style;

}  // namespace geo
)";
}  // namespace

TEST(RealHeader, GathersItsDeclarationsAndAnchorsThemInThePage) {
  EngineFixture f;
  TempDir dir;
  scripted::reset();
  dir.write("geometry.h", header);
  f.run.currentDirectory = dir.path();
  f.settings.sourceDirectory = f.settings.outputDirectory = dir.path();
  f.converter.project.headerFiles = {"geometry.h"};
  preprocessClassTree(f.converter);
  sortClassRecords(f.classes);

  std::vector<std::string> classes;
  for (const ClassRecord& r : f.classes.classRecords) classes.push_back(r.name);
  // The forward declaration of Canvas reads on until the namespace closes (taking the
  // second forward declaration with it); "enum class" counts as a class; the nested
  // Visitor is consumed by Shape's member scan.
  EXPECT_EQ(classes, (std::vector<std::string>{"Canvas;", "Kind", "Registry", "Shape"}));
  std::vector<std::string> structs;
  for (const ClassRecord& r : f.classes.structRecords) structs.push_back(r.name);
  EXPECT_EQ(structs, (std::vector<std::string>{"Style"}));
  ASSERT_EQ(f.classes.enumRecords.size(), 1u);
  EXPECT_EQ(f.classes.enumRecords[0].name, "Layer");
  EXPECT_EQ(f.classes.enumRecords[0].members.size(), 3u);

  const ClassRecord& registry = f.classes.classRecords[2];
  ASSERT_EQ(registry.members.size(), 3u);
  EXPECT_EQ(registry.members[0].text, "Add(T* item,             int priority = 0)");
  EXPECT_EQ(registry.members[1].text, "Count()");
  EXPECT_EQ(registry.members[2].text, "*>items_");
  const ClassRecord& shape = f.classes.classRecords[3];
  ASSERT_GE(shape.members.size(), 4u);
  EXPECT_EQ(shape.members[2].text, "Draw(Canvas& canvas)");
  EXPECT_TRUE(shape.members[2].isPublic);

  SourceFileConverter page(f.context, "geometry.h");
  std::string html = dir.read("geometry.h.htm");
  for (const char* anchor : {"<a name=\"Canvas;\">", "<a name=\"Shape\">", "<a name=\"Kind\">", "<a name=\"Visitor\">",
                             "<a name=\"Registry\">", "<a name=\"Style\">", "<a name=\"Layer\">"})
    EXPECT_NE(html.find(anchor), std::string::npos) << anchor;
  // No anchor inside the block comment, for the anonymous struct or the variable.
  EXPECT_EQ(html.find("<a name=\"NotAClass"), std::string::npos);
  EXPECT_EQ(html.find("<a name=\"Anonymous"), std::string::npos);
  EXPECT_EQ(f.run.convertedFileCount, 1);
}
