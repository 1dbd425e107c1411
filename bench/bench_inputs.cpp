#include "bench_inputs.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "large_pdf.h"

namespace tarnwick::bench {

namespace {

// One seed for every size, so that the half, standard and double files share their first pages.
constexpr std::uint64_t kSeed = 20240601;

namespace fs = std::filesystem;

}  // namespace

std::string BenchDataFolder() {
  const char* chosen = std::getenv("TARNWICK_BENCH_DIR");
  const fs::path folder = (chosen && *chosen) ? fs::path(chosen) : fs::path(TARNWICK_BENCH_DEFAULT_DIR);
  fs::create_directories(folder);
  return folder.string();
}

BenchInput LargeInput(int percent) {
  const fs::path folder = BenchDataFolder();
  const std::string stem = "large-" + std::to_string(percent) + "pct-seed" + std::to_string(kSeed);
  BenchInput input{(folder / (stem + ".pdf")).string(), (folder / (stem + "-damaged.pdf")).string(), 0};
  if (!fs::exists(input.intactPath) || !fs::exists(input.damagedPath)) {
    std::fprintf(stderr, "generating %s and its damaged copy...\n", input.intactPath.c_str());
    const std::string intactPartial = input.intactPath + ".partial";
    const std::string damagedPartial = input.damagedPath + ".partial";
    const LargePdfSummary summary = WriteLargePdf(intactPartial, {percent / 100.0, kSeed});
    WriteDamagedCopy(intactPartial, damagedPartial, summary.xref, kSeed);
    fs::rename(damagedPartial, input.damagedPath);
    fs::rename(intactPartial, input.intactPath);
  }
  input.bytes = fs::file_size(input.intactPath);
  if (fs::file_size(input.damagedPath) != input.bytes) {
    throw std::runtime_error(input.damagedPath + " differs in length from " + input.intactPath);
  }
  return input;
}

}  // namespace tarnwick::bench
