// Saves that fail because the process may write no larger file (RLIMIT_FSIZE).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <optional>

#include "saving_failure.h"

namespace tarnwick::test {
namespace {

// Lowers the limit on the size of files this process writes, for the object's lifetime.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
};

std::optional<FileSizeLimit> limit;

void LowerTheLimit(DesktopHarness&) { limit.emplace(16 * 1024); }
void RestoreTheLimit() { limit.reset(); }

INSTANTIATE_TEST_SUITE_P(
    Saves, SavingFailure,
    testing::Values(SaveFailure{"CurrentOverTheSizeLimit", false, LowerTheLimit, RestoreTheLimit,
                                false, "File too large"},
                    SaveFailure{"AllOverTheSizeLimit", true, LowerTheLimit, RestoreTheLimit,
                                false, "File too large"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarnwick::test
