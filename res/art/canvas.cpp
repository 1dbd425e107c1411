#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace tarnwick::art {

Fill Solid(Colour colour) {
  return [colour](double, double) { return colour; };
}

Fill VerticalGradient(double top, Colour topColour, double bottom, Colour bottomColour) {
  return [=](double, double y) {
    return Mix(topColour, bottomColour, std::clamp((y - top) / (bottom - top), 0.0, 1.0));
  };
}

Fill DiagonalGradient(Box box, Colour from, Colour to) {
  return [=](double x, double y) {
    const double along = (x - box.left) / (box.right - box.left) + (y - box.top) / (box.bottom - box.top);
    return Mix(from, to, std::clamp(along / 2, 0.0, 1.0));
  };
}

Canvas::Canvas(int width, int height, Colour background)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background) {}

void Canvas::Paint(const Shape& shape, const Fill& fill, double opacity, double softness) {
  const int left = std::max(0, static_cast<int>(std::floor(shape.bounds.left - softness)));
  const int top = std::max(0, static_cast<int>(std::floor(shape.bounds.top - softness)));
  const int right = std::min(width_, static_cast<int>(std::ceil(shape.bounds.right + softness)));
  const int bottom = std::min(height_, static_cast<int>(std::ceil(shape.bounds.bottom + softness)));
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const double px = x + 0.5;
      const double py = y + 0.5;
      const double coverage = std::clamp(0.5 - shape.distance(px, py) / softness, 0.0, 1.0);
      if (coverage <= 0) continue;
      Colour& pixel = pixels_[Index(x, y)];
      pixel = Mix(pixel, fill(px, py), coverage * opacity);
    }
  }
}

void Canvas::Paint(const Shape& shape, Colour colour, double opacity, double softness) {
  Paint(shape, Solid(colour), opacity, softness);
}

BmpImage Canvas::ToImage() const {
  BmpImage image{width_, height_, {}};
  image.pixels.reserve(pixels_.size());
  for (const Colour& c : pixels_) image.pixels.push_back(ToRgb(c));
  return image;
}

double Coverage(const Shape& shape, int x, int y) {
  return std::clamp(0.5 - shape.distance(x + 0.5, y + 0.5), 0.0, 1.0);
}

BmpImage CutOut(const Canvas& drawing, const Shape& outline, Rgb key, bool hardEdge) {
  BmpImage image = drawing.ToImage();
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      Rgb& pixel = image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)];
      const double coverage = Coverage(outline, x, y);
      if (coverage <= 0 || (hardEdge && coverage < 0.5)) {
        pixel = key;
      } else if (pixel == key) {
        pixel.green = static_cast<std::uint8_t>(key.green < 128 ? key.green + 1 : key.green - 1);
      }
    }
  }
  return image;
}

}  // namespace tarnwick::art
