#pragma once

#include "shapes.h"

// Pictograms for buttons and artwork, drawn on a 24 × 24 grid as filled shapes; cut-outs are real
// holes, so an icon reads on any background. Place() puts one at its size on a canvas.
namespace tarnwick::art {

enum class Icon {
  kFolder,
  kDisk,
  kDisks,
  kQuestion,
  kInfo,
  kPower,
  kPlay,
  kPause,
  kStop,
  kArrowLeft,
  kArrowRight,
  kReturn,
  kCheck,
  kWrench,
  kDocument,
};

inline constexpr double kIconGrid = 24;

// The icon on the 24 × 24 grid.
Shape IconShape(Icon icon);

// The icon `size` pixels square with its top-left corner at (x, y).
inline Shape PlaceIcon(Icon icon, double x, double y, double size) {
  return Place(IconShape(icon), x, y, size / kIconGrid);
}

}  // namespace tarnwick::art
