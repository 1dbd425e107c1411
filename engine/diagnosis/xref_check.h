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
  std::uint64_t lostObjectCount = 0;
};

// Reads the cross-reference section that the last startxref names (or, when it names none, the
// last one in the file's tail) and every older one its /Prev entries lead to, tables and streams
// alike, and checks that each object's newest entry leads to a version of that object. Each
// section is read once, and what streams decode to stays within the engine's decoding budget.
XrefFindings CheckXref(SourceReader& source, const ScanIndex& index);

}  // namespace tarnwick
