#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::bench {

// The folder that holds generated inputs between runs: $TARNWICK_BENCH_DIR, else the build
// tree's bench-data folder. Made when missing.
std::string BenchDataFolder();

struct BenchInput {
  std::string intactPath;
  std::string damagedPath;
  std::uint64_t bytes = 0;  // the length of either file
};

// The pair of large files at `percent` of the standard size, generated into the data folder on
// first use and reused afterwards. A generation cut short never leaves a file under the final
// name. Throws std::runtime_error when the files cannot be made.
BenchInput LargeInput(int percent);

}  // namespace tarnwick::bench
