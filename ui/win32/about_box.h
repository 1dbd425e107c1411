#pragma once

#include <windows.h>

namespace tarnwick::win32 {

// The About box from its template: the product's name, its version and what it does; runs
// modally over the owner until OK, Escape or the close box.
void ShowAboutBox(HWND owner);

}  // namespace tarnwick::win32
