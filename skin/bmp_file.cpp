#include "bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>

namespace tarnwick {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;
// Colour masks stand right after the 40-byte header, whether they belong to a longer header or
// follow a plain one as a separate block.
constexpr std::size_t kMasksOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr std::size_t kMasksSize = 12;
constexpr std::size_t kLargestPalette = 256 * 4;
// Every header byte the reader can need; the pixel rows are read separately.
constexpr std::size_t kMaxHeadSize = kFileHeaderSize + kLargestHeaderSize + kLargestPalette;

constexpr std::uint32_t kPlainRgb = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t Le16(std::string_view bytes, std::size_t at) {
  return std::uint32_t{static_cast<std::uint8_t>(bytes[at])} |
         std::uint32_t{static_cast<std::uint8_t>(bytes[at + 1])} << 8;
}

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
  return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

// One colour channel of a 16- or 32-bit pixel: its bits, and the largest value they hold, which is
// scaled to 255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t largest = 0;

  std::uint8_t From(std::uint32_t pixel) const {
    if (largest == 0) return 0;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + largest / 2) / largest);
  }
};

// A mask must be one run of set bits; an empty mask gives a channel that is always 0.
std::optional<Channel> MakeChannel(std::uint32_t mask) {
  if (mask == 0) return Channel{};
  const int shift = std::countr_zero(mask);
  const std::uint32_t largest = mask >> shift;
  if ((largest & (largest + 1)) != 0) return std::nullopt;
  return Channel{mask, shift, largest};
}

struct Channels {
  Channel red;
  Channel green;
  Channel blue;
};

std::optional<Channels> MakeChannels(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                                     unsigned bitsPerPixel) {
  const std::uint64_t pixelBits = (std::uint64_t{1} << bitsPerPixel) - 1;
  if (((red | green | blue) & ~pixelBits) != 0) return std::nullopt;
  if ((red & green) != 0 || (red & blue) != 0 || (green & blue) != 0) return std::nullopt;
  const auto r = MakeChannel(red);
  const auto g = MakeChannel(green);
  const auto b = MakeChannel(blue);
  if (!r || !g || !b) return std::nullopt;
  return Channels{*r, *g, *b};
}

// Everything the header says about the pixel rows.
struct Layout {
  int width = 0;
  int height = 0;
  bool bottomUp = true;
  unsigned bitsPerPixel = 0;
  std::vector<Rgb> palette;
  Channels channels;
  std::uint64_t pixelOffset = 0;
  std::uint64_t rowBytes = 0;
};

bool ReadPalette(std::string_view head, std::size_t start, std::size_t count,
                 std::size_t entrySize, Layout& layout) {
  const std::size_t end = start + count * entrySize;
  if (end > head.size()) return false;
  layout.palette.reserve(count);
  for (std::size_t at = start; at < end; at += entrySize) {
    layout.palette.push_back({static_cast<std::uint8_t>(head[at + 2]),
                              static_cast<std::uint8_t>(head[at + 1]),
                              static_cast<std::uint8_t>(head[at])});
  }
  return true;
}

std::optional<Layout> ParseHead(std::string_view head, std::uint64_t fileSize) {
  if (head.size() < kFileHeaderSize + 4 || head[0] != 'B' || head[1] != 'M') return std::nullopt;
  Layout layout;
  layout.pixelOffset = Le32(head, 10);
  const std::uint32_t headerSize = Le32(head, kFileHeaderSize);
  const bool core = headerSize == kCoreHeaderSize;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != kLargestHeaderSize) {
    return std::nullopt;
  }
  std::size_t headersEnd = kFileHeaderSize + headerSize;
  if (headersEnd > head.size()) return std::nullopt;

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  std::uint32_t compression = kPlainRgb;
  std::uint32_t coloursUsed = 0;
  if (core) {
    width = Le16(head, 18);
    height = Le16(head, 20);
    planes = Le16(head, 22);
    layout.bitsPerPixel = Le16(head, 24);
  } else {
    width = static_cast<std::int32_t>(Le32(head, 18));
    height = static_cast<std::int32_t>(Le32(head, 22));
    planes = Le16(head, 26);
    layout.bitsPerPixel = Le16(head, 28);
    compression = Le32(head, 30);
    coloursUsed = Le32(head, 46);
  }
  // A negative height marks rows stored top row first.
  layout.bottomUp = height > 0;
  height = height < 0 ? -height : height;
  if (planes != 1 || width < 1 || width > kMaxBmpSide || height < 1 || height > kMaxBmpSide) {
    return std::nullopt;
  }
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);

  const unsigned bits = layout.bitsPerPixel;
  if (bits == 1 || bits == 4 || bits == 8) {
    if (compression != kPlainRgb) return std::nullopt;
    const std::size_t largest = std::size_t{1} << bits;
    if (coloursUsed > largest) return std::nullopt;
    const std::size_t count = coloursUsed == 0 ? largest : coloursUsed;
    const std::size_t entrySize = core ? 3 : 4;
    if (!ReadPalette(head, headersEnd, count, entrySize, layout)) return std::nullopt;
    headersEnd += count * entrySize;
  } else if (bits == 24) {
    if (compression != kPlainRgb) return std::nullopt;
  } else if ((bits == 16 || bits == 32) && !core) {
    std::optional<Channels> channels;
    if (compression == kBitFields) {
      if (kMasksOffset + kMasksSize > head.size()) return std::nullopt;
      channels = MakeChannels(Le32(head, kMasksOffset), Le32(head, kMasksOffset + 4),
                              Le32(head, kMasksOffset + 8), bits);
      headersEnd = std::max(headersEnd, kMasksOffset + kMasksSize);
    } else if (compression == kPlainRgb) {
      channels = bits == 16 ? MakeChannels(0x7C00, 0x03E0, 0x001F, bits)
                            : MakeChannels(0xFF0000, 0x00FF00, 0x0000FF, bits);
    }
    if (!channels) return std::nullopt;
    layout.channels = *channels;
  } else {
    return std::nullopt;
  }

  // Rows are padded to whole 32-bit words.
  layout.rowBytes = (static_cast<std::uint64_t>(layout.width) * bits + 31) / 32 * 4;
  const std::uint64_t pixelBytes = layout.rowBytes * static_cast<std::uint64_t>(layout.height);
  if (layout.pixelOffset < headersEnd || layout.pixelOffset > fileSize ||
      pixelBytes > fileSize - layout.pixelOffset) {
    return std::nullopt;
  }
  return layout;
}

