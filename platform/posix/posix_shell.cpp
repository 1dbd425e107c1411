#include "posix_shell.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "search_path.h"

namespace tarnwick {

namespace {

// Runs in the grandchild, between fork and exec: only async-signal-safe calls. Reports the
// reason of a failed exec through `report`, which closes by itself on a successful one.
[[noreturn]] void BecomeProgram(const char* program, bool searchPath, char* const* argv,
                                int report) {
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  const int null = ::open("/dev/null", O_RDWR);
  if (null >= 0) {
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    if (null > STDERR_FILENO) ::close(null);
  }
  if (searchPath) {
    ::execvp(program, argv);
  } else {
    ::execv(program, argv);
  }
  const int error = errno;
  [[maybe_unused]] const ssize_t ignored = ::write(report, &error, sizeof error);
  ::_exit(127);
}

// Starts the program as a grandchild in a new session; the child in between ends at once and
// is reaped here, so the program belongs to init (or the session's subreaper) from then on.
bool StartDetached(const char* program, bool searchPath, char* const* argv) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) BecomeProgram(program, searchPath, argv, pipeEnds[1]);
    if (grandchild < 0) {
      const int error = errno;
      [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &error, sizeof error);
    }
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  bool started = false;
  if (child > 0) {
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // End of file without a word: the exec succeeded and closed the grandchild's copy.
    int error = 0;
    ssize_t got;
    while ((got = ::read(pipeEnds[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    started = got == 0;
  }
  ::close(pipeEnds[0]);
  return started;
}

bool IsExecutableFile(const struct stat& info, const std::string& path) {
  return S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

PosixShell::PosixShell(Environment& environment, std::string opener, std::string viewer)
    : environment_(environment), opener_(std::move(opener)), viewer_(std::move(viewer)) {}

int PosixShell::Open(const std::string& file, const std::vector<std::string>& arguments) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return kFileNotFound;
  const bool isProgram = IsExecutableFile(info, file);
  // Everything the child needs is made before fork: a child of a threaded process may not
  // allocate.
  std::vector<std::string> words;
  if (isProgram) {
    words.push_back(file);
    words.insert(words.end(), arguments.begin(), arguments.end());
  } else {
    words = {opener_, file};
  }
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // A program is started by its path as given; the opener is looked up in PATH.
  return StartDetached(words.front().c_str(), !isProgram, argv.data()) ? kStarted : kCannotStart;
}

bool PosixShell::ShowDocument(const std::string& document, const std::string& programFolder) {
  AddToSearchPath(environment_, programFolder, ':');
  return Open(document, {}) == kStarted || Open(viewer_, {document}) == kStarted;
}

}  // namespace tarnwick
