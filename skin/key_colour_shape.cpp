#include "key_colour_shape.h"

namespace tarnwick {

std::vector<ShapeRect> KeyColourShape(const BmpImage& image, Rgb key) {
  std::vector<ShapeRect> shape;
  for (int y = image.height - 1; y >= 0; --y) {
    int x = 0;
    while (x < image.width) {
      if (image.At(x, y) == key) {
        ++x;
        continue;
      }
      const int left = x;
      while (x < image.width && image.At(x, y) != key) ++x;
      shape.push_back({left, y, x, y + 1});
    }
  }
  return shape;
}

}  // namespace tarnwick
