#include "job_switch.h"

namespace tarnwick {

bool JobSwitch::ContinueJob() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !paused_ || stopped_; });
  return !stopped_;
}

void JobSwitch::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void JobSwitch::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

void JobSwitch::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

void JobSwitch::Reset() {
  std::lock_guard lock(mutex_);
  paused_ = false;
  stopped_ = false;
}

}  // namespace tarnwick
