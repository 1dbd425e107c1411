#pragma once

#include <functional>
#include <vector>

#include "bmp_file.h"
#include "colour.h"
#include "shapes.h"

namespace tarnwick::art {

// What a shape is filled with: a colour for each point.
using Fill = std::function<Colour(double x, double y)>;

Fill Solid(Colour colour);
Fill VerticalGradient(double top, Colour topColour, double bottom, Colour bottomColour);
// From the top left corner of the box to its bottom right corner.
Fill DiagonalGradient(Box box, Colour from, Colour to);

// A picture being drawn, in floating-point colour.
class Canvas {
 public:
  Canvas(int width, int height, Colour background);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Colour At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Colour colour) { pixels_[Index(x, y)] = colour; }

  // Blends `fill` over the pixels inside `shape`. `softness` is the width in pixels of the edge:
  // 1 gives a crisp anti-aliased edge, larger values the blurred edge of a shadow or glow.
  void Paint(const Shape& shape, const Fill& fill, double opacity = 1, double softness = 1);
  void Paint(const Shape& shape, Colour colour, double opacity = 1, double softness = 1);

  BmpImage ToImage() const;

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x); }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// How much of the pixel at (x, y) lies inside `shape`, 0 to 1.
double Coverage(const Shape& shape, int x, int y);

// The drawing as a bitmap whose pixels outside `outline` are exactly `key`, the colour that the
// program draws transparent. Inside the outline no pixel keeps the key colour: one that happens
// to match is nudged by one step. With `hardEdge`, pixels less than half inside count as outside,
// for outlines whose surroundings are unknown (the splash sits on any desktop).
BmpImage CutOut(const Canvas& drawing, const Shape& outline, Rgb key, bool hardEdge = false);

}  // namespace tarnwick::art
