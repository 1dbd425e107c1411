#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "bmp_file.h"

namespace tarnwick::qt {

QImage ToQImage(const BmpImage& image);

// The bitmap file as an image; a null image when the file cannot be read.
QImage LoadBitmapFile(const std::string& path);

// The image with every pixel of the key colour made fully transparent; unchanged without a key.
QImage WithTransparentColour(const QImage& image, const std::optional<Rgb>& key);

}  // namespace tarnwick::qt
