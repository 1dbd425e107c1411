// Pause and stop reach a running job at its safe points; a stopped job must leave both files
// closed and its job flag clear, and a paused one must go on exactly where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

using Kind = ProgressEvent::Kind;

// The real JobSwitch, which also tells the test when the job has reached a safe point after a
// pause, so that the test resumes or stops a job that really waits.
class WatchedSwitch final : public JobControl {
 public:
  bool ContinueJob() override {
    if (pauseAsked_) {
      std::lock_guard lock(mutex_);
      jobWaits_ = true;
      changed_.notify_all();
    }
    return jobSwitch_.ContinueJob();
  }
  void Pause() {
    pauseAsked_ = true;
    jobSwitch_.Pause();
  }
  void Resume() { jobSwitch_.Resume(); }
  void Stop() { jobSwitch_.Stop(); }
  void WaitUntilTheJobWaits() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobWaits_; });
  }

 private:
  JobSwitch jobSwitch_;
  std::atomic<bool> pauseAsked_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  bool jobWaits_ = false;
};

// Where the test steps in: at the label of `step` (position -1) or at the step's first position
// of at least `position`.
struct Point {
  const char* name;
  std::size_t step;
  int position;
};

class StopAndPause : public testing::TestWithParam<Point> {
 protected:
  void SetUp() override {
    WriteFile(sourcePath, source);
    harness.SaveInto(out.Path());
  }

  // Runs `act` once, from the sink on the job's thread, when the job reaches the point.
  void ActAtThePoint(std::function<void()> act) {
    harness.savingSink.onEvent = [this, act,
                                  labels = std::size_t{0}](const ProgressEvent& e) mutable {
      if (e.kind == Kind::kLabel) ++labels;
      const Point& point = GetParam();
      const bool reached =
          labels == point.step &&
          (point.position < 0 ? e.kind == Kind::kLabel
                              : e.kind == Kind::kPosition && e.position >= point.position);
      if (reached && eventsAtThePoint == 0) {
        eventsAtThePoint = harness.savingSink.events.size();
        act();
      }
    };
  }

  // Starts the job on its own thread, paused at the point; returns once the job waits.
  void StartPausedJob() {
    ActAtThePoint([this] { control.Pause(); });
    job = std::thread([this] { completed = harness.engine.RepairFile(sourcePath); });
    control.WaitUntilTheJobWaits();
  }

  void ExpectEndedWithBothFilesClosed() {
    EXPECT_FALSE(completed);
    EXPECT_FALSE(harness.engine.State().jobDone);
    EXPECT_EQ(harness.engine.FailureText(), "stopped");
    EXPECT_EQ(harness.engine.Outcome().status, RepairStatus::kStopped);
    // No progress after the safe point that ended the job.
    const auto& events = harness.savingSink.events;
    EXPECT_TRUE(std::none_of(events.begin() + static_cast<std::ptrdiff_t>(eventsAtThePoint),
                             events.end(),
                             [](const auto& e) { return e.kind == Kind::kPosition; }));
    // Neither file is held by the job any more.
    EXPECT_EQ(harness.engine.State().sourceFile, nullptr);
    EXPECT_EQ(harness.engine.State().outputFile, nullptr);
    NativeFileLayer files;
    EXPECT_NE(files.OpenForWriting(outputPath), nullptr) << files.LastErrorText();
    EXPECT_TRUE(files.Delete(sourcePath)) << files.LastErrorText();
  }

  TempFolder folder;
  TempFolder out;
  const std::string source = ManyPagesSource(10, 5000);
  const std::string sourcePath = folder.File("source.pdf");
  const std::string outputPath = out.File("source.pdf");
  WatchedSwitch control;
  RepairHarness harness{nullptr, &control};
  std::size_t eventsAtThePoint = 0;
  std::thread job;
  bool completed = false;
};

TEST_P(StopAndPause, StopFromTheSinkEndsTheJob) {
  ActAtThePoint([this] { control.Stop(); });
  completed = harness.engine.RepairFile(sourcePath);
  ASSERT_NE(eventsAtThePoint, 0u) << "the job never reached the point";
  ExpectEndedWithBothFilesClosed();
}

TEST_P(StopAndPause, ResumedJobWritesTheSameFileAsAnUninterruptedOne) {
  StartPausedJob();
  EXPECT_EQ(harness.savingSink.events.size(), eventsAtThePoint);
  control.Resume();
  job.join();
  EXPECT_TRUE(completed) << harness.engine.FailureText();
  EXPECT_TRUE(harness.engine.State().jobDone);
  EXPECT_EQ(ReadFile(outputPath), RepairBytes(source).output);
}

TEST_P(StopAndPause, StopWhilePausedEndsTheJob) {
  StartPausedJob();
  control.Stop();
  job.join();
  ExpectEndedWithBothFilesClosed();
}

// One object of 1 GiB, copied from file to file by the system: a pause asked for at its first
// report takes hold within that object, long before its copy is done, and a stop then leaves
// nothing behind. The source is sparse, so it costs no disk.
TEST(StopAndPauseLargeObject, APauseTakesHoldWithinTheObject) {
  constexpr std::uint64_t kStreamLength = std::uint64_t{1} << 30;
  TempFolder folder;
  TempFolder out;
  const std::string sourcePath = folder.File("large.pdf");
  const std::string head =
      "%PDF-1.4\n1 0 obj\n<< /Length " + std::to_string(kStreamLength) + " >>\nstream\n";
  WriteFile(sourcePath, head);
  std::error_code failure;
  std::filesystem::resize_file(sourcePath, head.size() + kStreamLength, failure);
  ASSERT_FALSE(failure) << failure.message();
  std::ofstream(sourcePath, std::ios::binary | std::ios::app)
      << "\nendstream\nendobj\n2 0 obj\n<< /Type /Page /MediaBox [0 0 612 792] >>\nendobj\n";
  WatchedSwitch control;
  RepairHarness harness{nullptr, &control};
  harness.SaveInto(out.Path());
  std::size_t labels = 0;
  std::size_t positionsInTheCopy = 0;
  harness.savingSink.onEvent = [&](const ProgressEvent& e) {
    if (e.kind == ProgressEvent::Kind::kLabel) ++labels;
    // The step's own start is the first position; the object's first report the second.
    if (labels == 2 && e.kind == ProgressEvent::Kind::kPosition && ++positionsInTheCopy == 2) {
      control.Pause();
    }
  };
  bool completed = true;
  std::thread job([&] { completed = harness.engine.RepairFile(sourcePath); });
  control.WaitUntilTheJobWaits();
  // Looked at while the job waits, judged once it has ended: a failed check must not leave the
  // job's thread running.
  const std::vector<std::string> written = FileNames(out.Path());
  std::error_code unknownSize;
  const std::uintmax_t writtenBytes =
      written.size() == 1 ? std::filesystem::file_size(out.File(written[0]), unknownSize) : 0;
  control.Stop();
  job.join();
  ASSERT_EQ(written.size(), 1u) << "the part file";
  ASSERT_FALSE(unknownSize) << unknownSize.message();
  EXPECT_LT(writtenBytes, kStreamLength / 100);
  EXPECT_FALSE(completed);
  EXPECT_EQ(harness.engine.FailureText(), "stopped");
  EXPECT_EQ(harness.engine.Outcome().status, RepairStatus::kStopped);
  EXPECT_EQ(FileNames(out.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Points, StopAndPause,
                         testing::Values(Point{"ScanStarts", 1, -1}, Point{"ScanHalfDone", 1, 50},
                                         Point{"CopyStarts", 2, -1}, Point{"CopyHalfDone", 2, 50}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarnwick::test
