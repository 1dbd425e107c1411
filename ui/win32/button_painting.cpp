#include "button_painting.h"

#include <cstdint>

namespace tarnwick::win32::skin {
namespace {

COLORREF ColourOf(const Rgb& colour) { return RGB(colour.red, colour.green, colour.blue); }

bool IsKey(const RGBQUAD& pixel, const std::optional<Rgb>& key) {
  return key && pixel.rgbRed == key->red && pixel.rgbGreen == key->green &&
         pixel.rgbBlue == key->blue;
}

// Luminance squeezed into the upper half of the range: a washed-out picture reads as unavailable.
std::uint8_t FadedGrey(const RGBQUAD& pixel) {
  const unsigned luminance = (pixel.rgbRed * 30u + pixel.rgbGreen * 59u + pixel.rgbBlue * 11u) / 100u;
  return static_cast<std::uint8_t>(128u + luminance / 2u);
}

}  // namespace

void PaintParentBackground(HWND control, HDC buffer, const RECT& area) {
  // A parent that draws nothing beneath leaves the dialog colour rather than a black buffer.
  const RECT local{0, 0, area.right - area.left, area.bottom - area.top};
  FillRect(buffer, &local, GetSysColorBrush(COLOR_BTNFACE));
  const HWND parent = GetParent(control);
  if (parent == nullptr) return;
  POINT offset{area.left, area.top};
  MapWindowPoints(control, parent, &offset, 1);
  // The parent paints in its own client coordinates; the shifted origin lands the part beneath
  // the control at the buffer's (0,0).
  POINT previousOrigin{};
  SetViewportOrgEx(buffer, -offset.x, -offset.y, &previousOrigin);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffer), PRF_CLIENT);
  SetViewportOrgEx(buffer, previousOrigin.x, previousOrigin.y, nullptr);
}

void DrawKeyedBitmap(HDC buffer, HBITMAP bitmap, POINT origin, const std::optional<Rgb>& key) {
  const SIZE size = BitmapSize(bitmap);
  const SelectedBitmap source(buffer, bitmap);
  if (key) {
    TransparentBlt(buffer, origin.x, origin.y, size.cx, size.cy, source.Dc(), 0, 0, size.cx,
                   size.cy, ColourOf(*key));
  } else {
    BitBlt(buffer, origin.x, origin.y, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
  }
}

UniqueBitmap GreyedCopy(HBITMAP bitmap, const std::optional<Rgb>& key) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size.cx;
  format.bmiHeader.biHeight = -size.cy;  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap grey(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!grey) return nullptr;

  const HDC reader = CreateCompatibleDC(nullptr);
  const int rows = GetDIBits(reader, bitmap, 0, static_cast<UINT>(size.cy), bits, &format,
                             DIB_RGB_COLORS);
  DeleteDC(reader);
  if (rows != size.cy) return nullptr;

  auto* pixel = static_cast<RGBQUAD*>(bits);
  const std::size_t count = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
  for (std::size_t i = 0; i < count; ++i, ++pixel) {
    if (IsKey(*pixel, key)) continue;
    std::uint8_t level = FadedGrey(*pixel);
    // A grey key colour would otherwise punch holes into the greyed picture.
    if (key && key->red == level && key->green == level && key->blue == level) level ^= 1u;
    pixel->rgbRed = pixel->rgbGreen = pixel->rgbBlue = level;
  }
  return grey;
}

void DrawCaptionButton(HDC buffer, const RECT& area, const std::wstring& caption, HFONT font,
                       UINT itemState) {
  const bool pressed = (itemState & ODS_SELECTED) != 0;
  const bool disabled = (itemState & ODS_DISABLED) != 0;
  RECT face = area;
  DrawFrameControl(buffer, &face, DFC_BUTTON,
                   DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u) | (disabled ? DFCS_INACTIVE : 0u));
  const HGDIOBJ previousFont =
      SelectObject(buffer, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT text = area;
  if (pressed) OffsetRect(&text, 1, 1);
  DrawTextW(buffer, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(buffer, previousFont);
}

void DrawFocusFrame(HDC buffer, const RECT& area) {
  FrameRect(buffer, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawFocusRect(buffer, &area);
}

}  // namespace tarnwick::win32::skin
