#include "splash_gdi.h"

namespace tarnwick::win32::skin {

UniqueBitmap DibFromImage(const BmpImage& image) {
  if (image.width <= 0 || image.height <= 0) return nullptr;
  if (image.pixels.size() !=
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
    return nullptr;
  }
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = image.width;
  format.bmiHeader.biHeight = -image.height;  // top-down, as the image keeps its rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap dib(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return nullptr;
  auto* pixel = static_cast<RGBQUAD*>(bits);
  for (const Rgb& colour : image.pixels) {
    *pixel++ = RGBQUAD{colour.blue, colour.green, colour.red, 0};
  }
  return dib;
}

HRGN RegionFromShape(const std::vector<ShapeRect>& shape) {
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const ShapeRect& rect : shape) {
    const HRGN part = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  return region;
}

}  // namespace tarnwick::win32::skin
