#include "test_windows.h"

#include <filesystem>
#include <utility>

#include "bitmap_button.h"

namespace tarnwick::win32::test {

BmpImage SolidImage(int width, int height, Rgb colour) {
  return {
      width, height,
      std::vector<Rgb>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour)};
}

std::string WriteTestBitmap(const std::string& name, const BmpImage& image) {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("tarnwick_win32_skin_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(path);
    return path;
  }();
  const std::string path = (folder / name).string();
  if (!WriteBmp24(path, image)) return {};
  return path;
}

WindowCapture::WindowCapture(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  width_ = bounds.right - bounds.left;
  height_ = bounds.bottom - bounds.top;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width_;
  format.bmiHeader.biHeight = -height_;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP target = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, target);
  PrintWindow(window, dc, 0);
  GdiFlush();
  const auto* first = static_cast<const RGBQUAD*>(bits);
  pixels_.assign(first, first + width_ * height_);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(target);
}

Rgb WindowCapture::At(int x, int y) const {
  const RGBQUAD& pixel = pixels_.at(static_cast<std::size_t>(y * width_ + x));
  return {pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue};
}

int WindowCapture::Count(Rgb colour) const {
  int count = 0;
  for (const RGBQUAD& pixel : pixels_) {
    if (Rgb{pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue} == colour) ++count;
  }
  return count;
}

Rgb RgbOf(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

Rgb ScreenPixel(int x, int y) {
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return RgbOf(colour);
}

HostWindow::HostWindow(int width, int height, EraseHandler erase) : erase_(std::move(erase)) {
  static const ATOM windowClass = [] {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = Proc;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"TarnwickSkinTestHost";
    return RegisterClassExW(&description);
  }();
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
  window_ = CreateWindowExW(0, MAKEINTATOM(windowClass), L"Skin test", WS_POPUP | WS_VISIBLE, 10,
                            10, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
}

HostWindow::~HostWindow() { DestroyWindow(window_); }

LRESULT CALLBACK HostWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  const auto* host = reinterpret_cast<const HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host != nullptr && message == WM_ERASEBKGND) {
    host->erase_(reinterpret_cast<HDC>(wParam));
    return 1;
  }
  if (message == WM_DRAWITEM &&
      DrawBitmapButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tarnwick::win32::test
