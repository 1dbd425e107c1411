#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "window_thread.h"

namespace tarnwick::test {

// Thrown on the window thread when the scripted desktop meets something the test did not
// script: the test fails with its text.
class ScriptFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The window thread of the scripted desktop is the test's own thread. Workers are real threads.
// Whenever nothing is queued and no worker can go on, the next user step of the script runs:
// the user acts only when the program waits for him. Waits advance a virtual clock, and timed
// tasks join the queue once the clock has reached their time.
class ScriptedEventLoop final : public WindowThread, public Workers {
 public:
  ~ScriptedEventLoop() override;

  void Post(std::function<void()> task) override;
  void CallFromWorker(const std::function<void()>& task) override;
  void Wait(int milliseconds) override;
  void PostAfter(int milliseconds, std::function<void()> task) override;
  std::unique_ptr<WorkerThread> Start(std::function<void()> work) override;
  void Sleep(int milliseconds) override;

  // Runs queued tasks and user steps until `done` holds.
  void RunUntil(const std::function<bool()>& done);
  // A user step, run in order when the program is idle.
  void Then(std::string description, std::function<void()> step);
  // An action run once, right after the first window-thread task after which `when` holds;
  // a worker that called in stays held until the action is over.
  void When(std::function<bool()> when, std::function<void()> action);
  // Advances the clock, as waits, sleeps and a user who lets time pass do: the timed tasks that
  // fall due are queued, earliest first.
  void PassTime(int milliseconds);
  // Tells whether the workers that are alive are held (paused) and will not call in.
  void SetWorkersHeld(std::function<bool()> held) { workersHeld_ = std::move(held); }
  // The process has ended: nothing more runs, and workers waiting for the window thread go on.
  void Shutdown();

  long long VirtualMilliseconds() const { return virtualMs_; }
  const std::vector<int>& WindowThreadWaits() const { return windowWaits_; }
  std::size_t StepsLeft() const { return steps_.size(); }
  int CallsFromWorkers() const { return callsFromWorkers_; }

 private:
  struct Step {
    std::string description;
    std::function<void()> action;
  };
  struct TimedTask {
    long long due;
    std::function<void()> task;
  };
  struct Trigger {
    std::function<bool()> when;
    std::function<void()> action;
  };
  class ScriptedWorker;

  void RunDueTriggers();
  bool WorkersCanGoOn();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  std::vector<TimedTask> timed_;  // in the order of their times
  int liveWorkers_ = 0;
  bool shutDown_ = false;

  std::deque<Step> steps_;
  std::vector<Trigger> triggers_;
  std::function<bool()> workersHeld_;
  std::vector<int> windowWaits_;
  std::atomic<long long> virtualMs_ = 0;
  std::atomic<int> callsFromWorkers_ = 0;
};

}  // namespace tarnwick::test
