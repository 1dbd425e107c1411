#pragma once

#include <memory>

#include "splash_view.h"

namespace tarnwick::win32 {

// The splash screen's window: a borderless popup shaped by a region from the key colour, faded
// in and out with AnimateWindow where the system offers it.
std::unique_ptr<SplashView> CreateWin32SplashView();

}  // namespace tarnwick::win32
