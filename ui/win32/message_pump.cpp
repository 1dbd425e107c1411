#include "message_pump.h"

#include "dialog_layouts.h"
#include "win32_dialog_view.h"

namespace tarnwick::win32 {
namespace {

HACCEL MenuKeys() {
  static const HACCEL keys =
      LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TW_ACCELERATORS_ID_PROGRAM));
  return keys;
}

}  // namespace

void DispatchWindowMessage(MSG& message) {
  const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (Win32DialogView* view = Win32DialogView::FromHandle(root)) {
    if (view->FilterKey(message)) return;
    if (GetMenu(root) != nullptr && TranslateAcceleratorW(root, MenuKeys(), &message)) return;
    if (IsDialogMessageW(root, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace tarnwick::win32
