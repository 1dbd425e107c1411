#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "shell.h"

namespace tarnwick::win32::test {

// A plain top-level window standing in for the preview dialog, with a placeholder STATIC of
// id 1006 at kPlaceholder, as the dialog template has for its first pane.
class PaneTestWindow {
 public:
  static constexpr int kPlaceholderId = 1006;
  static constexpr RECT kPlaceholder{20, 30, 420, 330};

  PaneTestWindow();
  ~PaneTestWindow();
  PaneTestWindow(const PaneTestWindow&) = delete;
  PaneTestWindow& operator=(const PaneTestWindow&) = delete;

  HWND Handle() const { return window_; }
  HWND Placeholder() const { return GetDlgItem(window_, kPlaceholderId); }
  // The first descendant of that window class, the placeholder excepted.
  HWND FindDescendant(const wchar_t* windowClass) const;
  // A child's rectangle in this window's client coordinates.
  RECT RectOf(HWND child) const;

 private:
  HWND window_ = nullptr;
};

// OLE for the calling thread, as the program's main initialises it on the window thread.
class ScopedOle {
 public:
  ScopedOle() : result_(OleInitialize(nullptr)) {}
  ~ScopedOle() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  ScopedOle(const ScopedOle&) = delete;
  ScopedOle& operator=(const ScopedOle&) = delete;
  bool Ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

struct ShellCall {
  std::string file;
  std::vector<std::string> arguments;
  bool operator==(const ShellCall&) const = default;
};

class RecordingShell final : public Shell {
 public:
  int Open(const std::string& file, const std::vector<std::string>& arguments) override {
    calls.push_back({file, arguments});
    return 42;
  }
  // The panes open copies: they show no document of the program's own.
  bool ShowDocument(const std::string&, const std::string&) override { return false; }
  std::vector<ShellCall> calls;
};

std::wstring WindowText(HWND window);

}  // namespace tarnwick::win32::test
