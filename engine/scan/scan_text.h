#pragma once

#include <cstdint>
#include <vector>

#include "backward_search.h"
#include "object_header.h"
#include "source_reader.h"
#include "trailer_walk.h"

namespace tarnwick {

// The bytes the scan's rules work on, the source or objects unpacked from an object stream,
// with what the rules remember over them: the object whose header was seen last and one
// backward walk per rule, so that each rule's walks stay linear over the whole text.
struct ScanText {
  // `keywords`: where the Kids keywords of these bytes are kept, as offsets from `base`.
  ScanText(SourceReader& bytes, std::vector<std::int64_t>& keywords, std::int64_t base)
      : reader(bytes), kidsKeywords(keywords), kidsKeywordBase(base), trailerWalk(bytes) {}

  SourceReader& reader;
  std::vector<std::int64_t>& kidsKeywords;
  std::int64_t kidsKeywordBase;

  bool objectOpen = false;
  ObjectHeader pending;  // the header of the open object

  BackwardSearch pageDictionaryStart{0};
  BackwardSearch pageHeader{1};
  BackwardSearch kidsHolder{1};
  // The Kids holder asked about last, and whether it is a page-tree node.
  std::int64_t typedHolder = -1;
  bool typedHolderIsNode = false;
  BackwardSearch kidsNumberStart{0};
  TrailerWalk trailerWalk;

  // The last Kids array walked to its end, which later "Kids" keywords inside it share.
  std::int64_t kidsWalkStart = -1;
  std::int64_t kidsWalkEnd = -1;  // its terminator, or the text's length
  std::size_t kidsWalkFirst = 0;  // its first reference
};

}  // namespace tarnwick
