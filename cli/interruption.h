#pragma once

#include <atomic>
#include <mutex>
#include <set>

#include "job_switch.h"

namespace tarnwick::cli {

// Ctrl-C (and SIGTERM on POSIX, Ctrl+Break on Windows) stop the running jobs at their next safe
// point, so that each closes its files and its incomplete output can be removed; files not yet
// started are skipped.
class Interruption {
 public:
  // Hooks the system's interruptions up to the one instance. Call before any other thread
  // starts, so that POSIX signals reach only the thread that waits for them.
  static Interruption& Install();

  void Register(JobSwitch& job);
  void Unregister(JobSwitch& job);
  bool Requested() const { return requested_.load(); }
  // Called by the system's hook: stops the running jobs and every later one.
  void Interrupt();

 private:
  Interruption() = default;

  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  std::set<JobSwitch*> running_;
};

}  // namespace tarnwick::cli
