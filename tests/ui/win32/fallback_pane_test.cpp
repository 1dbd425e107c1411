#include "fallback_pane.h"

#include <gtest/gtest.h>

#include "browser_pane.h"
#include "pane_test_window.h"

namespace tarnwick::win32 {
namespace {

using test::PaneTestWindow;
using test::ShellCall;

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
}

// The pane as the Wine end-to-end run gets it: the control refused by the environment.
class FallbackPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Ok());
    SetEnvironmentVariableW(L"TARNWICK_NO_BROWSER_CONTROL", L"1");
    pane_ = CreateBrowserPane(window_.Handle(), PaneTestWindow::kPlaceholderId, shell_,
                              [this] { ++completions_; });
    SetEnvironmentVariableW(L"TARNWICK_NO_BROWSER_CONTROL", nullptr);
    ASSERT_NE(dynamic_cast<browser::FallbackPane*>(pane_.get()), nullptr);
    pathText_ = window_.FindDescendant(L"Static");
    openButton_ = window_.FindDescendant(L"Button");
    ASSERT_NE(pathText_, nullptr);
    ASSERT_NE(openButton_, nullptr);
  }

  test::ScopedOle ole_;
  PaneTestWindow window_;
  test::RecordingShell shell_;
  int completions_ = 0;
  std::unique_ptr<BrowserPane> pane_;
  HWND pathText_ = nullptr;
  HWND openButton_ = nullptr;
};

struct NavigationCase {
  const char* name;
  std::string address;
  std::wstring shownText;
  std::vector<ShellCall> opened;  // by a click on the button
};

// CTest lists each row by its name rather than by its bytes.
void PrintTo(const NavigationCase& row, std::ostream* out) { *out << row.name; }

class FallbackNavigationTest : public FallbackPaneTest,
                               public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(FallbackNavigationTest, ShowsThePathCompletesOnceAndOpensTheCopy) {
  const NavigationCase& row = GetParam();
  EXPECT_TRUE(pane_->Navigate(row.address));
  EXPECT_EQ(completions_, 1);
  EXPECT_EQ(test::WindowText(pathText_), row.shownText);
  EXPECT_EQ(IsWindowVisible(openButton_) != FALSE, !row.opened.empty());
  SendMessageW(openButton_, BM_CLICK, 0, 0);
  EXPECT_EQ(shell_.calls, row.opened);
}

INSTANTIATE_TEST_SUITE_P(
    Navigations, FallbackNavigationTest,
    ::testing::Values(NavigationCase{"CopyWithoutToolbar",
                                     "C:\\Temp\\Tarnwick\\copy.pdf#toolbar=0",
                                     L"C:\\Temp\\Tarnwick\\copy.pdf",
                                     {{"C:\\Temp\\Tarnwick\\copy.pdf", {}}}},
                      NavigationCase{
                          "NoFragment", "C:\\copy.pdf", L"C:\\copy.pdf", {{"C:\\copy.pdf", {}}}},
                      NavigationCase{"HashInTheFolder",
                                     "C:\\#1\\copy.pdf#toolbar=0",
                                     L"C:\\#1\\copy.pdf",
                                     {{"C:\\#1\\copy.pdf", {}}}},
                      NavigationCase{"BeyondAscii",
                                     "C:\\Temp\\Größe & 東京.pdf#toolbar=0",
                                     L"C:\\Temp\\Größe & 東京.pdf",
                                     {{"C:\\Temp\\Größe & 東京.pdf", {}}}},
                      NavigationCase{"BlankPageShowsNothing", "about:blank", L"", {}}),
    [](const ::testing::TestParamInfo<NavigationCase>& testCase) { return testCase.param.name; });

TEST_F(FallbackPaneTest, TakesThePlaceOfThePlaceholder) {
  EXPECT_FALSE(IsWindowVisible(window_.Placeholder()));
  pane_->Navigate("C:\\copy.pdf");
  EXPECT_TRUE(Inside(window_.RectOf(pathText_), PaneTestWindow::kPlaceholder));
  EXPECT_TRUE(Inside(window_.RectOf(openButton_), PaneTestWindow::kPlaceholder));
}

TEST_F(FallbackPaneTest, BlankingAfterACopyForgetsTheCopy) {
  pane_->Navigate("C:\\copy.pdf#toolbar=0");
  pane_->Navigate("about:blank");
  EXPECT_EQ(completions_, 2);
  EXPECT_EQ(test::WindowText(pathText_), L"");
  EXPECT_FALSE(IsWindowVisible(openButton_));
}

// The control's own refresh reports no navigation either, and the preview expects none.
TEST_F(FallbackPaneTest, RefreshKeepsTheCopyAndCompletesNothing) {
  pane_->Navigate("C:\\copy.pdf#toolbar=0");
  EXPECT_TRUE(pane_->Refresh());
  EXPECT_EQ(completions_, 1);
  EXPECT_EQ(test::WindowText(pathText_), L"C:\\copy.pdf");
}

TEST_F(FallbackPaneTest, PlaceMovesTheTextAndTheButtonAndZeroSizeHidesThem) {
  pane_->Navigate("C:\\copy.pdf#toolbar=0");
  for (const RECT place : {RECT{215, 120, 715, 420}, RECT{0, 0, 300, 200}}) {
    pane_->Place(place.left, place.top, place.right - place.left, place.bottom - place.top);
    EXPECT_TRUE(IsWindowVisible(pathText_));
    EXPECT_TRUE(Inside(window_.RectOf(pathText_), place));
    EXPECT_TRUE(Inside(window_.RectOf(openButton_), place));
  }
  pane_->Place(215, 120, 0, 0);
  EXPECT_FALSE(IsWindowVisible(pathText_));
  EXPECT_FALSE(IsWindowVisible(openButton_));
}

}  // namespace
}  // namespace tarnwick::win32
