#pragma once

#include <algorithm>
#include <cmath>

#include "button_look.h"

namespace tarnwick::art {

// A colour in floating point, 0–255 per channel, so that blends of blends do not lose precision
// before the final rounding.
struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
};

constexpr Colour FromHex(unsigned hex) {
  return {static_cast<double>((hex >> 16) & 0xff), static_cast<double>((hex >> 8) & 0xff),
          static_cast<double>(hex & 0xff)};
}

constexpr Colour FromRgb(Rgb rgb) { return {double(rgb.red), double(rgb.green), double(rgb.blue)}; }

// `amount` 0 gives `from`, 1 gives `to`.
constexpr Colour Mix(Colour from, Colour to, double amount) {
  return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount,
          from.b + (to.b - from.b) * amount};
}

inline Rgb ToRgb(Colour c) {
  auto channel = [](double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
  };
  return {channel(c.r), channel(c.g), channel(c.b)};
}

}  // namespace tarnwick::art
