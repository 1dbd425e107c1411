#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "scan_results.h"

namespace tarnwick {

// What was mended in a stream that the copy could not write as it stood.
enum class StreamMend : std::uint8_t {
  kTrueLength,      // its /Length did not reach "endstream"; the true length is written
  kLineEndsUndone,  // its compressed data decoded only with each CR LF taken as LF
  kContentCut,      // its compressed content stopped decoding; what decoded is kept
};

struct MendedStream {
  std::int64_t number = 0;
  StreamMend mend = StreamMend::kTrueLength;
  bool operator==(const MendedStream&) const = default;
};

// What the rebuild pass decided for the repaired file.
struct RebuildSummary {
  std::uint64_t newPagesNumber = 0;
  // The trailer record the rebuild made itself when the source had no usable trailer.
  std::optional<TrailerRecord> fallbackTrailer;
  // The trailer record in force, its Root being the number the new Catalog took.
  TrailerRecord trailer;
  // The streams written mended, in the order written; object streams whose line ends were
  // undone come first.
  std::vector<MendedStream> mendedStreams;
  // Set when the copy grew past the largest offset a cross-reference entry can hold; the job
  // then ends rather than write a table that points at the wrong bytes.
  bool outputTooLarge = false;
  // How many pages the new page tree lists; none when no page could be recovered.
  std::uint64_t listedPages = 0;
};

}  // namespace tarnwick
