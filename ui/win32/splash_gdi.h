#pragma once

#include <windows.h>

#include <vector>

#include "bmp_file.h"
#include "gdi_bitmap.h"
#include "key_colour_shape.h"

// The splash window's picture and shape as GDI objects.
namespace tarnwick::win32::skin {

// The picture as a 32-bit DIB section of its own size; null for an empty picture.
UniqueBitmap DibFromImage(const BmpImage& image);

// The union of the rectangles, an empty region for none; the caller owns it.
HRGN RegionFromShape(const std::vector<ShapeRect>& shape);

}  // namespace tarnwick::win32::skin
