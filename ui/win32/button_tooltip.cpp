#include "button_tooltip.h"

#include <commctrl.h>

#include "skin_utf16.h"

namespace tarnwick::win32::skin {
namespace {

HWND CreateTooltipWindow(HWND owner) {
  static const bool registered = [] {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    return InitCommonControlsEx(&classes) != FALSE;
  }();
  if (!registered) return nullptr;
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
}

}  // namespace

ButtonTooltip::~ButtonTooltip() {
  // The owner's destruction may have taken the tip window already.
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

void ButtonTooltip::SetText(HWND button, const std::string& text) {
  const HWND parent = GetParent(button);
  if (window_ == nullptr) {
    if (text.empty()) return;
    window_ = CreateTooltipWindow(parent);
    if (window_ == nullptr) return;
  }
  std::wstring wide = ToUtf16(text);
  TOOLINFOW tool{};
  // The older structure size is understood by every version of the common controls.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = wide.data();
  SendMessageW(window_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!text.empty()) SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace tarnwick::win32::skin
