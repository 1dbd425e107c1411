#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bmp_file.h"

namespace tarnwick::test {

// Pieces of bitmap files written by hand, little-endian, so that the reader is checked against
// the file format itself rather than against our own writer.
std::string U16(std::uint32_t value);
std::string U32(std::uint32_t value);

// The 12-byte core header.
std::string CoreHeader(int width, int height, int bitsPerPixel);
// A 40-byte info header followed by `extension` (masks, say) and zeros up to `size` bytes.
std::string InfoHeader(std::uint32_t size, std::int32_t width, std::int32_t height,
                       int bitsPerPixel, std::uint32_t compression,
                       std::uint32_t coloursUsed = 0, const std::string& extension = "");
// Red, green and blue masks as they stand after a 40-byte header.
std::string Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue);
// A palette entry of an info header (blue, green, red, reserved).
std::string Quad(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// A whole file: "BM", its size, and the pixels starting right after `headers` (info header,
// masks, palette) plus `gap` bytes.
std::string BmpFile(const std::string& headers, const std::string& pixels, std::size_t gap = 0);

// Writes `bytes` to a file in a fresh temporary folder and reads it back with ReadBmp.
std::optional<BmpImage> ReadFromDisk(const std::string& bytes);
// The three bytes of a 24-bit pixel (blue, green, red).
std::string Bgr(Rgb colour);
// An image from its colours listed top row first.
BmpImage Image(int width, int height, std::vector<Rgb> pixels);

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitFields = 3;

}  // namespace tarnwick::test
