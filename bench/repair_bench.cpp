// Throughput of the repair engine on large files beside that of merely reading and copying them,
// at half, standard and double size. Inputs come from the data folder (see bench_inputs.h); the
// repaired copies go to a fresh folder beside them, so both sit on the same disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "keyword_candidates.h"
#include "output_writer.h"
#include "pdf_repair.h"
#include "posix_clock.h"
#include "posix_file_layer.h"
#include "source_reader.h"

namespace {

namespace fs = std::filesystem;
using tarnwick::bench::BenchInput;
using tarnwick::bench::LargeInput;

// The sizes compared, in percent of the standard file.
constexpr int kHalf = 50;
constexpr int kStandard = 100;
constexpr int kDouble = 200;
// The engine's own buffer sizes: the source is fetched in blocks of this many bytes and scanned
// in chunks of the other.
constexpr std::size_t kEngineBlock = 64 * 1024;
constexpr std::size_t kScanBlock = 64 * 1024;
constexpr std::int64_t kScanStart = 8;
constexpr double kMinSecondsPerSize = 2.0;

// A fresh folder for repaired copies, removed with everything in it at the end.
class OutputFolder {
 public:
  OutputFolder() {
    std::string pattern = tarnwick::bench::BenchDataFolder() + "/repair-out-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    path_ = pattern;
  }
  ~OutputFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;
  std::string Path() const { return path_ + '/'; }

 private:
  std::string path_;
};

// A job that nobody watches: it never pauses, and any message box counts as a failure.
class UnattendedJob final : public tarnwick::JobMessages, public tarnwick::JobControl {
 public:
  void Notice(const std::string& text) override { notices_ += text + '\n'; }
  bool AskYesNo(const std::string& text, const std::string&) override {
    notices_ += text + '\n';
    return false;
  }
  bool ContinueJob() override { return true; }
  const std::string& Notices() const { return notices_; }

