// The 24-bit writer against the reader and against a file written by hand.
#include <gtest/gtest.h>

#include "bmp_bytes.h"
#include "bmp_file.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

// Distinct colours so that a swapped row, column or channel shows.
BmpImage Gradient(int width, int height) {
  BmpImage image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.pixels.push_back({static_cast<std::uint8_t>(x * 40 + 1),
                              static_cast<std::uint8_t>(y * 50 + 2),
                              static_cast<std::uint8_t>(x * 7 + y * 11 + 3)});
    }
  }
  return image;
}

// Widths 1 to 4 cover every amount of row padding.
class WriteThenRead : public testing::TestWithParam<int> {};

TEST_P(WriteThenRead, GivesTheSameImage) {
  TempFolder folder;
  const BmpImage image = Gradient(GetParam(), 3);
  ASSERT_TRUE(WriteBmp24(folder.File("out.bmp"), image));
  const auto back = ReadBmp(folder.File("out.bmp"));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, image);
}

INSTANTIATE_TEST_SUITE_P(Widths, WriteThenRead, testing::Values(1, 2, 3, 4, 5));

TEST(BmpWrite, MatchesAHandWrittenFileByteForByte) {
  const Rgb a{1, 2, 3}, b{4, 5, 6}, c{7, 8, 9}, d{10, 11, 12};
  // Bottom row first, two bytes of padding after each six-byte row.
  const std::string pixels = Bgr(c) + Bgr(d) + std::string(2, '\0') + Bgr(a) + Bgr(b) +
                             std::string(2, '\0');
  std::string expected = BmpFile(InfoHeader(40, 2, 2, 24, kBiRgb), pixels);
  expected.replace(34, 4, U32(16));  // the image size field, which the writer fills in

  TempFolder folder;
  ASSERT_TRUE(WriteBmp24(folder.File("out.bmp"), Image(2, 2, {a, b, c, d})));
  EXPECT_EQ(ReadFile(folder.File("out.bmp")), expected);
}

TEST(BmpWrite, ReplacesAnExistingFile) {
  TempFolder folder;
  WriteFile(folder.File("out.bmp"), std::string(5000, 'x'));
  ASSERT_TRUE(WriteBmp24(folder.File("out.bmp"), Gradient(2, 1)));
  EXPECT_EQ(ReadBmp(folder.File("out.bmp")), Gradient(2, 1));
}

TEST(BmpWrite, RefusesImagesItCannotRepresent) {
  TempFolder folder;
  const std::string path = folder.File("out.bmp");
  EXPECT_FALSE(WriteBmp24(path, BmpImage{}));
  EXPECT_FALSE(WriteBmp24(path, Image(2, 2, {{1, 2, 3}})));         // too few pixels
  EXPECT_FALSE(WriteBmp24(path, Image(1, 1, {{1, 2, 3}, {4, 5, 6}})));  // too many
  EXPECT_FALSE(WriteBmp24(path, Image(-1, -1, {{1, 2, 3}})));
  BmpImage tooWide = Gradient(1, 1);
  tooWide.width = kMaxBmpSide + 1;
  tooWide.pixels.resize(kMaxBmpSide + 1);
  EXPECT_FALSE(WriteBmp24(path, tooWide));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(BmpWrite, FailsWhereNoFileCanBeMade) {
  TempFolder folder;
  EXPECT_FALSE(WriteBmp24(folder.File("no-such-folder/out.bmp"), Gradient(1, 1)));
  EXPECT_FALSE(WriteBmp24(folder.Path(), Gradient(1, 1)));
}

}  // namespace
}  // namespace tarnwick::test
