#pragma once

#include <optional>
#include <string>
#include <vector>

#include "button_look.h"

namespace tarnwick {

// A picture in memory: `pixels` holds width × height colours row by row, the top row first.
struct BmpImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
  bool operator==(const BmpImage&) const = default;
};

// The largest width or height either function accepts.
inline constexpr int kMaxBmpSide = 16384;

// Reads a Windows bitmap file: the 12-byte core header or an info header of 40, 52, 56, 108 or 124
// bytes; 1, 4 and 8 bits per pixel with a palette; 16 bits as 5-5-5 or with bit-field masks; 24
// bits; 32 bits plain or with masks; rows stored bottom-up or top-down. Compressed (RLE, JPEG, PNG)
// files are refused. Any size that does not fit the file, or any other malformed part, gives
// nullopt; nothing is allocated beyond what the file's length can justify.
std::optional<BmpImage> ReadBmp(const std::string& path);

// Writes `image` as an uncompressed 24-bit bottom-up bitmap with a 40-byte info header. False when
// the image is empty, larger than kMaxBmpSide, inconsistent with its pixel count, or the file
// cannot be written.
bool WriteBmp24(const std::string& path, const BmpImage& image);

}  // namespace tarnwick
