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
  kContentEmptied,  // nothing of its page content decoded; it is written empty
  kEndRestored,     // its "endstream" was missing; its data ends where its object does
  kKeywordLineEnd,  // a lone CR or blanks followed its "stream" keyword; a LF is written
};

struct MendedStream {
  std::int64_t number = 0;
  StreamMend mend = StreamMend::kTrueLength;
  bool operator==(const MendedStream&) const = default;
};

// What was mended in an object that a strict reader would have rejected or found incomplete.
enum class ObjectMendKind : std::uint8_t {
  kValueCut,          // its value was damaged, or followed by other text: what parsed is kept
  kLeftOut,           // nothing of it parsed: it is left out, references to it resolved as lost
  kReferenceNulled,   // a reference to `target`, which the copy does not hold, became null
  kFontReplaced,      // the lost font `target` became a standard font
  kXObjectReplaced,   // the lost XObject `target` became an empty form
  kContentDropped,    // the lost content stream `target` was taken out of the page's /Contents
  kDuplicateKey,      // a dictionary named a key twice: the earlier entry is left out
};

struct ObjectMend {
  std::int64_t number = 0;
  ObjectMendKind kind = ObjectMendKind::kValueCut;
  std::int64_t target = 0;  // the object a reference named, where the mend concerns one
  bool operator==(const ObjectMend&) const = default;
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
  // The objects written mended, in the order written; empty when mending is off.
  std::vector<ObjectMend> mendedObjects;
  // Set when the copy grew past the largest offset a cross-reference entry can hold; the job
  // then ends rather than write a table that points at the wrong bytes.
  bool outputTooLarge = false;
  // Set when the source's trailers were lost with the /ID that its encryption key derives from:
  // the copy names the security dictionary found among the objects, but no password opens it.
  bool encryptionKeyLost = false;
  // The pages the new page tree lists, in its order; none when no page could be recovered.
  std::vector<std::int64_t> listedPages;
};

}  // namespace tarnwick
