#pragma once

#include <windows.h>

namespace tarnwick::win32 {

// Draws an owner-drawn button that has no bitmap look as a plain push button with its caption,
// so that a window whose skin has not been set up still shows usable buttons.
void DrawCaptionButton(const DRAWITEMSTRUCT& item);

}  // namespace tarnwick::win32
