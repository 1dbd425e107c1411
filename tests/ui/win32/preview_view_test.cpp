// The preview window's view: two panes in place of the template's placeholders, each
// navigation's end queued on the window thread, and the window's bottom edge in client
// coordinates for the panes' height.
#include <gtest/gtest.h>
#include <windows.h>

#include "control_ids.h"
#include "pump_messages.h"
#include "recording_events.h"
#include "win32_preview_view.h"
#include "win32_window_thread.h"

using namespace tarnwick;
using test::PumpUntil;
using test::RecordingEvents;
using win32::Win32PreviewView;

namespace {

// Opens nothing: the panes' fallback offers the copy to the shell only when the user asks.
class IdleShell final : public Shell {
 public:
  int Open(const std::string&, const std::vector<std::string>&) override { return 33; }
  bool ShowDocument(const std::string&, const std::string&) override { return false; }
};

// The process has no OLE, so the panes are the plain ones, which finish every navigation.
class PreviewViewTest : public testing::Test {
 protected:
  win32::Win32WindowThread thread_;
  RecordingEvents events_;
  IdleShell shell_;
};

TEST_F(PreviewViewTest, NavigationEndsLaterOnTheWindowThread) {
  Win32PreviewView view(events_, shell_, thread_);
  view.Pane(ids::kSecondPane).Navigate("about:blank");
  EXPECT_EQ(events_.navigationsCompleted, 0);
  ASSERT_TRUE(PumpUntil([&] { return events_.navigationsCompleted == 1; }));
}

TEST_F(PreviewViewTest, NavigationEndAfterTheViewIsGoneReachesNobody) {
  {
    Win32PreviewView view(events_, shell_, thread_);
    view.Pane(ids::kFirstPane).Navigate("about:blank");
  }
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(events_.navigationsCompleted, 0);
}

TEST_F(PreviewViewTest, WindowBottomLiesJustBelowTheClientArea) {
  Win32PreviewView view(events_, shell_, thread_);
  RECT client;
  GetClientRect(view.Handle(), &client);
  const int bottom = view.WindowBottomInClient();
  // Below the client area by the frame's lower border only.
  EXPECT_GE(bottom, client.bottom);
  EXPECT_LT(bottom, client.bottom + 16);
}

}  // namespace
