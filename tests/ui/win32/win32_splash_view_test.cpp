#include "win32_splash_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "case_name.h"
#include "pump_messages.h"
#include "splash_screen.h"
#include "test_windows.h"
#include "win32_window.h"

namespace tarnwick::win32 {
namespace {

using test::PrintTo;

HWND WindowOf(SplashView& view) { return HandleOf(&view); }

class SplashViewTest : public ::testing::Test {
 protected:
  std::unique_ptr<SplashView> view_ = CreateWin32SplashView();
};

struct CreateCase {
  const char* name;
  bool dropShadow;
  bool owned;
};

class SplashViewCreateTest : public SplashViewTest,
                             public ::testing::WithParamInterface<CreateCase> {};

TEST_P(SplashViewCreateTest, MakesAHiddenTopmostToolPopup) {
  test::HostWindow owner(50, 50, [](HDC) {});
  struct OwnerHandle : Win32Window {
    HWND handle;
    explicit OwnerHandle(HWND window) : handle(window) {}
    HWND Handle() const override { return handle; }
  } ownerHandle(owner.Handle());

  ASSERT_TRUE(view_->Create(GetParam().owned ? &ownerHandle : nullptr, GetParam().dropShadow));
  const HWND window = WindowOf(*view_);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  EXPECT_NE(style & WS_POPUP, 0u);
  EXPECT_EQ(style & WS_CAPTION, 0u);
  EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), DWORD{WS_EX_TOPMOST | WS_EX_TOOLWINDOW});
  const auto classStyle = static_cast<DWORD>(GetClassLongPtrW(window, GCL_STYLE));
  EXPECT_EQ((classStyle & CS_DROPSHADOW) != 0, GetParam().dropShadow);
  EXPECT_EQ(GetWindow(window, GW_OWNER), GetParam().owned ? owner.Handle() : nullptr);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 0);
  EXPECT_EQ(bounds.bottom - bounds.top, 0);

  view_->Destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(WindowOf(*view_), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Styles, SplashViewCreateTest,
                         ::testing::Values(CreateCase{"Plain", false, false},
                                           CreateCase{"Shadow", true, false},
                                           CreateCase{"OwnedWithShadow", true, true}),
                         test::CaseName());

struct ShapeCase {
  const char* name;
  std::vector<ShapeRect> shape;
  int regionType;
  RECT box;
};

class SplashViewShapeTest : public SplashViewTest,
                            public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(SplashViewShapeTest, TheWindowRegionIsTheUnionOfTheRectangles) {
  ASSERT_TRUE(view_->Create(nullptr, false));
  view_->Place(100, 100, 60, 40);
  view_->SetShape(GetParam().shape);

  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int type = GetWindowRgn(WindowOf(*view_), region);
  RECT box{};
  GetRgnBox(region, &box);
  DeleteObject(region);
  EXPECT_EQ(type, GetParam().regionType);
  if (GetParam().regionType != NULLREGION) {
    EXPECT_EQ(box.left, GetParam().box.left);
    EXPECT_EQ(box.top, GetParam().box.top);
    EXPECT_EQ(box.right, GetParam().box.right);
    EXPECT_EQ(box.bottom, GetParam().box.bottom);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SplashViewShapeTest,
    ::testing::Values(
        ShapeCase{"OneRow", {{2, 3, 9, 4}}, SIMPLEREGION, {2, 3, 9, 4}},
        ShapeCase{"TwoRowsBottomFirst", {{5, 7, 6, 8}, {1, 0, 4, 1}}, COMPLEXREGION, {1, 0, 6, 8}},
        ShapeCase{"AdjacentRowsMerge", {{0, 1, 10, 2}, {0, 0, 10, 1}}, SIMPLEREGION, {0, 0, 10, 2}},
        ShapeCase{"Empty", {}, NULLREGION, {}}),
    test::CaseName());

TEST_F(SplashViewTest, PlaceMovesAndSizesTheWindowWithoutActivatingIt) {
  ASSERT_TRUE(view_->Create(nullptr, false));
  const HWND window = WindowOf(*view_);
  view_->Place(37, 51, 64, 32);
  view_->Show();
  RECT bounds{};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.left, 37);
  EXPECT_EQ(bounds.top, 51);
  EXPECT_EQ(bounds.right, 37 + 64);
  EXPECT_EQ(bounds.bottom, 51 + 32);
  EXPECT_NE(GetActiveWindow(), window);
}

TEST_F(SplashViewTest, DrawsThePictureAtTheOrigin) {
  BmpImage picture = test::SolidImage(16, 8, {20, 40, 60});
  picture.pixels.back() = {250, 1, 2};
  ASSERT_TRUE(view_->Create(nullptr, false));
  view_->SetPicture(picture);
  view_->Place(0, 0, 16, 8);
  view_->Show();
  const test::WindowCapture capture(WindowOf(*view_));
  EXPECT_EQ(capture.At(0, 0), (Rgb{20, 40, 60}));
  EXPECT_EQ(capture.At(15, 7), (Rgb{250, 1, 2}));
}

