#include "pane_placeholder.h"

namespace tarnwick::win32::browser {

RECT TakePlaceholder(HWND dialog, int id) {
  RECT rect{};
  const HWND placeholder = GetDlgItem(dialog, id);
  if (!placeholder) return rect;
  GetWindowRect(placeholder, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  ShowWindow(placeholder, SW_HIDE);
  return rect;
}

}  // namespace tarnwick::win32::browser
