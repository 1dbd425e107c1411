#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick::fuzz {

// Repairs `sourcePath` in save mode into `destinationFolder` (ending with '/') with the real
// engine and the POSIX file layer, answering Yes to the overwrite question. True when the engine
// wrote the repaired copy.
bool RepairInto(const std::string& sourcePath, const std::string& destinationFolder);

// Repairs byte strings through a file on disk, as the engine only reads files. One private
// folder serves the whole process; the input and the repaired copy are removed after every run,
// so that a long fuzzing session neither fills the disk nor meets the overwrite question.
class ScratchRepair {
 public:
  ScratchRepair();  // aborts when no private folder can be made: nothing can run without one
  ~ScratchRepair();
  ScratchRepair(const ScratchRepair&) = delete;
  ScratchRepair& operator=(const ScratchRepair&) = delete;

  // The length of the repaired copy; nothing when the engine did not write one.
  std::optional<std::uint64_t> Repair(const std::uint8_t* data, std::size_t size);

 private:
  std::string folder_;
  std::string inputPath_;
  std::string outputFolder_;
  std::string outputPath_;
};

}  // namespace tarnwick::fuzz
