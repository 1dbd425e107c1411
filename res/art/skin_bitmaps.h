#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bmp_file.h"

namespace tarnwick::art {

// One bitmap of the skin: the file name the program loads from its Bmp folder, and how to draw it.
struct SkinBitmap {
  std::string fileName;
  std::function<BmpImage()> draw;
};

// Every bitmap of the skin.
std::vector<SkinBitmap> AllSkinBitmaps();

}  // namespace tarnwick::art
