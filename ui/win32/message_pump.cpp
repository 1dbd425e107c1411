#include "message_pump.h"

#include "win32_dialog_view.h"

namespace tarnwick::win32 {

void DispatchWindowMessage(MSG& message) {
  const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (Win32DialogView* view = Win32DialogView::FromHandle(root)) {
    if (view->FilterKey(message)) return;
    if (IsDialogMessageW(root, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace tarnwick::win32