 private:
  std::string notices_;
};

void SetThroughput(benchmark::State& state, std::uint64_t bytes) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
  state.SetComplexityN(static_cast<std::int64_t>(bytes));
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

std::unique_ptr<tarnwick::SourceFile> OpenSource(tarnwick::PosixFileLayer& files,
                                                 const std::string& path) {
  auto source = files.OpenForReading(path);
  if (!source) throw std::runtime_error(path + ": " + files.LastErrorText());
  return source;
}

// The file read front to back in the engine's block size, with nothing done to the bytes.
void BM_ReadBlocks(benchmark::State& state) {
  const BenchInput input = LargeInput(static_cast<int>(state.range(0)));
  tarnwick::PosixFileLayer files;
  std::vector<std::uint8_t> block(kEngineBlock);
  for (auto _ : state) {
    auto source = OpenSource(files, input.damagedPath);
    std::size_t got = 0;
    for (std::uint64_t at = 0; at < input.bytes; at += got) {
      if (!source->ReadAt(at, block.size(), block.data(), got) || got == 0) {
        state.SkipWithError("read failed");
        return;
      }
      benchmark::DoNotOptimize(block.data());
      benchmark::ClobberMemory();
    }
  }
  SetThroughput(state, input.bytes);
}

// The scan without its rules: the file read through the engine's block cache in the scan's
// 64 KiB blocks, and the places where a keyword may start picked out of each block.
void BM_KeywordSearch(benchmark::State& state) {
  const BenchInput input = LargeInput(static_cast<int>(state.range(0)));
  tarnwick::PosixFileLayer files;
  std::vector<std::uint8_t> block(kScanBlock);
  std::vector<std::uint32_t> candidates;
  for (auto _ : state) {
    auto source = OpenSource(files, input.damagedPath);
    tarnwick::SourceReader reader(*source);
    std::uint64_t found = 0;
    for (std::int64_t at = kScanStart; at < reader.Length();
         at += static_cast<std::int64_t>(kScanBlock)) {
      const std::size_t got = reader.Read(at, kScanBlock, block.data());
      candidates.clear();
      tarnwick::FindKeywordCandidates({block.data(), got}, -1, candidates);
      found += candidates.size();
    }
    if (reader.Failed()) {
      state.SkipWithError("read failed");
      return;
    }
    benchmark::DoNotOptimize(found);
  }
  SetThroughput(state, input.bytes);
}

// The floor of any repair that writes what it reads: the file copied block by block into the
// output folder through the engine's output buffer, the copy removed outside the timing.
void BM_CopyBlocks(benchmark::State& state) {
  const BenchInput input = LargeInput(static_cast<int>(state.range(0)));
  const OutputFolder folder;
  const std::string copyPath = folder.Path() + "copy.pdf";
  tarnwick::PosixFileLayer files;
  std::vector<std::uint8_t> block(kEngineBlock);
  for (auto _ : state) {
    auto source = OpenSource(files, input.damagedPath);
    auto copy = files.OpenForWriting(copyPath);
    if (!copy) {
      state.SkipWithError(files.LastErrorText().c_str());
      return;
    }
    tarnwick::OutputWriter output(*copy);
    std::size_t got = 0;
    for (std::uint64_t at = 0; at < input.bytes; at += got) {
      if (!source->ReadAt(at, block.size(), block.data(), got) || got == 0) break;
      output.Write(block.data(), got);
    }
    if (!output.Flush() || !copy->Close() || output.Length() != input.bytes) {
      state.SkipWithError("copy failed");
      return;
    }
    state.PauseTiming();
    fs::remove(copyPath);
    state.ResumeTiming();
  }
  SetThroughput(state, input.bytes);
}

void RepairLargeFile(benchmark::State& state, bool damaged) {
  const BenchInput input = LargeInput(static_cast<int>(state.range(0)));
  const std::string& sourcePath = damaged ? input.damagedPath : input.intactPath;
  const OutputFolder folder;
  tarnwick::PosixFileLayer files;
  tarnwick::PosixClock clock;
  UnattendedJob job;
  tarnwick::PDF_Repair engine({files, clock, job, job});
  engine.State().saveMode = true;
  engine.State().destinationFolder = folder.Path();

  std::uint64_t outputBytes = 0;
  for (auto _ : state) {
    if (!engine.RepairFile(sourcePath)) {
      state.SkipWithError((engine.FailureText() + ' ' + job.Notices()).c_str());
      return;
    }
    state.PauseTiming();
    outputBytes = fs::file_size(engine.State().outputPath);
    fs::remove(engine.State().outputPath);
    state.ResumeTiming();
  }
  SetThroughput(state, input.bytes);
  state.counters["output_MB"] = static_cast<double>(outputBytes) / 1e6;
  state.counters["objects"] = static_cast<double>(engine.Results().objects.size());
  state.counters["pages_found"] = static_cast<double>(engine.Results().pages.size());
}

void BM_RepairIntact(benchmark::State& state) { RepairLargeFile(state, false); }
void BM_RepairDamaged(benchmark::State& state) { RepairLargeFile(state, true); }

void CheckLargeFile(benchmark::State& state, bool damaged) {
  const BenchInput input = LargeInput(static_cast<int>(state.range(0)));
  tarnwick::PosixFileLayer files;
  tarnwick::PosixClock clock;
  UnattendedJob job;
  tarnwick::PDF_Repair engine({files, clock, job, job});
  for (auto _ : state) {
    if (!engine.CheckFile(damaged ? input.damagedPath : input.intactPath)) {
      state.SkipWithError(engine.FailureText().c_str());
      return;
    }
  }
  SetThroughput(state, input.bytes);
}

void BM_CheckIntact(benchmark::State& state) { CheckLargeFile(state, false); }
void BM_CheckDamaged(benchmark::State& state) { CheckLargeFile(state, true); }

void AtThreeSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("percent")
      ->Arg(kHalf)
      ->Arg(kStandard)
      ->Arg(kDouble)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MinTime(kMinSecondsPerSize)
      ->Complexity(benchmark::oN);
}

BENCHMARK(BM_ReadBlocks)->Apply(AtThreeSizes);
BENCHMARK(BM_KeywordSearch)->Apply(AtThreeSizes);
BENCHMARK(BM_CopyBlocks)->Apply(AtThreeSizes);
BENCHMARK(BM_RepairIntact)->Apply(AtThreeSizes);
BENCHMARK(BM_RepairDamaged)->Apply(AtThreeSizes);
BENCHMARK(BM_CheckIntact)->Apply(AtThreeSizes);
BENCHMARK(BM_CheckDamaged)->Apply(AtThreeSizes);

}  // namespace

BENCHMARK_MAIN();
