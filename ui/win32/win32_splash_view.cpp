#include "win32_splash_view.h"

#include <functional>
#include <utility>

#include "gdi_bitmap.h"
#include "splash_gdi.h"
#include "win32_window.h"

namespace tarnwick::win32 {
namespace {

constexpr wchar_t kClassName[] = L"SplashScreenExClass";

using AnimateWindowFunction = BOOL(WINAPI*)(HWND, DWORD, DWORD);

// Looked up by name: systems without window animation still show the splash, only not faded.
AnimateWindowFunction FindAnimateWindow() {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  const FARPROC entry = GetProcAddress(user32, "AnimateWindow");
  return reinterpret_cast<AnimateWindowFunction>(reinterpret_cast<void (*)()>(entry));
}

class Win32SplashView final : public SplashView, public Win32Window {
 public:
  Win32SplashView() : animateWindow_(FindAnimateWindow()) {}
  Win32SplashView(const Win32SplashView&) = delete;
  Win32SplashView& operator=(const Win32SplashView&) = delete;
  ~Win32SplashView() override { Destroy(); }

  HWND Handle() const override { return window_; }

  bool Create(WindowHandle* parent, bool dropShadow) override {
    if (window_ != nullptr || !RegisterWindowClass(dropShadow)) return false;
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0,
                              0, HandleOf(parent), nullptr, GetModuleHandleW(nullptr), this);
    return window_ != nullptr;
  }

  ScreenSize ScreenClientSize() const override {
    return {GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
  }

  void SetPicture(const BmpImage& picture) override {
    picture_ = skin::DibFromImage(picture);
    if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
  }

  void SetShape(const std::vector<ShapeRect>& shape) override {
    if (window_ == nullptr) return;
    const HRGN region = skin::RegionFromShape(shape);
    // The window owns the region once it is set.
    if (SetWindowRgn(window_, region, TRUE) == 0) DeleteObject(region);
  }

  void Place(int x, int y, int width, int height) override {
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  bool SupportsFading() const override { return animateWindow_ != nullptr; }

  void FadeIn(unsigned milliseconds) override {
    if (animateWindow_ == nullptr || animateWindow_(window_, milliseconds, AW_BLEND) == FALSE) {
      Show();
    }
  }

  void Show() override {
    ShowWindow(window_, SW_SHOWNA);
    UpdateWindow(window_);
  }

  void FadeOut(unsigned milliseconds) override {
    if (animateWindow_ != nullptr) animateWindow_(window_, milliseconds, AW_BLEND | AW_HIDE);
    // The animation refuses a window that is hidden already or cannot be blended; the window
    // must end up hidden either way.
    Hide();
  }

  void Hide() override { ShowWindow(window_, SW_HIDE); }

  void SetTimerListener(std::function<void(int id)> listener) override {
    timerListener_ = std::move(listener);
  }

  void StartTimer(int id, unsigned milliseconds) override {
    SetTimer(window_, static_cast<UINT_PTR>(id), milliseconds, nullptr);
  }

  void StopTimer(int id) override { KillTimer(window_, static_cast<UINT_PTR>(id)); }

  void Destroy() override {
    // Destroying the window also ends its timers.
    if (window_ != nullptr) DestroyWindow(window_);
    picture_.reset();
    // Fails while another splash window still uses the class, which is then left as it is.
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
  }

 private:
  static bool RegisterWindowClass(bool dropShadow) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_SAVEBITS | CS_DBLCLKS | (dropShadow ? CS_DROPSHADOW : 0u);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* view = reinterpret_cast<Win32SplashView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
      case WM_ERASEBKGND:
        // The picture covers the window; erasing first would flash the class colour.
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        view->DrawPicture(dc);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_PRINTCLIENT:
        // The blend animation prints the window into its own buffer.
        view->DrawPicture(reinterpret_cast<HDC>(wParam));
        return 0;
      case WM_TIMER: {
        // The listener may destroy the window and even the view: it runs from a copy, and
        // nothing of the view is touched afterwards.
        const std::function<void(int)> listener = view->timerListener_;
        if (listener) listener(static_cast<int>(wParam));
        return 0;
      }
      case WM_NCDESTROY:
        // Also reached when the owner's destruction takes this window with it.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->window_ = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void DrawPicture(HDC dc) const {
    if (!picture_) return;
    const SIZE size = skin::BitmapSize(picture_.get());
    const skin::SelectedBitmap source(dc, picture_.get());
    BitBlt(dc, 0, 0, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
  }

  const AnimateWindowFunction animateWindow_;
  HWND window_ = nullptr;
  skin::UniqueBitmap picture_;
  std::function<void(int)> timerListener_;
};

}  // namespace

std::unique_ptr<SplashView> CreateWin32SplashView() { return std::make_unique<Win32SplashView>(); }

}  // namespace tarnwick::win32
