#include "dialog_units.h"

namespace tarnwick::qt {
namespace {

// units × numerator ÷ denominator, halves rounded away from zero.
int Scale(int units, int numerator, int denominator) {
  const int scaled = units * numerator;
  const int half = denominator / 2;
  return scaled >= 0 ? (scaled + half) / denominator : -((-scaled + half) / denominator);
}

}  // namespace

int HorizontalPixels(int units) { return Scale(units, 3, 2); }

int VerticalPixels(int units) { return Scale(units, 13, 8); }

QRect ToPixels(const DialogRect& rect) {
  const int left = HorizontalPixels(rect.x);
  const int top = VerticalPixels(rect.y);
  const int right = HorizontalPixels(rect.x + rect.width);
  const int bottom = VerticalPixels(rect.y + rect.height);
  return QRect(left, top, right - left, bottom - top);
}

QSize ToPixels(int width, int height) {
  return QSize(HorizontalPixels(width), VerticalPixels(height));
}

}  // namespace tarnwick::qt
