#pragma once

#include <cstdint>

#include "backward_search.h"
#include "source_reader.h"
#include "trailer_walk.h"

namespace tarnwick {

// The bytes the scan's rules work on, the source or objects unpacked from an object stream,
// with what the rules remember over them: the object whose header was seen last and one
// backward walk per rule, so that each rule's walks stay linear over the whole text.
struct ScanText {
  explicit ScanText(SourceReader& bytes) : reader(bytes), trailerWalk(bytes) {}

  // The first byte after the last CR or LF at or before `from` (1 when there is none).
  std::int64_t LineStartAtOrBefore(std::int64_t from, BackwardSearch& lineSearch);
  // The number on the line that ends just before `end`.
  std::int32_t NumberOnLineBefore(std::int64_t end, BackwardSearch& lineSearch);
  // The number in the bytes from `first` to `last`, as ParseDecimal reads it.
  std::int32_t ParseRun(std::int64_t first, std::int64_t last);

  SourceReader& reader;

  bool objectOpen = false;
  std::int32_t pendingNumber = 0;
  std::int64_t pendingStart = 0;

  BackwardSearch objectLineStart{0};
  BackwardSearch pageDictionaryStart{0};
  BackwardSearch pageHeader{1};
  BackwardSearch pageLineStart{0};
  BackwardSearch catalogLineStart{0};
  BackwardSearch kidsHolder{1};
  BackwardSearch kidsLineStart{0};
  BackwardSearch kidsNumberStart{0};
  TrailerWalk trailerWalk;

  // The last Kids array walked to its end, which later "Kids" keywords inside it share.
  std::int64_t kidsWalkStart = -1;
  std::int64_t kidsWalkEnd = -1;  // its terminator, or the text's length
  std::size_t kidsWalkFirst = 0;  // its first reference
};

}  // namespace tarnwick
