#include "child_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick::test {

ChildProcess::ChildProcess(const std::function<int()>& body) : pid_(::fork()) {
  if (pid_ == 0) ::_exit(body());
  if (pid_ < 0) ADD_FAILURE() << "fork failed";
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return exitCode_;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = 0;
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return exitCode_;
}

Signal::Signal() {
  if (::pipe(ends_) != 0) ADD_FAILURE() << "pipe failed";
}

Signal::~Signal() {
  ::close(ends_[0]);
  ::close(ends_[1]);
}

void Signal::Give() {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(ends_[1], &byte, 1);
}

bool Signal::Await() {
  // The waiting side drops its own writing end first, so that the other side's end is the
  // only one and its closing (by exit) ends the wait.
  ::close(ends_[1]);
  ends_[1] = -1;
  char byte = 0;
  ssize_t got;
  while ((got = ::read(ends_[0], &byte, 1)) < 0 && errno == EINTR) {
  }
  return got == 1;
}

}  // namespace tarnwick::test
