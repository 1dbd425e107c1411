// Ending the process, its environment, and worker threads.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "child_process.h"
#include "posix_process_services.h"
#include "posix_workers.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

std::string gExitMarker;  // written by an atexit handler, if one runs

TEST(ProcessEndTest, EndsAtOnceWithTheCodeAndWithoutShutdownHandlers) {
  test::TempFolder folder;
  gExitMarker = folder.File("atexit ran");
  EXPECT_EQ(test::RunInChild([]() -> int {
              std::atexit([] { test::WriteFile(gExitMarker, ""); });
              PosixProcessEnd().EndProcess(7);
            }),
            7);
  EXPECT_FALSE(std::filesystem::exists(gExitMarker));
}

TEST(EnvironmentTest, SetValuesAreSeenByTheProcessAndUnsetOnesAreNothing) {
  test::ScopedEnvironment restored("TARNWICK_TEST_VALUE", "old");
  PosixEnvironment environment;
  environment.Set("TARNWICK_TEST_VALUE", " with spaces = and more ");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), " with spaces = and more ");
  EXPECT_STREQ(std::getenv("TARNWICK_TEST_VALUE"), " with spaces = and more ");
  environment.Set("TARNWICK_TEST_VALUE", "");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), "");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_SURELY_UNSET"), std::nullopt);
}

// A latch with a bounded wait, so that a fault shows as a failure rather than a hang.
class Latch {
 public:
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  bool AwaitOpen() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

TEST(WorkersTest, WorkersRunAtTheSameTimeOnThreadsOfTheirOwn) {
  PosixWorkers workers;
  Latch firstStarted;
  Latch secondStarted;
  bool firstSawSecond = false;
  std::thread::id firstThread;
  auto first = workers.Start([&] {
    firstThread = std::this_thread::get_id();
    firstStarted.Open();
    firstSawSecond = secondStarted.AwaitOpen();
  });
  auto second = workers.Start([&] {
    if (firstStarted.AwaitOpen()) secondStarted.Open();
  });
  first->Join();
  second->Join();
  EXPECT_TRUE(firstSawSecond);
  EXPECT_NE(firstThread, std::this_thread::get_id());
}

TEST(WorkersTest, AWorkerNeverJoinedIsJoinedWhenItsHandleGoes) {
  PosixWorkers workers;
  Latch go;
  bool done = false;
  auto worker = workers.Start([&] {
    go.AwaitOpen();
    done = true;
  });
  go.Open();
  worker.reset();
  EXPECT_TRUE(done);
}

TEST(WorkersTest, SleepLastsAtLeastTheTimeGiven) {
  const auto start = std::chrono::steady_clock::now();
  PosixWorkers().Sleep(30);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace tarnwick
