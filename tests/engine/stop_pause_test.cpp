// Pause and stop reach a running job only at its safe points; a stopped job must leave both
// files closed and its job flag clear, and a paused one must go on exactly where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

using Kind = ProgressEvent::Kind;

// The real JobSwitch, which also tells the test when the job has reached a safe point while
// paused, so that the test resumes or stops a job that is really waiting.
class WatchedSwitch final : public JobControl {
 public:
  bool ContinueJob() override {
    if (jobSwitch.IsPaused()) {
      {
        std::lock_guard lock(mutex_);
        jobWaits_ = true;
      }
      changed_.notify_all();
    }
    return jobSwitch.ContinueJob();
  }
  void WaitUntilTheJobWaits() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobWaits_; });
  }

  JobSwitch jobSwitch;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool jobWaits_ = false;
};

class StopAndPause : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(sourcePath, source);
    harness.SaveInto(out.Path());
  }

  // Both files are free again: neither is held by a job any more.
  void ExpectBothFilesClosed() {
    EXPECT_EQ(harness.engine.State().sourceFile, nullptr);
    EXPECT_EQ(harness.engine.State().outputFile, nullptr);
    PosixFileLayer files;
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
};

// Where a test intervenes: at the label of `step`, or at its first position of at least
// `position`.
struct StopPoint {
  const char* name;
  std::size_t step;
  int position;  // -1: at the label

  bool Matches(const ProgressEvent& event, std::size_t labelsSeen) const {
    if (labelsSeen != step) return false;
    if (position < 0) return event.kind == Kind::kLabel;
    return event.kind == Kind::kPosition && event.position >= position;
  }
};

// Calls `act` once, from the sink, when the job reaches `point`.
void ActAt(RecordingSink& sink, const StopPoint& point, std::function<void()> act) {
  sink.onEvent = [&sink, point, act, labels = std::size_t{0}, done = false](
                     const ProgressEvent& event) mutable {
    if (event.kind == Kind::kLabel) ++labels;
    if (!done && point.Matches(event, labels)) {
      done = true;
      act();
    }
  };
}

class StopFromSink : public StopAndPause, public testing::WithParamInterface<StopPoint> {};

TEST_P(StopFromSink, EndsTheJobWithBothFilesClosed) {
  std::size_t eventsAtStop = 0;
  ActAt(harness.savingSink, GetParam(), [&] {
    control.jobSwitch.Stop();
    eventsAtStop = harness.savingSink.events.size();
  });
  EXPECT_FALSE(harness.engine.RepairFile(sourcePath));
  ASSERT_NE(eventsAtStop, 0u) << "the job never reached the stop point";
  EXPECT_FALSE(harness.engine.State().jobDone);
  EXPECT_FALSE(harness.engine.FailureText().empty());
  // The job ends at its next safe point: no progress after the stop.
  const auto& events = harness.savingSink.events;
  EXPECT_TRUE(std::none_of(events.begin() + static_cast<std::ptrdiff_t>(eventsAtStop), events.end(),
                           [](const ProgressEvent& e) { return e.kind == Kind::kPosition; }));
  ExpectBothFilesClosed();
}

INSTANTIATE_TEST_SUITE_P(Points, StopFromSink,
                         testing::Values(StopPoint{"ScanStarts", 1, -1},
                                         StopPoint{"ScanHalfDone", 1, 50},
                                         StopPoint{"CopyStarts", 2, -1},
                                         StopPoint{"CopyHalfDone", 2, 50}),
                         [](const auto& info) { return std::string(info.param.name); });

class PauseFromSink : public StopAndPause, public testing::WithParamInterface<StopPoint> {
 protected:
  // Runs the job on a thread of its own, paused from the sink at the test's point; returns
  // once the job waits.
  void StartPausedJob() {
    ActAt(harness.savingSink, GetParam(), [this] { control.jobSwitch.Pause(); });
    job = std::thread([this] { completed = harness.engine.RepairFile(sourcePath); });
    control.WaitUntilTheJobWaits();
    eventsWhilePaused = harness.savingSink.events.size();
  }

  std::thread job;
  bool completed = false;
  std::size_t eventsWhilePaused = 0;
};

TEST_P(PauseFromSink, ResumedJobWritesTheSameFileAsAnUninterruptedOne) {
  StartPausedJob();
  EXPECT_FALSE(harness.engine.State().jobDone);
  control.jobSwitch.Resume();
  job.join();
  EXPECT_TRUE(completed) << harness.engine.FailureText();
  EXPECT_TRUE(harness.engine.State().jobDone);
  EXPECT_GT(harness.savingSink.events.size(), eventsWhilePaused);
  EXPECT_EQ(ReadFile(outputPath), RepairBytes(source).output);
}

TEST_P(PauseFromSink, StopWhilePausedEndsTheJob) {
  StartPausedJob();
  control.jobSwitch.Stop();
  job.join();
  EXPECT_FALSE(completed);
  EXPECT_FALSE(harness.engine.State().jobDone);
  EXPECT_EQ(harness.savingSink.events.size(), eventsWhilePaused);
  ExpectBothFilesClosed();
}

INSTANTIATE_TEST_SUITE_P(Points, PauseFromSink,
                         testing::Values(StopPoint{"ScanHalfDone", 1, 50},
                                         StopPoint{"CopyHalfDone", 2, 50}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::test
