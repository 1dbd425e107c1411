#include <pthread.h>
#include <signal.h>

#include <thread>

#include "interruption.h"

namespace tarnwick::cli {

// SIGINT and SIGTERM are blocked in every thread and awaited on a thread of their own, where
// the interruption may take locks as any thread does.
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

}  // namespace tarnwick::cli
