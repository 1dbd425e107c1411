#include "stream_decode.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>

#include "engine_limits.h"

namespace tarnwick {

namespace {

constexpr std::size_t kInputPiece = 64 * 1024;
constexpr std::size_t kOutputPiece = 64 * 1024;
constexpr int kZlibWindow = 15;
constexpr int kBareDeflateWindow = -15;

// Inflates piece by piece through a scratch buffer, appending to `out` when `keep` is set and
// only counting otherwise. Appending lets the bytes grow as they come: no room is made, and
// filled with zeros, before the data that fills it has been inflated.
DecodedStream InflateWith(SourceReader& reader, std::int64_t begin, std::int64_t end,
                          std::size_t cap, int window, bool keep, std::size_t& produced) {
  DecodedStream out;
  z_stream z{};
  produced = 0;
  if (inflateInit2(&z, window) != Z_OK) return out;
  int status = Z_OK;
  std::vector<std::uint8_t> scratch(kOutputPiece);
  for (std::int64_t at = begin; status == Z_OK && produced < cap;) {
    if (z.avail_in == 0) {
      const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(end - at, kInputPiece));
      const std::span<const std::uint8_t> piece =
          at < end ? reader.View(at, wanted) : std::span<const std::uint8_t>{};
      if (piece.empty()) break;  // the data ends before the encoded stream does
      z.next_in = const_cast<Bytef*>(piece.data());
      z.avail_in = static_cast<uInt>(piece.size());
      at += static_cast<std::int64_t>(piece.size());
    }
    const std::size_t room = std::min(cap - produced, scratch.size());
    z.next_out = scratch.data();
    z.avail_out = static_cast<uInt>(room);
    status = inflate(&z, Z_NO_FLUSH);
    const std::size_t got = room - z.avail_out;
    if (keep) out.bytes.insert(out.bytes.end(), scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(got));
    produced += got;
    // No progress for want of input is not damage: the loop feeds more, or ends.
    if (status == Z_BUF_ERROR && z.avail_in == 0) status = Z_OK;
  }
  out.complete = status == Z_STREAM_END;
  inflateEnd(&z);
  return out;
}

// The PNG predictor of one byte from its left, upper and upper-left neighbours.
std::uint8_t Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
  if (toUp <= toUpLeft) return static_cast<std::uint8_t>(up);
  return static_cast<std::uint8_t>(upLeft);
}

void UndoTiff(DecodedStream& stream, std::size_t rowBytes, std::size_t pixelBytes) {
  const std::size_t rows = stream.bytes.size() / rowBytes;
  if (stream.bytes.size() % rowBytes != 0) stream.complete = false;
  stream.bytes.resize(rows * rowBytes);
  for (std::size_t row = 0; row < rows; ++row) {
    std::uint8_t* bytes = stream.bytes.data() + row * rowBytes;
    for (std::size_t i = pixelBytes; i < rowBytes; ++i) {
      bytes[i] = static_cast<std::uint8_t>(bytes[i] + bytes[i - pixelBytes]);
    }
  }
}

// Rows are undone in place: row r is written at r * rowBytes, before its own encoded bytes at
// r * (rowBytes + 1) + 1, so nothing unread is overwritten, and the row above is still there.
// Nothing is allocated for a row, however wide the parameters say it is.
void UndoPng(DecodedStream& stream, std::size_t rowBytes, std::size_t pixelBytes) {
  std::vector<std::uint8_t>& bytes = stream.bytes;
  const std::size_t size = bytes.size();
  std::size_t at = 0;
  std::size_t rowStart = 0;
  for (; rowBytes < size && at <= size - rowBytes - 1; at += rowBytes + 1, rowStart += rowBytes) {
    const int filter = bytes[at];
    if (filter > 4) {
      stream.complete = false;
      break;
    }
    const std::uint8_t* encoded = bytes.data() + at + 1;
    std::uint8_t* row = bytes.data() + rowStart;
    const std::uint8_t* above = rowStart == 0 ? nullptr : row - rowBytes;
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
      const int up = above ? above[i] : 0;
      const int upLeft = above && i >= pixelBytes ? above[i - pixelBytes] : 0;
      int predicted = 0;
      switch (filter) {
        case 1:
          predicted = left;
          break;
        case 2:
          predicted = up;
          break;
        case 3:
          predicted = (left + up) / 2;
          break;
        case 4:
          predicted = Paeth(left, up, upLeft);
          break;
        default:
          break;
      }
      row[i] = static_cast<std::uint8_t>(encoded[i] + predicted);
    }
  }
  if (at != size) stream.complete = false;
  bytes.resize(rowStart);
}

// One string of the LZW table: the code of all but its last byte, its last byte, its first
// byte and its length.
struct LzwEntry {
  std::uint16_t prefix = 0;
  std::uint8_t last = 0;
  std::uint8_t first = 0;
  std::uint16_t length = 1;
};

constexpr int kLzwClear = 256;
constexpr int kLzwEnd = 257;
constexpr int kLzwFirstFree = 258;
constexpr int kLzwMaxCodes = 4096;

}  // namespace

