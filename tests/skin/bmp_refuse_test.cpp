// Damaged and hostile bitmap files are refused without crashing and without allocating more
// than the file can justify.
#include <gtest/gtest.h>

#include <limits>

#include "bmp_bytes.h"
#include "bmp_file.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

// A valid 2×2 8-bit file with a two-colour palette; the cases below change one thing in it.
std::string EightBitFile(std::uint32_t coloursUsed = 2, const std::string& pixels = "") {
  const std::string headers = InfoHeader(40, 2, 2, 8, kBiRgb, coloursUsed) + Quad(1, 2, 3) +
                              Quad(4, 5, 6);
  return BmpFile(headers, pixels.empty() ? std::string("\0\1\0\0\1\0\0\0", 8) : pixels);
}

std::string Plain24(std::int32_t width, std::int32_t height, std::size_t pixelBytes) {
  return BmpFile(InfoHeader(40, width, height, 24, kBiRgb), std::string(pixelBytes, '\x10'));
}

std::string Masked16(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return BmpFile(InfoHeader(40, 2, 1, 16, kBiBitFields) + Masks(red, green, blue),
                 std::string(4, '\x7F'));
}

std::string WithByte(std::string file, std::size_t at, char value) {
  file[at] = value;
  return file;
}

std::string WithU32(std::string file, std::size_t at, std::uint32_t value) {
  file.replace(at, 4, U32(value));
  return file;
}

TEST(BmpRefuse, TheValidFilesTheCasesStartFromAreRead) {
  EXPECT_TRUE(ReadFromDisk(EightBitFile()));
  EXPECT_TRUE(ReadFromDisk(Plain24(3, 2, 24)));
  EXPECT_TRUE(ReadFromDisk(Masked16(0xF800, 0x07E0, 0x001F)));
}

TEST(BmpRefuse, MissingEmptyOrFolder) {
  TempFolder folder;
  EXPECT_FALSE(ReadBmp(folder.File("absent.bmp")));
  EXPECT_FALSE(ReadBmp(folder.Path()));
  EXPECT_FALSE(ReadFromDisk(""));
}

TEST(BmpRefuse, WrongSignature) {
  EXPECT_FALSE(ReadFromDisk(WithByte(EightBitFile(), 1, 'A')));
  EXPECT_FALSE(ReadFromDisk(WithByte(EightBitFile(), 0, 'b')));
}

TEST(BmpRefuse, EveryTruncationOfValidFiles) {
  std::string palette4 = CoreHeader(3, 1, 4);
  palette4.append(16 * 3, '\x20');
  const std::string files[] = {
      EightBitFile(),
      Masked16(0xF800, 0x07E0, 0x001F),
      BmpFile(palette4, std::string("\x01\x20\0\0", 4)),
      BmpFile(InfoHeader(124, 1, -1, 32, kBiBitFields, 0, Masks(0xFF, 0xFF00, 0xFF0000)),
              U32(0x123456)),
  };
  for (const std::string& file : files) {
    ASSERT_TRUE(ReadFromDisk(file));
    for (std::size_t length = 0; length < file.size(); ++length) {
      EXPECT_FALSE(ReadFromDisk(file.substr(0, length))) << "cut to " << length << " of "
                                                          << file.size();
    }
  }
}

