#pragma once

#include <condition_variable>
#include <mutex>

#include "job_interfaces.h"

namespace tarnwick {

// Pause and stop for a running job, set from another thread. Stop wakes a paused job.
class JobSwitch final : public JobControl {
 public:
  bool ContinueJob() override;

  void Pause();
  void Resume();
  void Stop();
  // Clears both states before the next job.
  void Reset();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool paused_ = false;
  bool stopped_ = false;
};

}  // namespace tarnwick
