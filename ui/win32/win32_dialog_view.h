#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "layout_tables.h"
#include "skin_background.h"
#include "views.h"
#include "win32_window.h"

namespace tarnwick::win32 {

// What every window of the program does on screen: a modeless dialog made from its template,
// the skin drawn beneath its controls, static texts transparent over it, owner-drawn bitmap
// buttons, and the events that the window's logic decides about (commands, the close box,
// Escape and F1, paints). The dialog itself decides nothing: closing it, Escape and the end of
// the modal loop all go to the logic.
class Win32DialogView : public virtual DialogView, public Win32Window {
 public:
  Win32DialogView(WindowEvents& events, const layouts::DialogLayout& layout);
  ~Win32DialogView() override;
  Win32DialogView(const Win32DialogView&) = delete;
  Win32DialogView& operator=(const Win32DialogView&) = delete;

  void SetTitle(const std::string& title) override;
  void SetBackground(const std::string& bitmapPath) override;
  void SetButtonLook(int id, const ButtonLook& look) override;
  void SetText(int id, const std::string& text) override;
  void SetProgress(int id, int position) override;
  void EnableControl(int id, bool enabled) override;
  void EnableMenuItem(int id, bool enabled) override;
  void Show() override;
  void Hide() override;
  void Invalidate() override;
  DialogResult RunModal() override;
  void EndModal(DialogResult result) override;

  HWND Handle() const override { return dialog_; }

  // The view of a dialog of the program; null for any other window.
  static Win32DialogView* FromHandle(HWND window);
  // True when the view took the message (Escape and F1) and nothing else may see it.
  bool FilterKey(const MSG& message);

 protected:
  WindowEvents& Events() { return events_; }
  // Enter presses this button wherever the focus is, unless on another button.
  void SetDefaultButton(int id) { defaultButton_ = id; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommandMessage(WPARAM wParam, LPARAM lParam);
  void DisableOtherWindows();
  void EnableOtherWindows();

  WindowEvents& events_;
  HWND dialog_ = nullptr;
  SkinBackground background_;
  int defaultButton_ = 0;
  std::optional<DialogResult> modalResult_;
  bool modalRunning_ = false;
  std::vector<HWND> disabledByModal_;
};

}  // namespace tarnwick::win32
