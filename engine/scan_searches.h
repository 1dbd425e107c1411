#pragma once

#include <cstdint>

#include "backward_search.h"
#include "pdf_repair.h"
#include "trailer_walk.h"

namespace tarnwick {

// The scan's working state: the object whose header was seen last and the remembered backward
// walks, one per rule, so that each rule's walks stay linear over the whole file.
struct PDF_Repair::ScanSearches {
  explicit ScanSearches(SourceReader& source) : trailerWalk(source) {}

  bool objectOpen = false;
  // Where "ObjStm" or "XRef" was seen last, -1 before; an object closing after it is looked into.
  std::int64_t streamTypeKeyword = -1;
  std::size_t unpackedObjects = 0;  // objects unpacked from object streams so far
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
  std::int64_t kidsWalkEnd = -1;  // its terminator, or the source length
  std::size_t kidsWalkFirst = 0;  // its first reference
};

}  // namespace tarnwick
