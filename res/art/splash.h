#pragma once

#include "bmp_file.h"

namespace tarnwick::art {

// The splash picture: a rounded teal card on the splash key colour, which the program turns into
// the window's outline.
BmpImage SplashPicture();

// The application icon, 256 × 256, its outside in the splash key colour so that a converter can
// make it transparent.
BmpImage ApplicationIcon();

}  // namespace tarnwick::art
