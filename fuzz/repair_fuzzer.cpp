// libFuzzer target: every input is repaired as a file, in save mode.
#include <cstddef>
#include <cstdint>

#include "repair_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tarnwick::fuzz::ScratchRepair scratch;
  scratch.Repair(data, size);
  return 0;
}
