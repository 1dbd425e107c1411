#include "gdi_bitmap.h"

#include "skin_utf16.h"

namespace tarnwick::win32::skin {

UniqueBitmap LoadBitmapFile(const std::string& path) {
  if (path.empty()) return nullptr;
  // A DIB section keeps the file's colours exactly, whatever the screen's depth.
  return UniqueBitmap(static_cast<HBITMAP>(LoadImageW(nullptr, ToUtf16(path).c_str(), IMAGE_BITMAP,
                                                      0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return {0, 0};
  // A top-down bitmap may give its height as a negative number.
  return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

SelectedBitmap::SelectedBitmap(HDC compatibleWith, HBITMAP bitmap)
    : dc_(CreateCompatibleDC(compatibleWith)), previous_(SelectObject(dc_, bitmap)) {}

SelectedBitmap::~SelectedBitmap() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
}

}  // namespace tarnwick::win32::skin
