#pragma once

#include <sys/types.h>

#include <functional>

namespace tarnwick::test {

// Runs `body` in a forked copy of this process. The copy's exit code is what `body` returned,
// or what it passed to _exit. `body` must not use GoogleTest: its failures would be lost with
// the copy.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<int()>& body);
  ~ChildProcess() { Wait(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits for the copy to end: its exit code, or -1 when it did not end normally (a crash).
  int Wait();

 private:
  pid_t pid_;
  int exitCode_ = -1;
};

// Runs `body` in a forked copy and waits for its exit code.
inline int RunInChild(const std::function<int()>& body) { return ChildProcess(body).Wait(); }

// A pipe between a test and its forked child, for "I am ready" and "go on" signals. Reading
// returns false when the other side closed without a word (it ended), so nothing hangs.
class Signal {
 public:
  Signal();
  ~Signal();
  Signal(const Signal&) = delete;
  Signal& operator=(const Signal&) = delete;

  void Give();
  bool Await();

 private:
  int ends_[2];
};

}  // namespace tarnwick::test
