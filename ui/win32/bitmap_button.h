#pragma once

#include <windows.h>

#include "button_look.h"

namespace tarnwick::win32 {

// Makes an owner-drawn push button of a dialog a bitmap button: the normal bitmap, the hover
// bitmap while the mouse is over it, each key colour transparent over the dialog's background,
// the caption when a bitmap cannot be loaded, and the tooltip. Calling it again changes the look.
// The dialog's background reaches the transparent parts through WM_ERASEBKGND and then
// WM_PRINTCLIENT, both carrying the button's drawing buffer with its origin moved: a dialog
// that paints a skin must paint it into the device context those messages give.
void SetBitmapButtonLook(HWND button, const ButtonLook& look);

// Draws a button that has a look, for the dialog's WM_DRAWITEM; false for any other control.
bool DrawBitmapButton(const DRAWITEMSTRUCT& item);

}  // namespace tarnwick::win32
