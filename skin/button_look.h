#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// How a bitmap button looks: the bitmap shown while the mouse is away, the one shown while it
// hovers (the same file when one bitmap serves both), the colour of each that is drawn
// transparent, the caption and the tooltip. The windows set it; views draw it.
struct ButtonLook {
  std::string caption;
  std::string normalBitmap;  // full path
  std::string hoverBitmap;   // full path
  std::optional<Rgb> normalTransparent;
  std::optional<Rgb> hoverTransparent;
  std::string tooltip;
  bool operator==(const ButtonLook&) const = default;
};

}  // namespace tarnwick
