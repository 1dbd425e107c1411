#include "about_box.h"

#include "control_ids.h"
#include "dialog_layouts.h"

namespace tarnwick::win32 {
namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, ids::kAboutVersion, L"Version " TARNWICK_VERSION);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TW_DIALOG_ID_ABOUT), owner,
                  &AboutProc, 0);
}

}  // namespace tarnwick::win32
