#include "skin_background.h"

#include <gtest/gtest.h>

#include <string>

#include "case_name.h"
#include "test_windows.h"

namespace tarnwick::win32 {
namespace {

using test::PrintTo;

constexpr Rgb kPlain{1, 2, 3};
constexpr Rgb kSkin{90, 160, 30};

struct LoadCase {
  const char* name;
  bool fileExists;
  bool loadedBefore;  // a valid skin was loaded before this one
  bool loads;
};

class SkinBackgroundTest : public ::testing::TestWithParam<LoadCase> {};

// Paints the background over a plain 30 × 20 area and gives the pixel at (x, y).
Rgb PaintedPixel(const SkinBackground& background, int x, int y) {
  test::HostWindow host(30, 20, [&](HDC dc) {
    const HBRUSH plain = CreateSolidBrush(RGB(kPlain.red, kPlain.green, kPlain.blue));
    const RECT all{0, 0, 30, 20};
    FillRect(dc, &all, plain);
    DeleteObject(plain);
    background.Paint(dc);
  });
  return test::WindowCapture(host.Handle()).At(x, y);
}

TEST_P(SkinBackgroundTest, PaintsTheLoadedBitmapAtTheOriginInItsOwnSize) {
  const std::string skin = test::WriteTestBitmap("background.bmp", test::SolidImage(20, 10, kSkin));
  SkinBackground background;
  if (GetParam().loadedBefore) {
    ASSERT_TRUE(background.Load(skin));
  }
  const std::string path = GetParam().fileExists ? skin : skin + ".missing.bmp";
  EXPECT_EQ(background.Load(path), GetParam().loads);

  EXPECT_EQ(PaintedPixel(background, 0, 0), GetParam().loads ? kSkin : kPlain);
  EXPECT_EQ(PaintedPixel(background, 19, 9), GetParam().loads ? kSkin : kPlain);
  // Beyond the bitmap the window keeps its own colour.
  EXPECT_EQ(PaintedPixel(background, 20, 10), kPlain);
}

INSTANTIATE_TEST_SUITE_P(Files, SkinBackgroundTest,
                         ::testing::Values(LoadCase{"Readable", true, false, true},
                                           LoadCase{"Missing", false, false, false},
                                           LoadCase{"MissingAfterReadable", false, true, false},
                                           LoadCase{"ReadableAgain", true, true, true}),
                         test::CaseName());

}  // namespace
}  // namespace tarnwick::win32
