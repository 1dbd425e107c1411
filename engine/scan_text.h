#pragma once

#include <cstdint>

#include "backward_search.h"
#include "object_header.h"
#include "source_reader.h"
#include "trailer_walk.h"

namespace tarnwick {

// The bytes the scan's rules work on, the source or objects unpacked from an object stream,
// with what the rules remember over them: the object whose header was seen last and one
// backward walk per rule, so that each rule's walks stay linear over the whole text.
struct ScanText {
  // `base`: where the bytes start among the unpacked objects, for unpacked text.
  ScanText(SourceReader& bytes, bool isUnpacked, std::int64_t base)
      : reader(bytes), unpacked(isUnpacked), unpackedBase(base), trailerWalk(bytes) {}

  // The number in the bytes from `first` to `last`, as ParseDecimal reads it.
  std::int32_t ParseRun(std::int64_t first, std::int64_t last);

  SourceReader& reader;
  bool unpacked;
  std::int64_t unpackedBase;

  bool objectOpen = false;
  ObjectHeader pending;  // the header of the open object

  BackwardSearch pageDictionaryStart{0};
  BackwardSearch pageHeader{1};
  BackwardSearch kidsHolder{1};
  BackwardSearch kidsNumberStart{0};
  TrailerWalk trailerWalk;

  // The last Kids array walked to its end, which later "Kids" keywords inside it share.
  std::int64_t kidsWalkStart = -1;
  std::int64_t kidsWalkEnd = -1;  // its terminator, or the text's length
  std::size_t kidsWalkFirst = 0;  // its first reference
};

}  // namespace tarnwick
