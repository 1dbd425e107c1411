#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "button_look.h"
#include "gdi_bitmap.h"

// The drawing steps of an owner-drawn bitmap button, each into a buffer the size of the button.
namespace tarnwick::win32::skin {

// Fills `buffer`, which stands for `area` of `control`, with what the control's parent draws
// there: its erased background and then its client painting, as it would print them.
void PaintParentBackground(HWND control, HDC buffer, const RECT& area);

// Draws `bitmap` with its top-left corner at `origin`, leaving out every pixel of `key`.
void DrawKeyedBitmap(HDC buffer, HBITMAP bitmap, POINT origin, const std::optional<Rgb>& key);

// The bitmap in light greys for a disabled button; pixels of `key` keep that colour, and no other
// pixel takes it, so that the same colour stays transparent.
UniqueBitmap GreyedCopy(HBITMAP bitmap, const std::optional<Rgb>& key);

// A plain push button with `caption` in the middle, for a button whose bitmap is missing.
// `itemState` carries the ODS_ flags of the draw request.
void DrawCaptionButton(HDC buffer, const RECT& area, const std::wstring& caption, HFONT font,
                       UINT itemState);

// Black dots on white: visible on any picture, unlike the system's inverted dots alone.
void DrawFocusFrame(HDC buffer, const RECT& area);

}  // namespace tarnwick::win32::skin
