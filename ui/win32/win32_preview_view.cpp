#include "win32_preview_view.h"

#include "browser_pane.h"
#include "control_ids.h"

namespace tarnwick::win32 {
namespace {

std::unique_ptr<BrowserPane> MakePane(HWND dialog, int id, Shell& shell,
                                      WindowThread& windowThread, PreviewEvents& events,
                                      const std::shared_ptr<bool>& alive) {
  // A pane may report completion inside Navigate, while the window's logic is still busy with
  // it: the event waits in the window thread's queue instead.
  auto queueCompletion = [&windowThread, &events, weakAlive = std::weak_ptr<bool>(alive)] {
    windowThread.Post([&events, weakAlive] {
      if (!weakAlive.expired()) events.OnNavigationComplete();
    });
  };
  return CreateBrowserPane(dialog, id, shell, std::move(queueCompletion));
}

}  // namespace

Win32PreviewView::Win32PreviewView(PreviewEvents& events, Shell& shell,
                                   WindowThread& windowThread)
    : Win32DialogView(events, layouts::kPreview),
      alive_(std::make_shared<bool>(true)),
      firstPane_(MakePane(Handle(), ids::kFirstPane, shell, windowThread, events, alive_)),
      secondPane_(MakePane(Handle(), ids::kSecondPane, shell, windowThread, events, alive_)) {}

Win32PreviewView::~Win32PreviewView() {
  alive_.reset();
  // The panes' windows are children of the dialog: they go before it does.
  firstPane_.reset();
  secondPane_.reset();
}

BrowserPane& Win32PreviewView::Pane(int id) {
  return id == ids::kSecondPane ? *secondPane_ : *firstPane_;
}

int Win32PreviewView::WindowBottomInClient() {
  RECT window;
  GetWindowRect(Handle(), &window);
  POINT bottomRight{window.right, window.bottom};
  ScreenToClient(Handle(), &bottomRight);
  return bottomRight.y;
}

}  // namespace tarnwick::win32
