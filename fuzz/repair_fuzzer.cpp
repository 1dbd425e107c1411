// libFuzzer target: every input is repaired as a file, in save mode.
#include <cstddef>
#include <cstdint>

#include "repair_entry.h"

namespace {

// A small input whose copy is this long names an object number near the largest: the copy's
// cross-reference table then has millions of entries, and the run is a hundred times slower than
// others on the same code paths. Such inputs are run but not kept to breed from.
constexpr std::uint64_t kLongestBredCopy = 4 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tarnwick::fuzz::ScratchRepair scratch;
  const auto copyLength = scratch.Repair(data, size);
  return copyLength && *copyLength > kLongestBredCopy ? -1 : 0;
}
