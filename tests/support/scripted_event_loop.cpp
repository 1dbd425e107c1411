#include "scripted_event_loop.h"

#include <algorithm>

namespace tarnwick::test {

class ScriptedEventLoop::ScriptedWorker final : public WorkerThread {
 public:
  ScriptedWorker(ScriptedEventLoop& loop, std::function<void()> work)
      : thread_([&loop, work = std::move(work)] {
          work();
          std::lock_guard lock(loop.mutex_);
          --loop.liveWorkers_;
          loop.changed_.notify_all();
        }) {}
  ~ScriptedWorker() override { Join(); }
  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

ScriptedEventLoop::~ScriptedEventLoop() { Shutdown(); }

void ScriptedEventLoop::Post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  if (shutDown_) return;
  queue_.push_back(std::move(task));
  changed_.notify_all();
}

void ScriptedEventLoop::CallFromWorker(const std::function<void()>& task) {
  ++callsFromWorkers_;
  bool done = false;
  std::unique_lock lock(mutex_);
  if (shutDown_) return;
  queue_.push_back([&] {
    task();
    RunDueTriggers();
    std::lock_guard doneLock(mutex_);
    done = true;
    changed_.notify_all();
  });
  changed_.notify_all();
  changed_.wait(lock, [&] { return done || shutDown_; });
}

void ScriptedEventLoop::Wait(int milliseconds) {
  windowWaits_.push_back(milliseconds);
  PassTime(milliseconds);
}

void ScriptedEventLoop::PostAfter(int milliseconds, std::function<void()> task) {
  std::lock_guard lock(mutex_);
  const long long due = virtualMs_ + milliseconds;
  const auto later = std::find_if(timed_.begin(), timed_.end(),
                                  [due](const TimedTask& timed) { return timed.due > due; });
  timed_.insert(later, {due, std::move(task)});
}

void ScriptedEventLoop::PassTime(int milliseconds) {
  std::lock_guard lock(mutex_);
  virtualMs_ += milliseconds;
  const auto pending = std::find_if(timed_.begin(), timed_.end(), [this](const TimedTask& timed) {
    return timed.due > virtualMs_;
  });
  for (auto timed = timed_.begin(); timed != pending; ++timed) {
    if (!shutDown_) queue_.push_back(std::move(timed->task));
  }
  timed_.erase(timed_.begin(), pending);
  changed_.notify_all();
}

std::unique_ptr<WorkerThread> ScriptedEventLoop::Start(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    ++liveWorkers_;
  }
  return std::make_unique<ScriptedWorker>(*this, std::move(work));
}

void ScriptedEventLoop::Sleep(int milliseconds) { PassTime(milliseconds); }

void ScriptedEventLoop::Then(std::string description, std::function<void()> step) {
  steps_.push_back({std::move(description), std::move(step)});
}

void ScriptedEventLoop::When(std::function<bool()> when, std::function<void()> action) {
  triggers_.push_back({std::move(when), std::move(action)});
}

void ScriptedEventLoop::RunDueTriggers() {
  for (std::size_t i = 0; i < triggers_.size(); ++i) {
    if (!triggers_[i].when()) continue;
    const std::function<void()> action = std::move(triggers_[i].action);
    triggers_.erase(triggers_.begin() + static_cast<std::ptrdiff_t>(i));
    action();
    return;
  }
}

bool ScriptedEventLoop::WorkersCanGoOn() {
  return liveWorkers_ > 0 && !(workersHeld_ && workersHeld_());
}

void ScriptedEventLoop::Shutdown() {
  std::lock_guard lock(mutex_);
  shutDown_ = true;
  queue_.clear();
  changed_.notify_all();
}

void ScriptedEventLoop::RunUntil(const std::function<bool()>& done) {
  while (!done()) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      if (shutDown_) throw ScriptFailure("the window thread ran after the program had ended");
      changed_.wait(lock, [&] { return !queue_.empty() || !WorkersCanGoOn(); });
      if (!queue_.empty()) {
        task = std::move(queue_.front());
        queue_.pop_front();
      }
    }
    if (task) {
      task();
      RunDueTriggers();
      continue;
    }
    if (steps_.empty()) {
      throw ScriptFailure("the program waits for the user, but the script has no step left");
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step.action();
  }
}

}  // namespace tarnwick::test
