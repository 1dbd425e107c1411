// Hostile files and every fuzz seed, repaired by the tool: a clean exit (0 or 1, never a
// signal) with the address space held to 256 MiB, and a peak of resident memory within 64 MiB
// and four times the file's size.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "hostile_pdfs.h"
#include "repair_tool.h"
#include "temp_folder.h"

// The sanitizers reserve terabytes of address space and double what a run keeps resident, so
// neither bound means anything in their builds.
#if defined(__SANITIZE_ADDRESS__)
#define TARNWICK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNWICK_SANITIZED 1
#endif
#endif

namespace tarnwick::cli_test {
namespace {

namespace fs = std::filesystem;

constexpr rlim_t kAddressSpace = rlim_t{256} << 20;
constexpr long kFixedShareKiB = 64 << 10;

// A file to repair: made by a hostile-file maker, or a seed read from its folder.
struct MemoryCase {
  std::string name;
  std::string (*make)() = nullptr;
  fs::path seed;

  std::string Bytes() const { return make ? make() : test::ReadFile(seed); }
};

void PrintTo(const MemoryCase& memoryCase, std::ostream* out) { *out << memoryCase.name; }

std::vector<MemoryCase> Cases() {
  std::vector<MemoryCase> cases;
  for (const test::HostileFile& file : test::HostileFiles()) cases.push_back({file.name, file.make, {}});
  std::vector<fs::path> seeds;
  for (const auto& entry : fs::directory_iterator(TARNWICK_FUZZ_SEEDS)) seeds.push_back(entry);
  std::sort(seeds.begin(), seeds.end());
  for (const fs::path& seed : seeds) {
    std::string name = "seed_";
    name += seed.filename().string();
    cases.push_back({std::move(name), nullptr, seed});
  }
  return cases;
}

struct ToolRun {
  bool exited = false;
  int exitCode = -1;
  long maxResidentKiB = 0;
  std::string errors;
};

// Runs the tool on `input` into a folder of `tmp`, in a child whose address space is held to
// `addressSpace` when given; the child's peak resident memory comes from wait4.
ToolRun RunTool(const fs::path& input, const test::TempFolder& tmp,
                std::optional<rlim_t> addressSpace) {
  const std::string out = tmp.File("out");
  const std::string errors = tmp.File("errors.txt");
  fs::create_directories(out);
  // The child's peak counts what it shares with this process before the tool starts: the heap
  // that made the file is handed back first.
  ::malloc_trim(0);
  const pid_t child = ::fork();
  if (child == 0) {
    if (addressSpace) {
      const rlimit limit{*addressSpace, *addressSpace};
      if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(125);
    }
    const int errorFile = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int nothing = ::open("/dev/null", O_RDWR);
    if (errorFile < 0 || nothing < 0) ::_exit(126);
    ::dup2(nothing, STDIN_FILENO);
    ::dup2(nothing, STDOUT_FILENO);
    ::dup2(errorFile, STDERR_FILENO);
    ::setenv("TMPDIR", tmp.File("").c_str(), 1);
    ::execl(TARNWICK_REPAIR_BINARY, TARNWICK_REPAIR_BINARY, "--overwrite", "-o", out.c_str(),
            input.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ToolRun run;
  int status = 0;
  rusage usage{};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
    ADD_FAILURE() << "the tool could not be run";
    return run;
  }
  run.exited = WIFEXITED(status);
  run.exitCode = run.exited ? WEXITSTATUS(status) : -WTERMSIG(status);
  run.maxResidentKiB = usage.ru_maxrss;
  run.errors = test::ReadFile(errors);
  return run;
}

class ToolMemory : public ::testing::TestWithParam<MemoryCase> {
 protected:
  void SetUp() override {
#ifdef TARNWICK_SANITIZED
    GTEST_SKIP() << "address-space and resident-memory bounds do not hold under the sanitizers";
#endif
    input = tmp.File(GetParam().name);
    const std::string bytes = GetParam().Bytes();
    test::WriteFile(input, bytes);
    size = bytes.size();
  }

  // Exit 0, or 1 with the file named and why: not repaired, or repaired without a page.
  void ExpectCleanEnd(const ToolRun& run) const {
    ASSERT_TRUE(run.exited) << "ended by signal " << -run.exitCode << ": " << run.errors;
    ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << ": " << run.errors;
    if (run.exitCode == 1) {
      EXPECT_TRUE(run.errors.starts_with("tarnwick-repair: " + input + ": ")) << run.errors;
    }
  }

  test::TempFolder tmp;
  std::string input;
  std::size_t size = 0;
};

TEST_P(ToolMemory, EndsCleanlyWithTheAddressSpaceHeldTo256MiB) {
  ExpectCleanEnd(RunTool(input, tmp, kAddressSpace));
}

TEST_P(ToolMemory, PeakStaysWithin64MiBAndFourTimesTheFile) {
  const ToolRun run = RunTool(input, tmp, std::nullopt);
  ExpectCleanEnd(run);
  const auto sizeKiB = static_cast<long>(size / 1024);
  EXPECT_LE(run.maxResidentKiB, kFixedShareKiB + 4 * sizeKiB) << size << " bytes";
}

INSTANTIATE_TEST_SUITE_P(HostileAndSeeds, ToolMemory, ::testing::ValuesIn(Cases()),
                         [](const auto& row) {
                           std::string name = row.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace tarnwick::cli_test
