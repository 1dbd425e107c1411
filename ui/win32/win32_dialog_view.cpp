#include "win32_dialog_view.h"

#include <commctrl.h>

#include <tuple>

#include "bitmap_button.h"
#include "caption_button.h"
#include "message_pump.h"
#include "win32_text.h"

namespace tarnwick::win32 {
namespace {

constexpr wchar_t kViewProperty[] = L"TarnwickDialogView";
// Asks for one run of the window's paint logic, whether or not the system paints the window.
constexpr UINT kPaintRequest = WM_APP + 10;

// Every window carries the program's icon in its title bar and in the task switcher.
void SetProgramIcon(HWND dialog) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const auto& [size, metricX, metricY] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
                                              std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
    const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(TW_ICON_ID_PROGRAM), IMAGE_ICON,
                                   GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED);
    SendMessageW(dialog, WM_SETICON, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(icon));
  }
}

void SetDialogResult(HWND dialog, LRESULT result) {
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
}

}  // namespace

Win32DialogView::Win32DialogView(WindowEvents& events, const layouts::DialogLayout& layout)
    : events_(events) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(layout.resourceId), nullptr,
                     &DialogProc, reinterpret_cast<LPARAM>(this));
  SetProgramIcon(dialog_);
  for (const layouts::ControlLayout& control : layout.controls) {
    if (control.kind == layouts::ControlKind::kProgress) {
      SendDlgItemMessageW(dialog_, control.id, PBM_SETRANGE32, 0, 100);
    }
  }
}

Win32DialogView::~Win32DialogView() {
  if (modalRunning_) {
    modalResult_ = DialogResult::kCancel;
    EnableOtherWindows();
  }
  RemovePropW(dialog_, kViewProperty);
  DestroyWindow(dialog_);
}

Win32DialogView* Win32DialogView::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<Win32DialogView*>(GetPropW(window, kViewProperty));
}

INT_PTR CALLBACK Win32DialogView::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32DialogView*>(lParam);
    self->dialog_ = dialog;
    SetPropW(dialog, kViewProperty, self);
    return FALSE;  // the view decides when the focus goes where, on Show
  }
  Win32DialogView* self = FromHandle(dialog);
  return self != nullptr ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR Win32DialogView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommandMessage(wParam, lParam);
      return TRUE;
    case WM_CLOSE:
      events_.OnClose();
      return TRUE;
    case WM_HELP:
      return TRUE;  // F1 reaches the logic as a key already
    case kPaintRequest:
      events_.OnPaint();
      return TRUE;
    case WM_ERASEBKGND: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      RECT client;
      GetClientRect(dialog_, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      background_.Paint(dc);
      SetDialogResult(dialog_, 1);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      // Texts and frames show the skin through; SetText repaints what lies beneath them.
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!DrawBitmapButton(item)) DrawCaptionButton(item);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void Win32DialogView::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (lParam != 0) {
    if (HIWORD(wParam) == BN_CLICKED) events_.OnCommand(id);
    return;
  }
  // Without a control, IDOK is Enter and IDCANCEL is Escape or the close box: Escape and the
  // close box reach the logic by their own ways, and Enter presses the default button.
  if (id == IDOK) {
    const HWND button = defaultButton_ != 0 ? GetDlgItem(dialog_, defaultButton_) : nullptr;
    if (button != nullptr && IsWindowEnabled(button) && IsWindowVisible(button)) {
      events_.OnCommand(defaultButton_);
    }
    return;
  }
  if (id != IDCANCEL) events_.OnCommand(id);  // menu items
}

bool Win32DialogView::FilterKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.wParam != VK_ESCAPE && message.wParam != VK_F1) return false;
  events_.OnKey(message.wParam == VK_ESCAPE ? Key::kEscape : Key::kF1);
  // The dialog's own handling would end the dialog on Escape and ask for help on F1.
  return true;
}

void Win32DialogView::SetTitle(const std::string& title) {
  SetWindowTextW(dialog_, Wide(title).c_str());
}

void Win32DialogView::SetBackground(const std::string& bitmapPath) {
  background_.Load(bitmapPath);
  InvalidateRect(dialog_, nullptr, TRUE);
}

void Win32DialogView::SetButtonLook(int id, const ButtonLook& look) {
  if (const HWND button = GetDlgItem(dialog_, id)) SetBitmapButtonLook(button, look);
}

void Win32DialogView::SetText(int id, const std::string& text) {
  const HWND control = GetDlgItem(dialog_, id);
  if (control == nullptr) return;
  SetWindowTextW(control, Wide(text).c_str());
  // A transparent text draws over what it showed before unless the skin beneath is redrawn.
  RECT area;
  GetWindowRect(control, &area);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&area), 2);
  InvalidateRect(dialog_, &area, TRUE);
}

void Win32DialogView::SetProgress(int id, int position) {
  SendDlgItemMessageW(dialog_, id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32DialogView::EnableControl(int id, bool enabled) {
  if (const HWND control = GetDlgItem(dialog_, id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32DialogView::EnableMenuItem(int id, bool enabled) {
  const HMENU menu = GetMenu(dialog_);
  if (menu == nullptr) return;
  const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
  ::EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | state);
  DrawMenuBar(dialog_);
}

void Win32DialogView::Show() {
  ShowWindow(dialog_, SW_SHOW);
  SetForegroundWindow(dialog_);
}

void Win32DialogView::Hide() { ShowWindow(dialog_, SW_HIDE); }

void Win32DialogView::Invalidate() {
  InvalidateRect(dialog_, nullptr, TRUE);
  PostMessageW(dialog_, kPaintRequest, 0, 0);
}

DialogResult Win32DialogView::RunModal() {
  modalResult_.reset();
  modalRunning_ = true;
  DisableOtherWindows();
  Show();
  MSG message;
  while (!modalResult_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // A quit belongs to the outermost loop: it is passed on and this run ends.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchWindowMessage(message);
  }
  EnableOtherWindows();
  modalRunning_ = false;
  return modalResult_.value_or(DialogResult::kCancel);
}

void Win32DialogView::EndModal(DialogResult result) {
  if (!modalRunning_) return;
  modalResult_ = result;
  // The other windows take input again before this one goes, so that the system activates one
  // of them instead of another program's window.
  EnableOtherWindows();
  Hide();
  PostMessageW(dialog_, WM_NULL, 0, 0);  // wakes the loop up to see its end
}

void Win32DialogView::DisableOtherWindows() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM self) -> BOOL {
        auto* view = reinterpret_cast<Win32DialogView*>(self);
        if (window != view->dialog_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
          EnableWindow(window, FALSE);
          view->disabledByModal_.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void Win32DialogView::EnableOtherWindows() {
  for (const HWND window : disabledByModal_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabledByModal_.clear();
}

}  // namespace tarnwick::win32
