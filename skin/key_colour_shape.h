#pragma once

#include <vector>

#include "bmp_file.h"

namespace tarnwick {

// A rectangle of a window's shape in pixels; right and bottom lie just outside it.
struct ShapeRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const ShapeRect&) const = default;
};

// The window shape that leaves out every pixel of `key`: each maximal run of other colours in a
// row becomes one rectangle one pixel high. Rows are taken from the bottom one up and each from
// left to right, which is also the order of the result. An image entirely in the key colour gives
// an empty shape (a window with nothing visible).
std::vector<ShapeRect> KeyColourShape(const BmpImage& image, Rgb key);

}  // namespace tarnwick
