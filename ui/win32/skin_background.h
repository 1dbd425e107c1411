#pragma once

#include <windows.h>

#include <string>

namespace tarnwick::win32 {

// The skin bitmap a dialog draws at (0,0) in its own size beneath its controls.
class SkinBackground {
 public:
  SkinBackground() = default;
  SkinBackground(const SkinBackground&) = delete;
  SkinBackground& operator=(const SkinBackground&) = delete;
  ~SkinBackground();

  // False when the file cannot be loaded; nothing is drawn then.
  bool Load(const std::string& bitmapPath);
  // Draws the bitmap over the part of the client area it covers.
  void Paint(HDC dc) const;

 private:
  HBITMAP bitmap_ = nullptr;
};

}  // namespace tarnwick::win32
