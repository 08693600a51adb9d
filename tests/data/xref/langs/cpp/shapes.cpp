// The figures' arithmetic.
#include "shapes.h"

#include <cmath>

namespace geo {

static int shapeCount = 0;
const Length kPi = 3.14159265358979;

Shape::Shape() : colour_(Red), fill_(Fill::None) { ++shapeCount; }

Shape::~Shape() { --shapeCount; }

Circle::Circle(Length radius) : radius_(radius) {}

Length Circle::area() const { return kPi * SQUARE(radius_); }

Length Circle::perimeter() const { return 2 * kPi * radius_; }

Rectangle::Rectangle(Length width, Length height) : width_(width), height_(height) {}

Length Rectangle::area() const { return width_ * height_; }

Length Rectangle::perimeter() const { return 2 * (width_ + height_); }

Length distance(const Point& a, const Point& b) {
  const Length dx = a.x - b.x;
  const Length dy = a.y - b.y;
  return std::sqrt(SQUARE(dx) + SQUARE(dy));
}

int countShapes() { return shapeCount; }

}  // namespace geo
