#pragma once

#include <windows.h>

namespace tarnwick::win32::browser {

// Hides the dialog's placeholder control `id` and gives its rectangle in the dialog's client
// coordinates, where the pane takes its place; an empty rectangle when there is no such control.
RECT TakePlaceholder(HWND dialog, int id);

}  // namespace tarnwick::win32::browser
