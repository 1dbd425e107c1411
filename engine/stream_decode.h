#pragma once

#include <cstddef>
#include <cstdint>
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

// The parameters of a /DecodeParms dictionary that the predictors use.
struct PredictorParameters {
  std::int64_t predictor = 1;
  std::int64_t colors = 1;
  std::int64_t bitsPerComponent = 8;
  std::int64_t columns = 1;
};

// Undoes a PNG (10 to 15) or TIFF (2, eight bits per component) predictor. Only whole rows are
// kept; a row with an unknown PNG filter ends the data there, which then counts as incomplete.
// False when the parameters are out of range or name another predictor.
bool UndoPredictor(DecodedStream& stream, const PredictorParameters& parameters);

}  // namespace tarnwick
