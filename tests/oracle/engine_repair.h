#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::oracle {

struct EngineRepair {
  bool repaired = false;
  std::filesystem::path output;
  std::vector<std::string> notices;  // message boxes the job showed
  std::string failure;
  bool packedObjectsProtected = false;
  std::size_t mends = 0;  // streams and objects written mended
};

// Repairs `source` with the real engine and the POSIX file layer into `folder` (save mode).
// Any overwrite question is answered No, so an existing file is never replaced. A `password`
// is tried on an encrypted source before the empty one.
EngineRepair RepairInto(const std::filesystem::path& source, const std::filesystem::path& folder,
                        const std::string& password = {});

}  // namespace tarnwick::oracle
