#include "bmp_bytes.h"

#include "temp_folder.h"

namespace tarnwick::test {

std::string U16(std::uint32_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}

std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

std::string CoreHeader(int width, int height, int bitsPerPixel) {
  return U32(12) + U16(static_cast<std::uint32_t>(width)) +
         U16(static_cast<std::uint32_t>(height)) + U16(1) +
         U16(static_cast<std::uint32_t>(bitsPerPixel));
}

std::string InfoHeader(std::uint32_t size, std::int32_t width, std::int32_t height,
                       int bitsPerPixel, std::uint32_t compression, std::uint32_t coloursUsed,
                       const std::string& extension) {
  std::string header = U32(size) + U32(static_cast<std::uint32_t>(width)) +
                       U32(static_cast<std::uint32_t>(height)) + U16(1) +
                       U16(static_cast<std::uint32_t>(bitsPerPixel)) + U32(compression) +
                       U32(0) + U32(2835) + U32(2835) + U32(coloursUsed) + U32(0) + extension;
  if (header.size() < size) header.append(size - header.size(), '\0');
  return header;
}

std::string Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return U32(red) + U32(green) + U32(blue);
}

std::string Quad(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red), '\0'};
}

std::string BmpFile(const std::string& headers, const std::string& pixels, std::size_t gap) {
  const std::size_t offset = 14 + headers.size() + gap;
  return "BM" + U32(static_cast<std::uint32_t>(offset + pixels.size())) + U32(0) +
         U32(static_cast<std::uint32_t>(offset)) + headers + std::string(gap, '\x55') + pixels;
}

std::optional<BmpImage> ReadFromDisk(const std::string& bytes) {
  TempFolder folder;
  const std::string path = folder.File("picture.bmp");
  WriteFile(path, bytes);
  return ReadBmp(path);
}

std::string Bgr(Rgb colour) {
  return {static_cast<char>(colour.blue), static_cast<char>(colour.green),
          static_cast<char>(colour.red)};
}

BmpImage Image(int width, int height, std::vector<Rgb> pixels) {
  return BmpImage{width, height, std::move(pixels)};
}

}  // namespace tarnwick::test
