#pragma once

#include <string_view>

#include "canvas.h"

// A small built-in proportional pixel font, so that captions need no font from the system. Capitals
// and digits are 7 pixels tall; descenders reach 2 pixels below the baseline.
namespace tarnwick::art {

inline constexpr int kFontCapHeight = 7;
inline constexpr int kFontLineHeight = 9;

// Width in font pixels (before scaling) of `text`, without trailing spacing.
int TextWidth(std::string_view text);

// Draws `text` with its top-left corner at (x, y), each font pixel `scale` canvas pixels wide.
// At scale 1 the pixels land exactly on canvas pixels, so small captions stay crisp; larger
// scales smooth the pixels into rounded strokes. Characters the font lacks are drawn as spaces.
void DrawText(Canvas& canvas, double x, double y, std::string_view text, const Fill& fill,
              double scale = 1, double opacity = 1);

}  // namespace tarnwick::art
