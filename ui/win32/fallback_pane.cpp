#include "fallback_pane.h"

#include "browser_address.h"
#include "utf8_to_wide.h"

namespace tarnwick::win32::browser {
namespace {

constexpr wchar_t kContainerClass[] = L"TarnwickPreviewFallbackPane";
constexpr wchar_t kOpenButtonText[] = L"Open in PDF viewer";
constexpr int kOpenButtonId = 1;
constexpr int kMargin = 8;
constexpr int kTextHeight = 20;
constexpr int kButtonWidth = 160;
constexpr int kButtonHeight = 26;

void RegisterContainerClass(WNDPROC windowProc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // White, like the empty page of a browser.
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kContainerClass;
  // A second pane finds the class registered already, which is fine.
  RegisterClassExW(&windowClass);
}

}  // namespace

FallbackPane::FallbackPane(HWND dialog, const RECT& rect, Shell& shell,
                           std::function<void()> onComplete)
    : shell_(shell), onComplete_(std::move(onComplete)) {
  RegisterContainerClass(&FallbackPane::WindowProc);
  container_ = CreateWindowExW(0, kContainerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                               rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, dialog, nullptr, GetModuleHandleW(nullptr),
                               this);
  CreateChildren(dialog);
  LayOut(rect.right - rect.left);
}

FallbackPane::~FallbackPane() {
  if (container_) DestroyWindow(container_);
}

void FallbackPane::CreateChildren(HWND dialog) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Paths may hold '&', which is no mnemonic here; a long one loses its middle, not its name.
  pathText_ = CreateWindowExW(0, L"STATIC", L"",
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 0,
                              0, 0, 0, container_, nullptr, instance, nullptr);
  openButton_ = CreateWindowExW(
      0, L"BUTTON", kOpenButtonText, WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
      container_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOpenButtonId)), instance,
      nullptr);
  const WPARAM font = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  SendMessageW(pathText_, WM_SETFONT, font, FALSE);
  SendMessageW(openButton_, WM_SETFONT, font, FALSE);
}

bool FallbackPane::Navigate(const std::string& address) {
  shownFile_ = ShownFile(address);
  SetWindowTextW(pathText_, Utf8ToWide(shownFile_).c_str());
  ShowWindow(openButton_, shownFile_.empty() ? SW_HIDE : SW_SHOW);
  onComplete_();
  return true;
}

bool FallbackPane::Refresh() { return true; }

void FallbackPane::Place(int x, int y, int width, int height) {
  MoveWindow(container_, x, y, width, height, TRUE);
  ShowWindow(container_, width > 0 && height > 0 ? SW_SHOW : SW_HIDE);
}

void FallbackPane::LayOut(int width) {
  const int inner = width > 2 * kMargin ? width - 2 * kMargin : 0;
  MoveWindow(pathText_, kMargin, kMargin, inner, kTextHeight, TRUE);
  MoveWindow(openButton_, kMargin, 2 * kMargin + kTextHeight, kButtonWidth, kButtonHeight, TRUE);
}

void FallbackPane::OpenShownFile() {
  if (!shownFile_.empty()) shell_.Open(shownFile_, {});
}

LRESULT CALLBACK FallbackPane::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* pane = reinterpret_cast<FallbackPane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SIZE:
      if (pane) pane->LayOut(LOWORD(lParam));
      return 0;
    case WM_COMMAND:
      if (pane && LOWORD(wParam) == kOpenButtonId && HIWORD(wParam) == BN_CLICKED) {
        pane->OpenShownFile();
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace tarnwick::win32::browser