// One row of stored pixels into `out`; false when an index points past the palette.
bool DecodeRow(const Layout& layout, std::string_view row, Rgb* out) {
  const unsigned bits = layout.bitsPerPixel;
  for (int x = 0; x < layout.width; ++x) {
    const std::size_t bit = static_cast<std::size_t>(x) * bits;
    if (bits <= 8) {
      // Pixels within a byte run from its highest bits down.
      const unsigned byte = static_cast<std::uint8_t>(row[bit / 8]);
      const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      if (index >= layout.palette.size()) return false;
      out[x] = layout.palette[index];
    } else if (bits == 24) {
      const std::size_t at = bit / 8;
      out[x] = {static_cast<std::uint8_t>(row[at + 2]), static_cast<std::uint8_t>(row[at + 1]),
                static_cast<std::uint8_t>(row[at])};
    } else {
      const std::uint32_t pixel = bits == 16 ? Le16(row, bit / 8) : Le32(row, bit / 8);
      out[x] = {layout.channels.red.From(pixel), layout.channels.green.From(pixel),
                layout.channels.blue.From(pixel)};
    }
  }
  return true;
}

std::optional<BmpImage> Decode(const Layout& layout, std::string_view rows) {
  BmpImage image;
  image.width = layout.width;
  image.height = layout.height;
  image.pixels.resize(static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.height));
  for (int stored = 0; stored < layout.height; ++stored) {
    const int y = layout.bottomUp ? layout.height - 1 - stored : stored;
    // Within `rows`, which holds every row, so the offsets fit a size.
    const std::string_view row = rows.substr(
        static_cast<std::size_t>(static_cast<std::uint64_t>(stored) * layout.rowBytes),
        static_cast<std::size_t>(layout.rowBytes));
    if (!DecodeRow(layout, row, &image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(layout.width)])) {
      return std::nullopt;
    }
  }
  return image;
}

bool ReadAt(std::ifstream& file, std::uint64_t offset, std::string& bytes) {
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file.gcount() == static_cast<std::streamsize>(bytes.size());
}

void PutLe16(std::string& bytes, std::uint32_t value) {
  bytes.push_back(static_cast<char>(value & 0xFF));
  bytes.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void PutLe32(std::string& bytes, std::uint32_t value) {
  PutLe16(bytes, value & 0xFFFF);
  PutLe16(bytes, value >> 16);
}

}  // namespace

std::optional<BmpImage> ReadBmp(const std::string& path) {
  std::error_code error;
  const std::uint64_t fileSize = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kMaxHeadSize)), '\0');
  if (!file || !ReadAt(file, 0, head)) return std::nullopt;
  const std::optional<Layout> layout = ParseHead(head, fileSize);
  if (!layout) return std::nullopt;
  // Checked against the file's length above, so this allocation is bounded by the file; a 32-bit
  // program cannot hold more than its address space.
  const std::uint64_t rowsSize = layout->rowBytes * static_cast<std::uint64_t>(layout->height);
  if (rowsSize > std::numeric_limits<std::size_t>::max()) return std::nullopt;
  std::string rows(static_cast<std::size_t>(rowsSize), '\0');
  if (!ReadAt(file, layout->pixelOffset, rows)) return std::nullopt;
  return Decode(*layout, rows);
}

bool WriteBmp24(const std::string& path, const BmpImage& image) {
  if (image.width < 1 || image.width > kMaxBmpSide || image.height < 1 ||
      image.height > kMaxBmpSide ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
    return false;
  }
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(image.height);
  const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
  std::string bytes = "BM";
  bytes.reserve(pixelOffset + pixelBytes);
  PutLe32(bytes, pixelOffset + pixelBytes);
  PutLe32(bytes, 0);  // reserved
  PutLe32(bytes, pixelOffset);
  PutLe32(bytes, kInfoHeaderSize);
  PutLe32(bytes, static_cast<std::uint32_t>(image.width));
  PutLe32(bytes, static_cast<std::uint32_t>(image.height));  // positive: bottom row first
  PutLe16(bytes, 1);                                         // planes
  PutLe16(bytes, 24);
  PutLe32(bytes, kPlainRgb);
  PutLe32(bytes, pixelBytes);
  PutLe32(bytes, 2835);  // 72 dpi, horizontally
  PutLe32(bytes, 2835);  // and vertically
  PutLe32(bytes, 0);     // colours used
  PutLe32(bytes, 0);     // important colours
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& colour = image.At(x, y);
      bytes.push_back(static_cast<char>(colour.blue));
      bytes.push_back(static_cast<char>(colour.green));
      bytes.push_back(static_cast<char>(colour.red));
    }
    bytes.append(rowBytes - static_cast<std::uint32_t>(image.width) * 3, '\0');
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return !file.fail();
}

}  // namespace tarnwick
