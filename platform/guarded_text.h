#pragma once

#include <mutex>
#include <string>

namespace tarnwick {

// A text that one thread sets and another reads: the file layers' last error, which a job's
// worker sets while the window thread may ask for its own.
class GuardedText {
 public:
  void Set(std::string text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
  }
  std::string Get() const {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

}  // namespace tarnwick
