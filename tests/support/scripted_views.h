#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scripted_event_loop.h"
#include "splash_view.h"
#include "views.h"

namespace tarnwick::test {

class ScriptedViews;

// A window of the scripted desktop: keeps what the program shows in it, so that tests can read
// it back, and runs its modal loop on the scripted window thread.
class ScriptedDialogView : public virtual DialogView {
 public:
  ScriptedDialogView(std::string kind, ScriptedViews& views, WindowEvents& events);
  ~ScriptedDialogView() override;

  void SetTitle(const std::string& text) override { title = text; }
  void SetBackground(const std::string& bitmapPath) override { background = bitmapPath; }
  void SetButtonLook(int id, const ButtonLook& look) override { looks[id] = look; }
  void SetText(int id, const std::string& text) override {
    texts[id] = text;
    textHistory[id].push_back(text);
  }
  void SetProgress(int id, int position) override;
  void EnableControl(int id, bool enabled) override { controlEnabled[id] = enabled; }
  void EnableMenuItem(int id, bool enabled) override { menuEnabled[id] = enabled; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  void Invalidate() override;
  DialogResult RunModal() override;
  void EndModal(DialogResult result) override { ended = result; }

  WindowEvents& Events() { return events_; }
  // What the user sees on a button: its caption, else its tooltip.
  const ButtonLook& Look(int id) const { return looks.at(id); }

  const std::string kind;
  std::string title;
  std::string background;
  std::map<int, ButtonLook> looks;
  std::map<int, std::string> texts;
  std::map<int, std::vector<std::string>> textHistory;  // every text set, in order
  std::map<int, int> progress;
  std::map<int, std::vector<int>> progressHistory;
  std::map<int, bool> controlEnabled;
  std::map<int, bool> menuEnabled;
  bool visible = false;
  bool running = false;
  std::optional<DialogResult> ended;

 protected:
  ScriptedViews& views_;
  // Paints queued for a window that has gone are dropped.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

 private:
  WindowEvents& events_;
};

class ScriptedMainView final : public ScriptedDialogView, public MainWindowView {
 public:
  ScriptedMainView(ScriptedViews& views, WindowEvents& events)
      : ScriptedDialogView("main", views, events) {}
  void SetFileRows(const std::vector<std::string>& paths) override;
  int SelectionMark() override { return selectionMark; }

  std::vector<std::string> rows;  // column 1; column 0 is the row's number
  int selectionMark = -1;
};

struct Navigation {
  int pane = 0;
  std::string address;
};

class ScriptedPane final : public BrowserPane {
 public:
  ScriptedPane(int id, ScriptedViews& views, PreviewEvents& events,
               std::vector<Navigation>& navigations, std::shared_ptr<bool> alive);
  bool Navigate(const std::string& address) override;
  bool Refresh() override;
  void Place(int x, int y, int width, int height) override;

  int x = 0, y = 0, width = 0, height = 0;
  std::string address;
  bool failing = false;  // the control raises an error on every call
  int refreshes = 0;

 private:
  int id_;
  ScriptedViews& views_;
  PreviewEvents& events_;
  std::vector<Navigation>& navigations_;
  std::shared_ptr<bool> alive_;
};

class ScriptedPreviewView final : public ScriptedDialogView, public PreviewView {
 public:
  static constexpr int kWindowBottom = 471;  // 290 dialog units

  ScriptedPreviewView(ScriptedViews& views, PreviewEvents& events);
  BrowserPane& Pane(int id) override;
  int WindowBottomInClient() override { return kWindowBottom; }

  // The pane that shows a copy: the one with a size.
  const ScriptedPane& VisiblePane() const { return firstPane.width > 0 ? firstPane : secondPane; }

  std::vector<Navigation> navigations;
  ScriptedPane firstPane;
  ScriptedPane secondPane;
};

// What the program did with its splash screen, kept after the splash has gone.
struct SplashRecord {
  WindowHandle* parent = nullptr;
  int pictureWidth = 0;
  std::size_t shapeRects = 0;
  bool shown = false;
  bool destroyed = false;
};

class ScriptedSplashView final : public SplashView {
 public:
  explicit ScriptedSplashView(SplashRecord& shown) : record(shown) {}
  bool Create(WindowHandle* parent, bool dropShadow) override;
  ScreenSize ScreenClientSize() const override { return {1920, 1040}; }
  void SetPicture(const BmpImage& picture) override { record.pictureWidth = picture.width; }
  void SetShape(const std::vector<ShapeRect>& shape) override { record.shapeRects = shape.size(); }
  void Place(int, int, int, int) override {}
  bool SupportsFading() const override { return true; }
  void FadeIn(unsigned) override { record.shown = true; }
  void Show() override { record.shown = true; }
  void FadeOut(unsigned) override { record.shown = false; }
  void Hide() override { record.shown = false; }
  void SetTimerListener(std::function<void(int)>) override {}
  void StartTimer(int, unsigned) override {}
  void StopTimer(int) override {}
  void Destroy() override { record.destroyed = true; }

  SplashRecord& record;
};

struct HelpWindowRequest {
  WindowHandle* owner = nullptr;
  std::string documentPath;
};

// Makes scripted views and keeps a record of every window the program opened.
class ScriptedViews final : public ViewFactory {
 public:
  explicit ScriptedViews(ScriptedEventLoop& loop) : loop_(loop) {}
  ScriptedEventLoop& Loop() { return loop_; }

  // Set, the preview's panes never report a navigation complete, as a control that is still
  // loading, or that never will, does not.
  bool panesNeverFinish = false;

  std::unique_ptr<MainWindowView> CreateMainWindowView(WindowEvents& events) override;
  std::unique_ptr<DialogView> CreateAnalysisView(WindowEvents& events) override;
  std::unique_ptr<PreviewView> CreatePreviewView(PreviewEvents& events) override;
  std::unique_ptr<DialogView> CreateSavingView(WindowEvents& events) override;
  std::unique_ptr<DialogView> CreateCompletionView(WindowEvents& events) override;
  std::unique_ptr<SplashView> CreateSplashView() override;
  void ShowAbout(WindowHandle* owner) override { aboutOwners.push_back(owner); }
  void ShowHelpWindow(WindowHandle* owner, const std::string& documentPath) override {
    helpWindows.push_back({owner, documentPath});
  }

  // The window of that kind that is open now ("main", "analysis", "preview", "saving",
  // "completion"); the test fails when there is none.
  ScriptedDialogView& Open(const std::string& kind);
  ScriptedMainView& Main();
  ScriptedPreviewView& Preview();
  // How many windows of the kind were opened so far.
  int Opened(const std::string& kind) const;

  std::vector<WindowHandle*> aboutOwners;
  std::vector<HelpWindowRequest> helpWindows;
  SplashRecord splash;

 private:
  ScriptedEventLoop& loop_;
  std::vector<ScriptedDialogView*> open_;
  std::map<std::string, int> opened_;
  friend class ScriptedDialogView;
};

}  // namespace tarnwick::test
