#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "child_program.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

using test::TempFolder;

constexpr Rgb kHoverKey{189, 230, 231};
constexpr Rgb kNormalKey{2, 2, 2};
constexpr Rgb kSplashKey{255, 0, 240};

struct Expected {
  const char* name;
  int width;
  int height;
  // The colour the program draws transparent around the shape; none for backgrounds.
  std::optional<Rgb> key;
};

// Every bitmap the desktop program loads from its Bmp folder, with the size of the window or
// button that shows it (dialog units × 1.5 across, × 1.625 down).
const std::vector<Expected>& ProgramBitmaps() {
  static const std::vector<Expected> bitmaps = {
      {"Browse.bmp", 726, 471, std::nullopt},
      {"Preview.bmp", 726, 471, std::nullopt},
      {"ProgressBar.bmp", 321, 158, std::nullopt},
      {"SaveFile.bmp", 522, 314, std::nullopt},
      {"ViewLog.bmp", 279, 119, std::nullopt},
      {"Open.bmp", 51, 46, kNormalKey},
      {"OpenA.bmp", 51, 46, kHoverKey},
      {"OpenD.bmp", 51, 46, kHoverKey},
      {"SaveCurrent.bmp", 51, 46, kNormalKey},
      {"SaveCurrentA.bmp", 51, 46, kHoverKey},
      {"SaveCurrentD.bmp", 51, 46, kHoverKey},
      {"SaveAll.bmp", 51, 46, kNormalKey},
      {"SaveAllA.bmp", 51, 46, kHoverKey},
      {"SaveAllD.bmp", 51, 46, kHoverKey},
      {"Help.bmp", 51, 46, kNormalKey},
      {"HelpA.bmp", 51, 46, kHoverKey},
      {"AboutUsBT.bmp", 51, 46, kNormalKey},
      {"AboutUsBTA.bmp", 51, 46, kHoverKey},
      {"ExitBT.bmp", 51, 46, kNormalKey},
      {"ExitBTA.bmp", 51, 46, kHoverKey},
      {"repair.bmp", 86, 23, kHoverKey},
      {"browseBt.bmp", 86, 23, kHoverKey},
      {"clearselected-a.bmp", 92, 23, kHoverKey},
      {"clearselected-d.bmp", 92, 23, kHoverKey},
      {"clearall-a.bmp", 92, 23, kHoverKey},
      {"clearall-d.bmp", 92, 23, kHoverKey},
      {"backfile-a.bmp", 92, 23, kHoverKey},
      {"backfile-d.bmp", 92, 23, kHoverKey},
      {"nextfile-a.bmp", 92, 23, kHoverKey},
      {"nextfile-d.bmp", 92, 23, kHoverKey},
      {"back.bmp", 86, 23, kHoverKey},
      {"SaveC-a.bmp", 110, 23, kHoverKey},
      {"SaveAll-a.bmp", 110, 23, kHoverKey},
      {"stop.bmp", 83, 23, kHoverKey},
      {"pause.bmp", 83, 23, kHoverKey},
      {"resume.bmp", 83, 23, kHoverKey},
      {"ok.bmp", 60, 23, kHoverKey},
  };
  return bitmaps;
}

void RunGenerator(const std::string& folder) {
  const test::CommandResult run = test::RunProgram(TARNWICK_MAKE_SKIN_BITMAPS, {folder});
  ASSERT_EQ(run.status, 0) << folder << ": " << run.err;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The pixel depth as the file's header states it: ReadBmp accepts other depths too.
int BitsPerPixel(const std::string& bytes) {
  return static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8;
}

// Counts the pixels of `image` that are `colour`, along its border and inside the rectangle
// (x0, y0)–(x1, y1) exclusive.
int CountInside(const BmpImage& image, Rgb colour, int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) count += image.At(x, y) == colour ? 1 : 0;
  return count;
}

class SkinBitmapsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder();
    RunGenerator(folder_->Path() + "/Bmp");
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::filesystem::path Generated(const std::string& name) { return *folder_ / "Bmp" / name; }

  static TempFolder* folder_;
};

TempFolder* SkinBitmapsTest::folder_ = nullptr;

TEST_F(SkinBitmapsTest, EveryBitmapTheProgramLoadsIsA24BitFileOfItsControlsSize) {
  for (const Expected& expected : ProgramBitmaps()) {
    SCOPED_TRACE(expected.name);
    const std::filesystem::path path = Generated(expected.name);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(BitsPerPixel(Bytes(path)), 24);
    const auto image = ReadBmp(path.string());
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, expected.width);
    EXPECT_EQ(image->height, expected.height);
  }
}

