// Shapes: a small library of plane figures, for the ctags yardstick.
#ifndef SHAPES_H
#define SHAPES_H

#define SHAPES_VERSION 3
#define SQUARE(x) ((x) * (x))

namespace geo {

enum Colour { Red, Green, Blue };

enum class Fill : int {
  None,
  Solid,
  Hatched
};

typedef double Length;
using Angle = double;

struct Point {
  Length x;
  Length y;
};

union Bits {
  unsigned int word;
  unsigned char bytes[4];
};

class Shape {
 public:
  Shape();
  virtual ~Shape();
  virtual Length area() const = 0;
  virtual Length perimeter() const = 0;
  Colour colour() const { return colour_; }
  void setColour(Colour c) { colour_ = c; }

 protected:
  Colour colour_;
  Fill fill_;
};

class Circle : public Shape {
 public:
  explicit Circle(Length radius);
  Length area() const override;
  Length perimeter() const override;
  Length radius() const { return radius_; }

 private:
  Length radius_;
};

class Rectangle : public Shape {
 public:
  Rectangle(Length width, Length height);
  Length area() const override;
  Length perimeter() const override;
  Length width() const { return width_; }
  Length height() const { return height_; }

 private:
  Length width_;
  Length height_;
};

Length distance(const Point& a, const Point& b);
int countShapes();

}  // namespace geo

#endif
