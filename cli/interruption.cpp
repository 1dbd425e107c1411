#include "interruption.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace tarnwick::cli {

Interruption& Interruption::Install() {
  static Interruption* instance = [] {
    auto* created = new Interruption;
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([created, signals] {
      int received = 0;
      while (sigwait(&signals, &received) == 0) created->Interrupt();
    }).detach();
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
