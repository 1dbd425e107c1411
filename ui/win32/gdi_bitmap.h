#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace tarnwick::win32::skin {

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// The bitmap file as a DIB section in the file's own format; null when it cannot be loaded.
UniqueBitmap LoadBitmapFile(const std::string& path);

// Width and height in pixels; 0 × 0 for a null bitmap.
SIZE BitmapSize(HBITMAP bitmap);

// A memory device context with `bitmap` selected for as long as it lives.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC compatibleWith, HBITMAP bitmap);
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  ~SelectedBitmap();

  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tarnwick::win32::skin
