#include "watched_pane.h"

#include <map>

#include "fallback_pane.h"
#include "web_browser_pane.h"

namespace tarnwick::win32::browser {
namespace {

// The panes waiting for their control, by the thread timer that watches each. Only the window
// thread, which owns the panes, touches it.
std::map<UINT_PTR, WatchedPane*>& Watched() {
  static std::map<UINT_PTR, WatchedPane*> panes;
  return panes;
}

}  // namespace

std::unique_ptr<WatchedPane> WatchedPane::Create(HWND dialog, const RECT& rect, Shell& shell,
                                                 std::function<void()> onComplete,
                                                 std::chrono::milliseconds patience) {
  std::unique_ptr<WatchedPane> watched(
      new WatchedPane(dialog, rect, shell, std::move(onComplete), patience));
  watched->pane_ =
      WebBrowserPane::Create(dialog, rect, [pane = watched.get()] { pane->Completed(); });
  if (!watched->pane_) return nullptr;
  return watched;
}

WatchedPane::WatchedPane(HWND dialog, const RECT& rect, Shell& shell,
                         std::function<void()> onComplete, std::chrono::milliseconds patience)
    : dialog_(dialog),
      rect_(rect),
      shell_(shell),
      onComplete_(std::move(onComplete)),
      patience_(patience) {}

WatchedPane::~WatchedPane() { StopWatching(); }

bool WatchedPane::Navigate(const std::string& address) {
  lastAddress_ = address;
  if (!controlShows_) return pane_->Navigate(address);
  // The control may finish, or refuse, before Navigate returns.
  waiting_ = true;
  const bool started = pane_->Navigate(address);
  if (waiting_ && timer_ == 0) {
    timer_ = SetTimer(nullptr, 0, static_cast<UINT>(patience_.count()), &OnPatienceEnd);
    if (timer_ != 0) Watched()[timer_] = this;
  }
  return started;
}

bool WatchedPane::Refresh() { return pane_->Refresh(); }

void WatchedPane::Place(int x, int y, int width, int height) {
  rect_ = RECT{x, y, x + width, y + height};
  pane_->Place(x, y, width, height);
}

void CALLBACK WatchedPane::OnPatienceEnd(HWND, UINT, UINT_PTR timer, DWORD) {
  const auto found = Watched().find(timer);
  if (found == Watched().end()) {
    KillTimer(nullptr, timer);
    return;
  }
  found->second->GiveUpOnTheControl();
}

void WatchedPane::Completed() {
  waiting_ = false;
  StopWatching();
  onComplete_();
}

void WatchedPane::StopWatching() {
  if (timer_ == 0) return;
  KillTimer(nullptr, timer_);
  Watched().erase(timer_);
  timer_ = 0;
}

void WatchedPane::GiveUpOnTheControl() {
  StopWatching();
  waiting_ = false;
  controlShows_ = false;
  const RECT placed = rect_;
  pane_ = std::make_unique<FallbackPane>(dialog_, placed, shell_, onComplete_);
  pane_->Place(placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top);
  // The fallback finishes the navigation that the control left hanging.
  pane_->Navigate(lastAddress_);
}

}  // namespace tarnwick::win32::browser
