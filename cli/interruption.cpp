#include "interruption.h"

#include "interruptions.h"

namespace tarnwick::cli {

Interruption& Interruption::Install() {
  static Interruption* instance = [] {
    auto* created = new Interruption;
    OnInterruption([created] { created->Interrupt(); });
    return created;
  }();
  return *instance;
}

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
