#include "scripted_views.h"

#include <algorithm>

#include "control_ids.h"

namespace tarnwick::test {

ScriptedDialogView::ScriptedDialogView(std::string windowKind, ScriptedViews& views,
                                       WindowEvents& events)
    : kind(std::move(windowKind)), views_(views), events_(events) {
  views_.open_.push_back(this);
  ++views_.opened_[kind];
}

ScriptedDialogView::~ScriptedDialogView() {
  *alive_ = false;
  std::erase(views_.open_, this);
}

void ScriptedDialogView::SetProgress(int id, int position) {
  progress[id] = position;
  std::vector<int>& history = progressHistory[id];
  if (history.empty() || history.back() != position) history.push_back(position);
}

void ScriptedDialogView::Invalidate() {
  views_.Loop().Post([alive = alive_, this] {
    if (*alive) events_.OnPaint();
  });
}

DialogResult ScriptedDialogView::RunModal() {
  visible = true;
  running = true;
  views_.Loop().RunUntil([this] { return ended.has_value(); });
  running = false;
  visible = false;
  return *ended;
}

void ScriptedMainView::SetFileRows(const std::vector<std::string>& paths) {
  const bool appended =
      paths.size() >= rows.size() && std::equal(rows.begin(), rows.end(), paths.begin());
  if (!appended) selectionMark = -1;
  rows = paths;
}

ScriptedPane::ScriptedPane(int id, ScriptedViews& views, PreviewEvents& events,
                           std::vector<Navigation>& navigations, std::shared_ptr<bool> alive)
    : id_(id),
      views_(views),
      events_(events),
      navigations_(navigations),
      alive_(std::move(alive)) {}

bool ScriptedPane::Navigate(const std::string& newAddress) {
  if (failing) return false;
  address = newAddress;
  navigations_.push_back({id_, newAddress});
  if (views_.panesNeverFinish) return true;
  views_.Loop().Post([alive = alive_, this] {
    if (*alive) events_.OnNavigationComplete();
  });
  return true;
}

bool ScriptedPane::Refresh() {
  if (failing) return false;
  ++refreshes;
  return true;
}

void ScriptedPane::Place(int newX, int newY, int newWidth, int newHeight) {
  x = newX, y = newY, width = newWidth, height = newHeight;
}

ScriptedPreviewView::ScriptedPreviewView(ScriptedViews& views, PreviewEvents& events)
    : ScriptedDialogView("preview", views, events),
      firstPane(ids::kFirstPane, views, events, navigations, alive_),
      secondPane(ids::kSecondPane, views, events, navigations, alive_) {}

BrowserPane& ScriptedPreviewView::Pane(int id) {
  return id == ids::kFirstPane ? firstPane : secondPane;
}

bool ScriptedSplashView::Create(WindowHandle* owner, bool) {
  record.parent = owner;
  return true;
}

std::unique_ptr<MainWindowView> ScriptedViews::CreateMainWindowView(WindowEvents& events) {
  return std::make_unique<ScriptedMainView>(*this, events);
}

std::unique_ptr<DialogView> ScriptedViews::CreateAnalysisView(WindowEvents& events) {
  return std::make_unique<ScriptedDialogView>("analysis", *this, events);
}

std::unique_ptr<PreviewView> ScriptedViews::CreatePreviewView(PreviewEvents& events) {
  return std::make_unique<ScriptedPreviewView>(*this, events);
}

std::unique_ptr<DialogView> ScriptedViews::CreateSavingView(WindowEvents& events) {
  return std::make_unique<ScriptedDialogView>("saving", *this, events);
}

std::unique_ptr<DialogView> ScriptedViews::CreateCompletionView(WindowEvents& events) {
  return std::make_unique<ScriptedDialogView>("completion", *this, events);
}

std::unique_ptr<SplashView> ScriptedViews::CreateSplashView() {
  return std::make_unique<ScriptedSplashView>(splash);
}

ScriptedDialogView& ScriptedViews::Open(const std::string& kind) {
  const auto found =
      std::find_if(open_.rbegin(), open_.rend(),
                   [&](const ScriptedDialogView* view) { return view->kind == kind; });
  if (found == open_.rend()) throw ScriptFailure("no " + kind + " window is open");
  return **found;
}

ScriptedMainView& ScriptedViews::Main() { return dynamic_cast<ScriptedMainView&>(Open("main")); }

ScriptedPreviewView& ScriptedViews::Preview() {
  return dynamic_cast<ScriptedPreviewView&>(Open("preview"));
}

int ScriptedViews::Opened(const std::string& kind) const {
  const auto found = opened_.find(kind);
  return found == opened_.end() ? 0 : found->second;
}

}  // namespace tarnwick::test
