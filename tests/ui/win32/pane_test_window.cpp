#include "pane_test_window.h"

namespace tarnwick::win32::test {
namespace {

constexpr wchar_t kWindowClass[] = L"TarnwickPaneTestWindow";

void RegisterWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);
}

struct Search {
  const wchar_t* windowClass;
  HWND placeholder;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM searchAddress) {
  auto& search = *reinterpret_cast<Search*>(searchAddress);
  wchar_t name[64] = {};
  GetClassNameW(window, name, ARRAYSIZE(name));
  if (window == search.placeholder || lstrcmpiW(name, search.windowClass) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

PaneTestWindow::PaneTestWindow() {
  RegisterWindowClass();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  window_ = CreateWindowExW(0, kWindowClass, L"Browser pane test",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800, 600,
                            nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"STATIC", L"placeholder", WS_CHILD | WS_VISIBLE, kPlaceholder.left,
                  kPlaceholder.top, kPlaceholder.right - kPlaceholder.left,
                  kPlaceholder.bottom - kPlaceholder.top, window_,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlaceholderId)), instance, nullptr);
}

PaneTestWindow::~PaneTestWindow() { DestroyWindow(window_); }

HWND PaneTestWindow::FindDescendant(const wchar_t* windowClass) const {
  Search search{windowClass, Placeholder(), nullptr};
  EnumChildWindows(window_, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT PaneTestWindow::RectOf(HWND child) const {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace tarnwick::win32::test
