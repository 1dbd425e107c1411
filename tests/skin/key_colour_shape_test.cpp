// The window shape left when the key colour is cut out of a picture.
#include <gtest/gtest.h>

#include "key_colour_shape.h"

namespace tarnwick::test {
namespace {

constexpr Rgb kKey{255, 0, 240};

// A picture drawn in letters, top row first: 'k' is the key colour, any other letter a colour
// of its own.
BmpImage Picture(std::initializer_list<std::string_view> rows) {
  BmpImage image{static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size()), {}};
  for (std::string_view row : rows) {
    for (char letter : row) {
      image.pixels.push_back(letter == 'k' ? kKey : Rgb{static_cast<std::uint8_t>(letter), 0, 0});
    }
  }
  return image;
}

using Shape = std::vector<ShapeRect>;

TEST(KeyColourShape, RowsFromTheBottomUpAndRunsFromLeftToRight) {
  const BmpImage picture = Picture({
      "abcd",
      "akkb",
      "kabk",
  });
  EXPECT_EQ(KeyColourShape(picture, kKey),
            (Shape{{1, 2, 3, 3}, {0, 1, 1, 2}, {3, 1, 4, 2}, {0, 0, 4, 1}}));
}

TEST(KeyColourShape, ASinglePixelInTheLastColumnAfterAKeyPixelEndsItsOwnRow) {
  const BmpImage picture = Picture({
      "abca",
      "kkka",
  });
  EXPECT_EQ(KeyColourShape(picture, kKey), (Shape{{3, 1, 4, 2}, {0, 0, 4, 1}}));
}

TEST(KeyColourShape, ARunEndingInTheLastColumnIncludesItOnlyWhenItIsNotKey) {
  EXPECT_EQ(KeyColourShape(Picture({"kabc"}), kKey), (Shape{{1, 0, 4, 1}}));
  EXPECT_EQ(KeyColourShape(Picture({"abck"}), kKey), (Shape{{0, 0, 3, 1}}));
}

TEST(KeyColourShape, RowsEntirelyInTheKeyColourAddNothing) {
  const BmpImage picture = Picture({
      "kkk",
      "aba",
      "kkk",
  });
  EXPECT_EQ(KeyColourShape(picture, kKey), (Shape{{0, 1, 3, 2}}));
}

TEST(KeyColourShape, APictureEntirelyInTheKeyColourGivesAnEmptyShape) {
  EXPECT_TRUE(KeyColourShape(Picture({"kkk", "kkk"}), kKey).empty());
}

TEST(KeyColourShape, ColoursAreComparedExactly) {
  // One step off the key in any component is part of the window.
  BmpImage picture{3, 1, {{254, 0, 240}, {255, 1, 240}, {255, 0, 241}}};
  EXPECT_EQ(KeyColourShape(picture, kKey), (Shape{{0, 0, 3, 1}}));
  picture.pixels[1] = kKey;
  EXPECT_EQ(KeyColourShape(picture, kKey), (Shape{{0, 0, 1, 1}, {2, 0, 3, 1}}));
}

TEST(KeyColourShape, SingleKeyPixelsSplitARowIntoRuns) {
  EXPECT_EQ(KeyColourShape(Picture({"akbkkcdk"}), kKey),
            (Shape{{0, 0, 1, 1}, {2, 0, 3, 1}, {5, 0, 7, 1}}));
}

}  // namespace
}  // namespace tarnwick::test
