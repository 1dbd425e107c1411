#include <pthread.h>
#include <signal.h>

#include <thread>

#include "interruptions.h"

namespace tarnwick {

// SIGINT and SIGTERM are blocked in every thread and awaited on a thread of their own.
void OnInterruption(std::function<void()> interrupt) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([interrupt = std::move(interrupt), signals] {
    int received = 0;
    while (sigwait(&signals, &received) == 0) interrupt();
  }).detach();
}

}  // namespace tarnwick
