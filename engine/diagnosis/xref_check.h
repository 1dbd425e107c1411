#pragma once

#include <cstdint>
#include <vector>

#include "repair_outcome.h"
#include "scan_index.h"
#include "source_reader.h"

namespace tarnwick {

// What the source's own cross-reference data says, set beside where the scan found each object.
struct XrefFindings {
  XrefState xref = XrefState::kIntact;
  StartxrefState startxref = StartxrefState::kIntact;
  std::uint64_t wrongOffsetCount = 0;
  std::vector<WrongOffset> wrongOffsets;  // the first SourceFindings::kMaxListedWrongOffsets
  std::uint64_t lostObjectCount = 0;  // listed in use, found nowhere, named by a reference
  // The /Root of the newest section's trailer or stream dictionary; 0 when it has none. A
  // linearized file names it there, and not in the trailer that stands last.
  std::int64_t root = 0;
  // A trailer dictionary on the way did not read whole, or lacked what readers need of it.
  bool trailerDamaged = false;
};

// Reads the cross-reference section that the last startxref names (or, when it names none, the
// last one in the file's tail) and every older one its /Prev entries lead to, tables and streams
// alike, and checks that each object's newest entry leads to a version of that object. Each
// section is read once, and what streams decode to stays within the engine's decoding budget.
// Offsets that count from a header at `headerOffset` rather than from the file's start are
// taken as they are meant.
XrefFindings CheckXref(SourceReader& source, ScanIndex& index, std::int64_t headerOffset);

}  // namespace tarnwick