DecodedStream DecodeLzw(SourceReader& reader, std::int64_t begin, std::int64_t end,
                        std::size_t cap, bool earlyChange) {
  DecodedStream out;
  std::vector<LzwEntry> table(kLzwMaxCodes);
  for (int i = 0; i < 256; ++i) {
    table[static_cast<std::size_t>(i)] = {0, static_cast<std::uint8_t>(i),
                                          static_cast<std::uint8_t>(i), 1};
  }
  int width = 9;
  int next = kLzwFirstFree;
  int previous = -1;
  std::uint32_t buffer = 0;
  int bits = 0;
  std::int64_t at = begin;
  // Writes the string of `code`, last byte first from the end of its place.
  auto emit = [&](int code) {
    const std::size_t length = table[static_cast<std::size_t>(code)].length;
    const std::size_t old = out.bytes.size();
    out.bytes.resize(old + length);
    for (std::size_t i = old + length; i > old; --i) {
      const LzwEntry& entry = table[static_cast<std::size_t>(code)];
      out.bytes[i - 1] = entry.last;
      code = entry.prefix;
    }
  };
  while (out.bytes.size() < cap) {
    while (bits < width) {
      if (at >= end) {
        out.complete = bits == 0 || (buffer & ((1u << bits) - 1)) == 0;
        return out;
      }
      buffer = (buffer << 8) | static_cast<std::uint32_t>(reader.ByteAt(at++));
      bits += 8;
    }
    const int code = static_cast<int>((buffer >> (bits - width)) & ((1u << width) - 1));
    bits -= width;
    if (code == kLzwClear) {
      width = 9;
      next = kLzwFirstFree;
      previous = -1;
      continue;
    }
    if (code == kLzwEnd) {
      out.complete = true;
      return out;
    }
    if (previous < 0) {
      if (code > 255) return out;
      emit(code);
      previous = code;
      continue;
    }
    std::uint8_t first = 0;
    if (code < next) {
      first = table[static_cast<std::size_t>(code)].first;
      emit(code);
    } else if (code == next && next < kLzwMaxCodes) {
      // The string being defined: the previous one and its own first byte.
      first = table[static_cast<std::size_t>(previous)].first;
      emit(previous);
      out.bytes.push_back(first);
    } else {
      return out;  // a code not yet defined: damage
    }
    if (next < kLzwMaxCodes) {
      const LzwEntry& before = table[static_cast<std::size_t>(previous)];
      table[static_cast<std::size_t>(next)] = {static_cast<std::uint16_t>(previous), first,
                                               before.first,
                                               static_cast<std::uint16_t>(before.length + 1)};
      ++next;
    }
    previous = code;
    if (next + (earlyChange ? 1 : 0) >= (1 << width) && width < 12) ++width;
  }
  return out;
}

std::optional<DecodedStream> DecodeStream(SourceReader& reader, std::int64_t begin,
                                          std::int64_t end, std::size_t cap,
                                          const StreamFilter& filter) {
  DecodedStream decoded;
  switch (filter.coding) {
    case StreamCoding::kFlate:
      decoded = Inflate(reader, begin, end, cap);
      break;
    case StreamCoding::kLzw:
      decoded = DecodeLzw(reader, begin, end, cap, filter.earlyChange);
      break;
    case StreamCoding::kNone: {
      const auto length = static_cast<std::size_t>(std::max<std::int64_t>(0, end - begin));
      decoded.bytes = reader.ReadVector(begin, std::min(length, cap));
      decoded.complete = length <= cap;
      break;
    }
  }
  if (!UndoPredictor(decoded, filter.predictor)) return std::nullopt;
  return decoded;
}

DecodedStream Inflate(SourceReader& reader, std::int64_t begin, std::int64_t end, std::size_t cap) {
  std::size_t produced = 0;
  DecodedStream out = InflateWith(reader, begin, end, cap, kZlibWindow, true, produced);
  // Some producers write deflate data without the zlib wrapper.
  if (out.bytes.empty() && !out.complete)
    out = InflateWith(reader, begin, end, cap, kBareDeflateWindow, true, produced);
  return out;
}

InflateCheck CheckZlibInflate(SourceReader& reader, std::int64_t begin, std::int64_t end,
                              std::size_t cap) {
  InflateCheck check;
  check.complete = InflateWith(reader, begin, end, cap, kZlibWindow, false, check.size).complete;
  return check;
}

InflateCheck CheckInflate(SourceReader& reader, std::int64_t begin, std::int64_t end,
                          std::size_t cap) {
  InflateCheck check;
  check.complete = InflateWith(reader, begin, end, cap, kZlibWindow, false, check.size).complete;
  if (check.size == 0 && !check.complete) {
    check.complete =
        InflateWith(reader, begin, end, cap, kBareDeflateWindow, false, check.size).complete;
  }
  return check;
}

bool UndoPredictor(DecodedStream& stream, const PredictorParameters& parameters) {
  const auto& [predictor, colors, bits, columns] = parameters;
  if (predictor <= 1) return true;
  const bool validBits = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
  if (!validBits || colors < 1 || colors > limits::kMaxColors || columns < 1 ||
      columns > limits::kMaxColumns) {
    return false;
  }
  const auto rowBytes = static_cast<std::size_t>((columns * colors * bits + 7) / 8);
  const auto pixelBytes = static_cast<std::size_t>(std::max<std::int64_t>(1, colors * bits / 8));
  if (predictor == 2) {
    if (bits != 8) return false;
    UndoTiff(stream, rowBytes, pixelBytes);
    return true;
  }
  if (predictor < 10 || predictor > 15) return false;
  UndoPng(stream, rowBytes, pixelBytes);
  return true;
}

}  // namespace tarnwick
