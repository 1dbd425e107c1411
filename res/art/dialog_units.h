#pragma once

// The windows are laid out in dialog units of an 8-point dialog font: 1.5 pixels across and 1.625
// pixels down. Bitmaps must match the converted sizes, rounded to the nearest pixel.
namespace tarnwick::art {

constexpr int PixelsAcross(int dialogUnits) { return (dialogUnits * 3 + 1) / 2; }
constexpr int PixelsDown(int dialogUnits) { return (dialogUnits * 13 + 4) / 8; }

}  // namespace tarnwick::art
