#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "rebuild_summary.h"
#include "repair_outcome.h"

namespace tarnwick::oracle {

struct EngineRepair {
  bool repaired = false;
  std::filesystem::path output;
  std::vector<std::string> notices;  // message boxes the job showed
  std::string failure;
  bool packedObjectsProtected = false;
  std::vector<MendedStream> mendedStreams;  // as the rebuild reported them
  std::vector<ObjectMend> mendedObjects;
  bool encryptionKeyLost = false;
  RepairOutcome outcome;
  std::size_t Mends() const { return mendedStreams.size() + mendedObjects.size(); }
};

// Repairs `source` with the real engine and the POSIX file layer into `folder` (save mode).
// Any overwrite question is answered No, so an existing file is never replaced. A `password`
// is tried on an encrypted source before the empty one. `mend` false switches mending off.
EngineRepair RepairInto(const std::filesystem::path& source, const std::filesystem::path& folder,
                        const std::string& password = {}, bool mend = true);

// Checks `source` with the real engine: the analysis of a repair, no copy written.
RepairOutcome CheckWithEngine(const std::filesystem::path& source);

}  // namespace tarnwick::oracle
