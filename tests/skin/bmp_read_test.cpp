// Every pixel layout the reader supports, in files written byte by byte.
#include <gtest/gtest.h>

#include "bmp_bytes.h"
#include "bmp_file.h"

namespace tarnwick::test {
namespace {

constexpr Rgb kA{10, 20, 30};
constexpr Rgb kB{200, 100, 50};
constexpr Rgb kC{0, 255, 128};
constexpr Rgb kD{255, 255, 255};
constexpr Rgb kE{1, 2, 3};
constexpr Rgb kF{90, 80, 70};
constexpr Rgb kBlack{0, 0, 0};

// Row padding filled with a value that would show up as a colour if it were read as a pixel.
const std::string kPad1 = "\xEE";
const std::string kPad2 = "\xEE\xEE";
const std::string kPad3 = "\xEE\xEE\xEE";

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string bytes;
  for (unsigned value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST(BmpRead, TwentyFourBitsStoredBottomRowFirst) {
  const std::string pixels = Bgr(kD) + Bgr(kE) + Bgr(kF) + kPad3 +  // bottom row
                             Bgr(kA) + Bgr(kB) + Bgr(kC) + kPad3;
  const auto image = ReadFromDisk(BmpFile(InfoHeader(40, 3, 2, 24, kBiRgb), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(3, 2, {kA, kB, kC, kD, kE, kF}));
}

TEST(BmpRead, TwentyFourBitsStoredTopRowFirstWhenTheHeightIsNegative) {
  const std::string pixels = Bgr(kA) + Bgr(kB) + Bgr(kC) + kPad3 +  // top row
                             Bgr(kD) + Bgr(kE) + Bgr(kF) + kPad3;
  const auto image = ReadFromDisk(BmpFile(InfoHeader(40, 3, -2, 24, kBiRgb), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(3, 2, {kA, kB, kC, kD, kE, kF}));
}

TEST(BmpRead, PixelsStartWhereTheFileHeaderSaysEvenAfterAGap) {
  const std::string pixels = Bgr(kC) + kPad1;
  const auto image = ReadFromDisk(BmpFile(InfoHeader(40, 1, 1, 24, kBiRgb), pixels, 7));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(1, 1, {kC}));
}

TEST(BmpRead, OneBitTakesTheHighestBitFirstAndIgnoresBitsPastTheWidth) {
  // 10 pixels a row: two bytes, two bytes of padding. The last six bits of each second byte are
  // set to 1 beyond the width.
  const std::string headers = InfoHeader(40, 10, 2, 1, kBiRgb) + Quad(kA.red, kA.green, kA.blue) +
                              Quad(kB.red, kB.green, kB.blue);
  const std::string pixels = Bytes({0b01111111, 0b10111111}) + kPad2 +  // bottom: 0111111110
                             Bytes({0b10100000, 0b11111111}) + kPad2;   // top:    1010000011
  const auto image = ReadFromDisk(BmpFile(headers, pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(10, 2,
                          {kB, kA, kB, kA, kA, kA, kA, kA, kB, kB,  //
                           kA, kB, kB, kB, kB, kB, kB, kB, kB, kA}));
}

TEST(BmpRead, FourBitsWithAShortPaletteTopDown) {
  const std::string headers = InfoHeader(40, 3, -2, 4, kBiRgb, 3) +
                              Quad(kA.red, kA.green, kA.blue) + Quad(kB.red, kB.green, kB.blue) +
                              Quad(kC.red, kC.green, kC.blue);
  const std::string pixels = Bytes({0x20, 0x10}) + kPad2 + Bytes({0x11, 0x20}) + kPad2;
  const auto image = ReadFromDisk(BmpFile(headers, pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(3, 2, {kC, kA, kB, kB, kB, kC}));
}

TEST(BmpRead, EightBitsWithTheFullPalette) {
  std::string headers = InfoHeader(40, 5, 2, 8, kBiRgb);
  auto paletteColour = [](unsigned i) {
    return Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
               static_cast<std::uint8_t>(i / 2)};
  };
  for (unsigned i = 0; i < 256; ++i) {
    const Rgb colour = paletteColour(i);
    headers += Quad(colour.red, colour.green, colour.blue);
  }
  const std::string pixels = Bytes({1, 2, 3, 4, 5}) + kPad3 + Bytes({0, 7, 128, 255, 9}) + kPad3;
  const auto image = ReadFromDisk(BmpFile(headers, pixels));
  ASSERT_TRUE(image);
  std::vector<Rgb> expected;
  for (unsigned i : {0u, 7u, 128u, 255u, 9u, 1u, 2u, 3u, 4u, 5u}) {
    expected.push_back(paletteColour(i));
  }
  EXPECT_EQ(*image, Image(5, 2, expected));
}

TEST(BmpRead, SixteenBitsPlainAreFiveFiveFiveWithTheTopBitUnused) {
  // 16 of 31 scales to 132 of 255.
  const std::string pixels = U16(0x7C00) + U16(0x03E0) + U16(0x001F) + U16(0x4210) + U16(0x8000) +
                             kPad2;
  const auto image = ReadFromDisk(BmpFile(InfoHeader(40, 5, 1, 16, kBiRgb), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(5, 1,
                          {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, 132, 132}, kBlack}));
}

TEST(BmpRead, SixteenBitsWithFiveSixFiveMasksAfterAPlainHeader) {
  const std::string headers = InfoHeader(40, 2, 2, 16, kBiBitFields) +
                              Masks(0xF800, 0x07E0, 0x001F);
  // 32 of 63 scales to 130 of 255.
  const std::string pixels = U16(0xF800) + U16(0x07E0) + U16(0x0400) + U16(0xFFFF);
  const auto image = ReadFromDisk(BmpFile(headers, pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(2, 2, {{0, 130, 0}, kD, {255, 0, 0}, {0, 255, 0}}));
}

TEST(BmpRead, SixteenBitsWithMasksInsideAFiftySixByteHeader) {
  const std::string masks = Masks(0x0F00, 0x00F0, 0x000F) + U32(0xF000);  // 4-4-4 and alpha
  const std::string pixels = U16(0xAF00) + U16(0x50F0) + U16(0x0008) + kPad2;
  const auto image =
      ReadFromDisk(BmpFile(InfoHeader(56, 3, 1, 16, kBiBitFields, 0, masks), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(3, 1, {{255, 0, 0}, {0, 255, 0}, {0, 0, 136}}));
}

TEST(BmpRead, ThirtyTwoBitsPlainIgnoreTheFourthByte) {
  const std::string pixels = Bgr(kA) + "\x99" + Bgr(kB) + "\x99" +  // bottom row
                             Bgr(kC) + "\x99" + Bgr(kD) + "\x99";
  const auto image = ReadFromDisk(BmpFile(InfoHeader(40, 2, 2, 32, kBiRgb), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(2, 2, {kC, kD, kA, kB}));
}

TEST(BmpRead, ThirtyTwoBitsWithMasksInsideTheLargestHeader) {
  // Red in the lowest byte: the masks, not the usual order, decide.
  const std::string masks = Masks(0x000000FF, 0x0000FF00, 0x00FF0000);
  const std::string pixels = U32(0xFF332211) + U32(0x00ABCDEF);
  const auto image =
      ReadFromDisk(BmpFile(InfoHeader(124, 2, -1, 32, kBiBitFields, 0, masks), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(2, 1, {{0x11, 0x22, 0x33}, {0xEF, 0xCD, 0xAB}}));
}

TEST(BmpRead, ThirtyTwoBitsWithTenBitChannelsScaleToEightBits) {
  const std::string masks = Masks(0x3FF00000, 0x000FFC00, 0x000003FF);
  // 1023 of 1023 gives 255, 512 gives 128, 0 gives 0.
  const std::string pixels = U32(1023u << 20 | 512u << 10 | 0u);
  const auto image = ReadFromDisk(BmpFile(InfoHeader(108, 1, 1, 32, kBiBitFields, 0, masks),
                                          pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(1, 1, {{255, 128, 0}}));
}

TEST(BmpRead, CoreHeaderWithThreeBytePaletteEntries) {
  std::string headers = CoreHeader(3, 1, 4);
  for (unsigned i = 0; i < 16; ++i) headers += Bytes({i, i + 100, i + 200});  // blue, green, red
  const std::string pixels = Bytes({0x0F, 0x30}) + kPad2;
  const auto image = ReadFromDisk(BmpFile(headers, pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(3, 1, {{200, 100, 0}, {215, 115, 15}, {203, 103, 3}}));
}

TEST(BmpRead, CoreHeaderWithTwentyFourBits) {
  const std::string pixels = Bgr(kE) + Bgr(kF) + kPad2 + Bgr(kA) + Bgr(kB) + kPad2;
  const auto image = ReadFromDisk(BmpFile(CoreHeader(2, 2, 24), pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(2, 2, {kA, kB, kE, kF}));
}

// The palette follows the info header whatever its length.
class PaletteAfterHeader : public testing::TestWithParam<std::uint32_t> {};

TEST_P(PaletteAfterHeader, IsFound) {
  const std::string headers = InfoHeader(GetParam(), 2, 2, 8, kBiRgb, 2) +
                              Quad(kA.red, kA.green, kA.blue) + Quad(kF.red, kF.green, kF.blue);
  const std::string pixels = Bytes({0, 1}) + kPad2 + Bytes({1, 1}) + kPad2;
  const auto image = ReadFromDisk(BmpFile(headers, pixels));
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, Image(2, 2, {kF, kF, kA, kF}));
}

INSTANTIATE_TEST_SUITE_P(HeaderSizes, PaletteAfterHeader, testing::Values(40, 52, 56, 108, 124));

}  // namespace
}  // namespace tarnwick::test
