#include "browser_pane.h"

#include <string_view>

#include "fallback_pane.h"
#include "pane_placeholder.h"
#include "watched_pane.h"

namespace tarnwick::win32 {
namespace {

// Set to 1 where the control is created but never finishes a navigation, as under Wine without
// its browser engine: the preview then does not wait for the control first.
bool ControlRefusedByEnvironment() {
  wchar_t value[4] = {};
  const DWORD length =
      GetEnvironmentVariableW(L"TARNWICK_NO_BROWSER_CONTROL", value, ARRAYSIZE(value));
  return length == 1 && std::wstring_view(value) == L"1";
}

}  // namespace

std::unique_ptr<BrowserPane> CreateBrowserPane(HWND dialog, int id, Shell& shell,
                                               std::function<void()> onComplete,
                                               std::chrono::milliseconds patience) {
  const RECT rect = browser::TakePlaceholder(dialog, id);
  if (!ControlRefusedByEnvironment()) {
    if (auto pane = browser::WatchedPane::Create(dialog, rect, shell, onComplete, patience)) {
      return pane;
    }
  }
  return std::make_unique<browser::FallbackPane>(dialog, rect, shell, std::move(onComplete));
}

}  // namespace tarnwick::win32