TEST_F(SkinBitmapsTest, ButtonsHaveTheirTransparentColourAroundTheShapeOnly) {
  for (const Expected& expected : ProgramBitmaps()) {
    if (!expected.key) continue;
    SCOPED_TRACE(expected.name);
    const auto image = ReadBmp(Generated(expected.name).string());
    ASSERT_TRUE(image.has_value());
    const Rgb key = *expected.key;
    const int w = image->width;
    const int h = image->height;
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
      EXPECT_EQ(image->At(x, y), key) << "corner " << x << "," << y;
    }
    // The shape fills the button but for a rim and the rounded corners: no key colour in the
    // middle, where it would punch holes into the button.
    const int rimX = std::min(12, w / 4);
    const int rimY = 4;
    EXPECT_EQ(CountInside(*image, key, rimX, rimY, w - rimX, h - rimY), 0);
    // A drawn button, not a blank tile: the shape carries several colours.
    std::vector<Rgb> seen;
    for (const Rgb& pixel : image->pixels)
      if (std::find(seen.begin(), seen.end(), pixel) == seen.end()) seen.push_back(pixel);
    EXPECT_GT(seen.size(), 8u);
  }
}

TEST_F(SkinBitmapsTest, BackgroundsUseNoTransparentColour) {
  for (const Expected& expected : ProgramBitmaps()) {
    if (expected.key) continue;
    SCOPED_TRACE(expected.name);
    const auto image = ReadBmp(Generated(expected.name).string());
    ASSERT_TRUE(image.has_value());
    for (const Rgb key : {kHoverKey, kNormalKey, kSplashKey}) {
      EXPECT_EQ(CountInside(*image, key, 0, 0, image->width, image->height), 0);
    }
  }
}

TEST_F(SkinBitmapsTest, SplashIsShapedByTheKeyColourOutsideARoundedCard) {
  const auto image = ReadBmp(Generated("Flash.bmp").string());
  ASSERT_TRUE(image.has_value());
  EXPECT_GE(image->width, 400);
  EXPECT_GE(image->height, 250);
  const int w = image->width;
  const int h = image->height;
  for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
    EXPECT_EQ(image->At(x, y), kSplashKey) << "corner " << x << "," << y;
  }
  EXPECT_NE(image->At(w / 2, h / 2), kSplashKey);
  // The edges' midpoints belong to the card, so the outline is rounded rather than a badge lost in
  // a key-coloured field, and nothing inside the card is cut out.
  EXPECT_NE(image->At(w / 2, 0), kSplashKey);
  EXPECT_NE(image->At(0, h / 2), kSplashKey);
  EXPECT_EQ(CountInside(*image, kSplashKey, 40, 40, w - 40, h - 40), 0);
}

TEST_F(SkinBitmapsTest, ApplicationIconIsSquare) {
  const auto image = ReadBmp(Generated("tarnwick-icon.bmp").string());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->height, 256);
  EXPECT_EQ(image->At(0, 0), kSplashKey);
  EXPECT_NE(image->At(128, 128), kSplashKey);
}

TEST_F(SkinBitmapsTest, TwoRunsWriteTheSameBytes) {
  TempFolder second;
  RunGenerator(second.Path());
  std::size_t compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(*folder_ / "Bmp")) {
    SCOPED_TRACE(entry.path().filename().string());
    const auto again = second / entry.path().filename().string();
    ASSERT_TRUE(std::filesystem::exists(again));
    EXPECT_TRUE(Bytes(entry.path()) == Bytes(again));
    ++compared;
  }
  EXPECT_GE(compared, ProgramBitmaps().size());
}

TEST(SkinBitmapGenerator, RefusesAMissingFolderArgumentAndAnUnwritableFolder) {
  EXPECT_NE(test::RunProgram(TARNWICK_MAKE_SKIN_BITMAPS, {}).status, 0);
  TempFolder folder;
  std::ofstream(folder.File("plain-file")) << "x";
  // A path below a plain file can be neither created nor written.
  const std::string blocked = folder.File("plain-file") + "/Bmp";
  EXPECT_NE(test::RunProgram(TARNWICK_MAKE_SKIN_BITMAPS, {blocked}).status, 0);
}

}  // namespace
}  // namespace tarnwick
