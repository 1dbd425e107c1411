#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "browser_pane.h"
#include "pane_test_window.h"
#include "pump_messages.h"
#include "watched_pane.h"

namespace tarnwick::win32 {
namespace {

using test::PaneTestWindow;

// The control's own window: "Shell Embedding" is the class of the window that Windows' and
// Wine's web browser controls put into their container.
constexpr wchar_t kControlWindowClass[] = L"Shell Embedding";
// Where the tests place a pane, in the window's client coordinates.
constexpr RECT kPlaced{215, 120, 715, 420};

std::tuple<LONG, LONG, LONG, LONG> Corners(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

class WebBrowserPaneTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ole_.Ok()); }

  std::unique_ptr<BrowserPane> CreatePane(std::function<void()> onComplete) {
    return CreateBrowserPane(window_.Handle(), PaneTestWindow::kPlaceholderId, shell_,
                             std::move(onComplete));
  }

  test::ScopedOle ole_;
  PaneTestWindow window_;
  test::RecordingShell shell_;
};

TEST_F(WebBrowserPaneTest, HostsTheControlInPlaceOfThePlaceholder) {
  const auto pane = CreatePane([] {});
  ASSERT_NE(dynamic_cast<browser::WatchedPane*>(pane.get()), nullptr);
  EXPECT_FALSE(IsWindowVisible(window_.Placeholder()));
  const HWND control = window_.FindDescendant(kControlWindowClass);
  ASSERT_NE(control, nullptr);
  const RECT rect = window_.RectOf(control);
  EXPECT_EQ(rect.left, PaneTestWindow::kPlaceholder.left);
  EXPECT_EQ(rect.top, PaneTestWindow::kPlaceholder.top);
  EXPECT_EQ(rect.right, PaneTestWindow::kPlaceholder.right);
  EXPECT_EQ(rect.bottom, PaneTestWindow::kPlaceholder.bottom);
}

TEST_F(WebBrowserPaneTest, AcceptsTheAddressesOfThePreview) {
  const auto pane = CreatePane([] {});
  EXPECT_TRUE(pane->Navigate("about:blank"));
  EXPECT_TRUE(pane->Navigate("C:\\windows\\temp\\copy of damaged.pdf#toolbar=0"));
  EXPECT_TRUE(pane->Navigate("about:blank"));
}

TEST_F(WebBrowserPaneTest, PlaceMovesTheControl) {
  const auto pane = CreatePane([] {});
  pane->Place(kPlaced.left, kPlaced.top, kPlaced.right - kPlaced.left,
              kPlaced.bottom - kPlaced.top);
  const HWND control = window_.FindDescendant(kControlWindowClass);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(Corners(window_.RectOf(control)), Corners(kPlaced));
}

// Everything the pane gave the control comes back when the pane goes: the events' sink, which
// alone holds the callback, is freed.
TEST_F(WebBrowserPaneTest, DestroyingThePaneReleasesTheControlsHold) {
  auto token = std::make_shared<int>(0);
  auto pane = CreatePane([token] {});
  ASSERT_NE(dynamic_cast<browser::WatchedPane*>(pane.get()), nullptr);
  pane->Navigate("about:blank");
  pane.reset();
  EXPECT_EQ(token.use_count(), 1);
}

// Wine's control, without a browser engine, never finishes a navigation: once the pane's
// patience is over, the fallback takes the control's place and finishes it.
TEST_F(WebBrowserPaneTest, ANavigationLeftUnfinishedEndsInTheFallback) {
  int completions = 0;
  const auto pane = CreateBrowserPane(
      window_.Handle(), PaneTestWindow::kPlaceholderId, shell_, [&completions] { ++completions; },
      std::chrono::milliseconds(200));
  pane->Place(kPlaced.left, kPlaced.top, kPlaced.right - kPlaced.left,
              kPlaced.bottom - kPlaced.top);
  ASSERT_TRUE(pane->Navigate("C:\\windows\\temp\\copy.pdf#toolbar=0"));
  ASSERT_TRUE(tarnwick::test::PumpUntil([&completions] { return completions > 0; }));
  if (window_.FindDescendant(kControlWindowClass) != nullptr) {
    GTEST_SKIP() << "this system's control finished the navigation itself";
  }
  EXPECT_EQ(completions, 1);
  const HWND fallback = window_.FindDescendant(L"TarnwickPreviewFallbackPane");
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(Corners(window_.RectOf(fallback)), Corners(kPlaced));
  EXPECT_EQ(test::WindowText(FindWindowExW(fallback, nullptr, L"STATIC", nullptr)),
            L"C:\\windows\\temp\\copy.pdf");
  // From then on the fallback finishes each navigation at once.
  EXPECT_TRUE(pane->Navigate("C:\\windows\\temp\\other.pdf#toolbar=0"));
  EXPECT_EQ(completions, 2);
}

}  // namespace
}  // namespace tarnwick::win32
