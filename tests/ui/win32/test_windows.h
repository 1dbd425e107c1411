#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "bmp_file.h"

namespace tarnwick::win32::test {

// An image of one colour.
BmpImage SolidImage(int width, int height, Rgb colour);

// Writes `image` as a bitmap file into this run's temporary folder and gives its path.
std::string WriteTestBitmap(const std::string& name, const BmpImage& image);

// The window's own drawing, as the window prints itself into a 32-bit bitmap of its size.
class WindowCapture {
 public:
  explicit WindowCapture(HWND window);
  Rgb At(int x, int y) const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // How many pixels have exactly this colour.
  int Count(Rgb colour) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<RGBQUAD> pixels_;
};

Rgb RgbOf(COLORREF colour);

// What the screen shows at (x, y), as the windows there painted it.
Rgb ScreenPixel(int x, int y);

// A plain top-level window of the test, its client area filled by the given WM_ERASEBKGND and
// handing WM_DRAWITEM to the bitmap buttons. Destroyed with the object.
class HostWindow {
 public:
  using EraseHandler = std::function<void(HDC)>;
  HostWindow(int width, int height, EraseHandler erase);
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  ~HostWindow();

  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  EraseHandler erase_;
  HWND window_ = nullptr;
};

}  // namespace tarnwick::win32::test
