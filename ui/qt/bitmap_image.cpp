#include "bitmap_image.h"

namespace tarnwick::qt {

QImage ToQImage(const BmpImage& image) {
  QImage result(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < image.width; ++x) {
      const Rgb& pixel = image.At(x, y);
      line[x] = qRgb(pixel.red, pixel.green, pixel.blue);
    }
  }
  return result;
}

QImage LoadBitmapFile(const std::string& path) {
  // The skin's own reader: it knows every layout the bitmaps may come in and refuses damaged
  // files without reading beyond them.
  const std::optional<BmpImage> image = ReadBmp(path);
  return image ? ToQImage(*image) : QImage();
}

QImage WithTransparentColour(const QImage& image, const std::optional<Rgb>& key) {
  if (image.isNull() || !key) return image;
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = qRgb(key->red, key->green, key->blue);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if ((line[x] | 0xff000000u) == keyRgb) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  return result;
}

}  // namespace tarnwick::qt