// On screen the window paints itself, and outside its shape what lies beneath shows through.
TEST_F(SplashViewTest, OnScreenThePictureShowsOnlyWithinTheShape) {
  constexpr Rgb kBeneath{0, 0, 255};
  constexpr Rgb kPicture{20, 140, 60};
  test::HostWindow below(200, 100, [&](HDC dc) {
    const HBRUSH brush = CreateSolidBrush(RGB(kBeneath.red, kBeneath.green, kBeneath.blue));
    const RECT all{0, 0, 200, 100};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  });
  POINT origin{50, 30};
  ClientToScreen(below.Handle(), &origin);
  ASSERT_TRUE(view_->Create(nullptr, false));
  view_->SetPicture(test::SolidImage(40, 20, kPicture));
  view_->SetShape({{0, 0, 20, 20}});
  view_->Place(origin.x, origin.y, 40, 20);
  view_->Show();
  tarnwick::test::PumpUntil([] { return false; }, 200);

  EXPECT_EQ(test::ScreenPixel(origin.x + 5, origin.y + 5), kPicture);
  EXPECT_EQ(test::ScreenPixel(origin.x + 30, origin.y + 5), kBeneath);
}

struct ShowCase {
  const char* name;
  bool fade;
};

class SplashViewShowTest : public SplashViewTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(SplashViewShowTest, ShowsAndHidesTheWindow) {
  ASSERT_TRUE(view_->Create(nullptr, false));
  const HWND window = WindowOf(*view_);
  view_->SetPicture(test::SolidImage(10, 10, {9, 9, 9}));
  view_->Place(5, 5, 10, 10);
  if (GetParam().fade) {
    // Wine and every Windows since 98 have the animation.
    ASSERT_TRUE(view_->SupportsFading());
    view_->FadeIn(50);
  } else {
    view_->Show();
  }
  EXPECT_TRUE(IsWindowVisible(window));
  if (GetParam().fade) {
    view_->FadeOut(50);
  } else {
    view_->Hide();
  }
  EXPECT_FALSE(IsWindowVisible(window));
}

INSTANTIATE_TEST_SUITE_P(Ways, SplashViewShowTest,
                         ::testing::Values(ShowCase{"Plain", false}, ShowCase{"Faded", true}),
                         test::CaseName());

class SplashViewTimerTest : public SplashViewTest, public ::testing::WithParamInterface<int> {};

TEST_P(SplashViewTimerTest, ATimerCallsTheListenerWithItsIdUntilStopped) {
  std::vector<int> heard;
  view_->SetTimerListener([&](int id) { heard.push_back(id); });
  ASSERT_TRUE(view_->Create(nullptr, false));
  view_->StartTimer(GetParam(), 10);
  ASSERT_TRUE(tarnwick::test::PumpUntil([&] { return heard.size() >= 2; }, 2000));
  EXPECT_EQ(heard.front(), GetParam());
  EXPECT_EQ(heard.back(), GetParam());
  view_->StopTimer(GetParam());
  const std::size_t afterStop = heard.size();
  tarnwick::test::PumpUntil([] { return false; }, 100);
  EXPECT_EQ(heard.size(), afterStop);
}

INSTANTIATE_TEST_SUITE_P(Ids, SplashViewTimerTest, ::testing::Values(0, 7));

// The splash screen's own logic over this window: shaped by the key colour, shown, and gone
// for good when its timeout ends.
TEST(Win32SplashScreenTest, ShowsTheShapedPictureAndDestroysItAfterTheTimeout) {
  constexpr Rgb kKey{255, 0, 240};
  BmpImage picture = test::SolidImage(30, 20, kKey);
  for (int y = 4; y < 12; ++y) {
    for (int x = 3; x < 25; ++x) picture.pixels[static_cast<std::size_t>(y * 30 + x)] = {0, 90, 0};
  }
  const std::string path = test::WriteTestBitmap("splash.bmp", picture);
  CSplashScreenEx splash(CreateWin32SplashView());
  ASSERT_TRUE(splash.CreateSplash(nullptr, 50, 0xF));
  ASSERT_TRUE(splash.LoadPicture(path, kKey.red, kKey.green, kKey.blue));
  splash.ShowSplash();

  const HWND window = FindWindowW(L"SplashScreenExClass", L"");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(window, region);
  RECT box{};
  GetRgnBox(region, &box);
  DeleteObject(region);
  EXPECT_EQ(box.left, 3);
  EXPECT_EQ(box.top, 4);
  EXPECT_EQ(box.right, 25);
  EXPECT_EQ(box.bottom, 12);

  EXPECT_TRUE(tarnwick::test::PumpUntil([&] { return splash.Destroyed(); }, 3000));
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace tarnwick::win32
