#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "source_reader.h"

namespace tarnwick {

// What decoding a stream's data gave: its bytes, and whether the data ended where its encoding
// says it ends (false for damaged or truncated data, or when the size cap cut it).
struct DecodedStream {
  std::vector<std::uint8_t> bytes;
  bool complete = false;
};

// Inflates the zlib (or bare deflate) data in [begin, end) of `reader`, reading it piece by
// piece, and gives back at most `cap` bytes. Damaged data gives what came out before the damage.
DecodedStream Inflate(SourceReader& reader, std::int64_t begin, std::int64_t end, std::size_t cap);

// Whether the zlib (or bare deflate) data in [begin, end) inflates to its end, and to how many
// bytes (at most `cap`): the same test as Inflate, with nothing kept.
struct InflateCheck {
  std::size_t size = 0;
  bool complete = false;
};
InflateCheck CheckInflate(SourceReader& reader, std::int64_t begin, std::int64_t end,
                          std::size_t cap);
// The same test for zlib data only, whose header and checksum noise does not pass: bare deflate
// data is not tried.
InflateCheck CheckZlibInflate(SourceReader& reader, std::int64_t begin, std::int64_t end,
                              std::size_t cap);

// The parameters of a /DecodeParms dictionary that the predictors use.
struct PredictorParameters {
  std::int64_t predictor = 1;
  std::int64_t colors = 1;
  std::int64_t bitsPerComponent = 8;
  std::int64_t columns = 1;
};

// Decodes LZW data in [begin, end) of `reader` (codes of 9 to 12 bits, as PDF writes them; with
// `earlyChange` the code width grows one code early). zlib has no LZW, so this small decoder is
// the engine's own. The data counts as complete when it ends with the end-of-data code, or runs
// out exactly at a code's end without an invalid code before.
DecodedStream DecodeLzw(SourceReader& reader, std::int64_t begin, std::int64_t end,
                        std::size_t cap, bool earlyChange);

// Undoes a PNG (10 to 15) or TIFF (2, eight bits per component) predictor. Only whole rows are
// kept; a row with an unknown PNG filter ends the data there, which then counts as incomplete.
// False when the parameters are out of range or name another predictor.
bool UndoPredictor(DecodedStream& stream, const PredictorParameters& parameters);

// The one filter of a stream that the engine decodes.
enum class StreamCoding : std::uint8_t { kNone, kFlate, kLzw };
struct StreamFilter {
  StreamCoding coding = StreamCoding::kNone;
  PredictorParameters predictor;
  bool earlyChange = true;  // LZW only
};

// The data in [begin, end) decoded by `filter`, its predictor undone; at most `cap` bytes before
// the predictor. Nothing when the predictor's parameters are out of range.
std::optional<DecodedStream> DecodeStream(SourceReader& reader, std::int64_t begin,
                                          std::int64_t end, std::size_t cap,
                                          const StreamFilter& filter);

}  // namespace tarnwick
