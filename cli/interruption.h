#pragma once

#include <atomic>
#include <mutex>
#include <set>

#include "job_switch.h"

namespace tarnwick::cli {

// Ctrl-C and SIGTERM stop the running jobs at their next safe point, so that each closes its
// files and its incomplete output can be removed; files not yet started are skipped.
class Interruption {
 public:
  // Blocks SIGINT and SIGTERM in every thread and waits for them on a thread of its own. Call
  // before any other thread starts.
  static Interruption& Install();

  void Register(JobSwitch& job);
  void Unregister(JobSwitch& job);
  bool Requested() const { return requested_.load(); }

 private:
  Interruption() = default;
  void Interrupt();

  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  std::set<JobSwitch*> running_;
};

}  // namespace tarnwick::cli