TEST(BmpRefuse, UnknownHeaderSizes) {
  for (std::uint32_t size : {0u, 11u, 13u, 39u, 41u, 64u, 125u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(ReadFromDisk(WithU32(EightBitFile(), 14, size))) << size;
  }
}

TEST(BmpRefuse, PlanesOtherThanOne) {
  EXPECT_FALSE(ReadFromDisk(WithByte(EightBitFile(), 26, 2)));
  EXPECT_FALSE(ReadFromDisk(WithByte(EightBitFile(), 26, 0)));
}

TEST(BmpRefuse, EmptyNegativeOrOversizedDimensions) {
  EXPECT_FALSE(ReadFromDisk(Plain24(0, 2, 8)));
  EXPECT_FALSE(ReadFromDisk(Plain24(-3, 2, 24)));
  EXPECT_FALSE(ReadFromDisk(Plain24(3, 0, 0)));
  EXPECT_FALSE(ReadFromDisk(Plain24(kMaxBmpSide + 1, 1, (kMaxBmpSide + 1) * 3 + 1)));
  EXPECT_FALSE(ReadFromDisk(Plain24(1, kMaxBmpSide + 1, (kMaxBmpSide + 1) * 4)));
  EXPECT_FALSE(ReadFromDisk(Plain24(1, -(kMaxBmpSide + 1), (kMaxBmpSide + 1) * 4)));
  EXPECT_FALSE(ReadFromDisk(Plain24(1, std::numeric_limits<std::int32_t>::min(), 4)));
}

TEST(BmpRefuse, LargestDimensionsWithoutThePixelsToMatch) {
  // A header promising a gigabyte of pixels in a file of a few bytes.
  EXPECT_FALSE(ReadFromDisk(Plain24(kMaxBmpSide, kMaxBmpSide, 16)));
  EXPECT_FALSE(ReadFromDisk(Plain24(kMaxBmpSide, -kMaxBmpSide, 16)));
}

TEST(BmpRefuse, UnsupportedDepths) {
  for (int bits : {0, 2, 3, 15, 48, 64}) {
    EXPECT_FALSE(ReadFromDisk(BmpFile(InfoHeader(40, 1, 1, bits, kBiRgb), std::string(8, '\0'))))
        << bits;
  }
  // The core header knows no 16- or 32-bit pixels.
  EXPECT_FALSE(ReadFromDisk(BmpFile(CoreHeader(1, 1, 16), std::string(4, '\0'))));
  EXPECT_FALSE(ReadFromDisk(BmpFile(CoreHeader(1, 1, 32), std::string(4, '\0'))));
}

TEST(BmpRefuse, CompressionOtherThanPlainOrMasksWhereMasksApply) {
  for (std::uint32_t compression : {1u, 2u, 4u, 5u, 6u, 99u}) {
    EXPECT_FALSE(ReadFromDisk(WithU32(EightBitFile(), 30, compression))) << compression;
    EXPECT_FALSE(ReadFromDisk(WithU32(Masked16(0xF800, 0x07E0, 0x001F), 30, compression)))
        << compression;
  }
  EXPECT_FALSE(ReadFromDisk(WithU32(EightBitFile(), 30, kBiBitFields)));
  EXPECT_FALSE(ReadFromDisk(WithU32(Plain24(3, 2, 24), 30, kBiBitFields)));
}

TEST(BmpRefuse, PaletteLargerThanTheDepthAllows) {
  EXPECT_FALSE(ReadFromDisk(EightBitFile(257)));
  EXPECT_FALSE(ReadFromDisk(EightBitFile(0xFFFFFFFF)));
  const std::string headers = InfoHeader(40, 1, 1, 1, kBiRgb, 3) + Quad(0, 0, 0) +
                              Quad(1, 1, 1) + Quad(2, 2, 2);
  EXPECT_FALSE(ReadFromDisk(BmpFile(headers, std::string(4, '\0'))));
}

TEST(BmpRefuse, PixelIndexPastAShortPalette) {
  EXPECT_FALSE(ReadFromDisk(EightBitFile(2, std::string("\0\2\0\0\1\0\0\0", 8))));
  EXPECT_FALSE(ReadFromDisk(EightBitFile(2, std::string("\0\1\0\0\1\xFF\0\0", 8))));
}

TEST(BmpRefuse, PixelOffsetInsideTheHeadersOrPastTheFile) {
  const std::string file = EightBitFile();
  // The palette ends at 14 + 40 + 8 = 62.
  for (std::uint32_t offset : {0u, 14u, 54u, 61u}) {
    EXPECT_FALSE(ReadFromDisk(WithU32(file, 10, offset))) << offset;
  }
  // Without a palette: inside the info header, and inside the masks that follow it.
  EXPECT_FALSE(ReadFromDisk(WithU32(Plain24(3, 2, 30), 10, 30)));
  EXPECT_FALSE(ReadFromDisk(WithU32(Masked16(0xF800, 0x07E0, 0x001F), 10, 60)));
  for (std::uint32_t offset : {static_cast<std::uint32_t>(file.size()) - 1, 0x7FFFFFFFu,
                               0xFFFFFFFFu}) {
    EXPECT_FALSE(ReadFromDisk(WithU32(file, 10, offset))) << offset;
  }
}

TEST(BmpRefuse, MasksThatAreBrokenOverlappingOrWiderThanThePixel) {
  EXPECT_FALSE(ReadFromDisk(Masked16(0xF0F0, 0x0700, 0x000F)));   // red in two pieces
  EXPECT_FALSE(ReadFromDisk(Masked16(0xFC00, 0x07E0, 0x001F)));   // red and green share a bit
  EXPECT_FALSE(ReadFromDisk(Masked16(0x7C00, 0x03E0, 0x1F0000)));  // blue past bit 15
}

}  // namespace
}  // namespace tarnwick::test
