// What the workers promise on every system: threads of their own that run at the same time,
// joined by Join or when their handles go, and sleeps of at least the time given.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "native_platform.h"

namespace tarnwick {
namespace {

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

template <class SystemWorkers>
class WorkersContract : public ::testing::Test {
 protected:
  SystemWorkers workers_;
};

using Systems = ::testing::Types<NativeWorkers>;
TYPED_TEST_SUITE(WorkersContract, Systems);

TYPED_TEST(WorkersContract, WorkersRunAtTheSameTimeOnThreadsOfTheirOwn) {
  Latch firstStarted;
  Latch secondStarted;
  bool firstSawSecond = false;
  std::thread::id firstThread;
  auto first = this->workers_.Start([&] {
    firstThread = std::this_thread::get_id();
    firstStarted.Open();
    firstSawSecond = secondStarted.AwaitOpen();
  });
  auto second = this->workers_.Start([&] {
    if (firstStarted.AwaitOpen()) secondStarted.Open();
  });
  first->Join();
  second->Join();
  EXPECT_TRUE(firstSawSecond);
  EXPECT_NE(firstThread, std::this_thread::get_id());
}

TYPED_TEST(WorkersContract, AWorkerIsJoinedByJoinOrWhenItsHandleGoes) {
  Latch go;
  bool done = false;
  auto worker = this->workers_.Start([&] {
    go.AwaitOpen();
    done = true;
  });
  go.Open();
  worker.reset();
  EXPECT_TRUE(done);

  done = false;
  worker = this->workers_.Start([&] {
    this->workers_.Sleep(50);
    done = true;
  });
  worker->Join();
  EXPECT_TRUE(done);
  worker->Join();  // a second join does nothing
}

TYPED_TEST(WorkersContract, SleepLastsAtLeastTheTimeGivenAndNotMuchLonger) {
  const auto start = std::chrono::steady_clock::now();
  this->workers_.Sleep(100);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(100));
  EXPECT_LT(waited, std::chrono::seconds(5));
  this->workers_.Sleep(0);
  this->workers_.Sleep(-1);  // nothing to wait for
}

}  // namespace
}  // namespace tarnwick
