#pragma once

#include <memory>
#include <string>
#include <vector>

#include "button_look.h"
#include "window_handle.h"

namespace tarnwick {

enum class DialogResult { kOk = 1, kCancel = 2 };
enum class Key { kEscape, kF1 };

// What a window's view reports to the window: its controls' commands, the close box, the keys
// the window filters before its controls see them, and paint requests.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnCommand(int id) = 0;
  // The close box, Alt+F4 or the system menu's Close.
  virtual void OnClose() = 0;
  // True when the window took the key and the controls must not see it.
  virtual bool OnKey(Key key) = 0;
  // Runs at every paint of the window.
  virtual void OnPaint() = 0;
};

// A window on screen. Every operation runs on the window thread.
class DialogView : public virtual WindowHandle {
 public:
  virtual void SetTitle(const std::string& title) = 0;
  virtual void SetBackground(const std::string& bitmapPath) = 0;
  virtual void SetButtonLook(int id, const ButtonLook& look) = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual void SetProgress(int id, int position) = 0;  // 0 to 100
  virtual void EnableControl(int id, bool enabled) = 0;
  virtual void EnableMenuItem(int id, bool enabled) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // Asks for a paint; the view calls WindowEvents::OnPaint later, on the window thread.
  virtual void Invalidate() = 0;
  // Shows the window and runs it until EndModal.
  virtual DialogResult RunModal() = 0;
  virtual void EndModal(DialogResult result) = 0;
};

// The main window, with its file table: column 0 numbers the rows from 1, column 1 holds paths.
class MainWindowView : public virtual DialogView {
 public:
  virtual void SetFileRows(const std::vector<std::string>& paths) = 0;
  // The selection mark survives rows appended at the end; any other change clears it.
  // The row selected last (even when no longer highlighted); -1 when none has been.
  virtual int SelectionMark() = 0;
};

// One browser pane of the preview window. Navigate and Refresh return false when the pane
// raised an error. Every navigation, failed ones included, ends with the preview's
// OnNavigationComplete, queued on the window thread.
class BrowserPane {
 public:
  virtual ~BrowserPane() = default;
  virtual bool Navigate(const std::string& address) = 0;
  virtual bool Refresh() = 0;
  virtual void Place(int x, int y, int width, int height) = 0;
};

class PreviewEvents : public WindowEvents {
 public:
  virtual void OnNavigationComplete() = 0;
};

class PreviewView : public virtual DialogView {
 public:
  virtual BrowserPane& Pane(int id) = 0;
  // The bottom edge of the window's rectangle in client coordinates.
  virtual int WindowBottomInClient() = 0;
};

class SplashView;

// Makes the views of the windows.
class ViewFactory {
 public:
  virtual ~ViewFactory() = default;
  virtual std::unique_ptr<MainWindowView> CreateMainWindowView(WindowEvents& events) = 0;
  virtual std::unique_ptr<DialogView> CreateAnalysisView(WindowEvents& events) = 0;
  virtual std::unique_ptr<PreviewView> CreatePreviewView(PreviewEvents& events) = 0;
  virtual std::unique_ptr<DialogView> CreateSavingView(WindowEvents& events) = 0;
  virtual std::unique_ptr<DialogView> CreateCompletionView(WindowEvents& events) = 0;
  virtual std::unique_ptr<SplashView> CreateSplashView() = 0;
  // The About box, run modally over the owner.
  virtual void ShowAbout(WindowHandle* owner) = 0;
  // The help document in a window of the program's own, over the owner and usable while the
  // owner runs modally; for a desktop that has nothing to open the document with. A help window
  // that is open already shows the document and comes to the front.
  virtual void ShowHelpWindow(WindowHandle* owner, const std::string& documentPath) = 0;
};

}  // namespace tarnwick
