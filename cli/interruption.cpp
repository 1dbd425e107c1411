#include "interruption.h"

namespace tarnwick::cli {

void Interruption::Register(JobSwitch& job) {
  std::lock_guard lock(mutex_);
  running_.insert(&job);
  if (requested_) job.Stop();
}

void Interruption::Unregister(JobSwitch& job) {
  std::lock_guard lock(mutex_);
  running_.erase(&job);
}

void Interruption::Interrupt() {
  std::lock_guard lock(mutex_);
  requested_ = true;
  for (JobSwitch* job : running_) job->Stop();
}

}  // namespace tarnwick::cli
