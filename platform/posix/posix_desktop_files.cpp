#include "posix_desktop_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "held_files.h"
#include "replacing_output_file.h"

namespace tarnwick {

namespace {

class PosixAppendFile final : public AppendFile {
 public:
  explicit PosixAppendFile(int fd) : fd_(fd) {}
  ~PosixAppendFile() override { ::close(fd_); }  // also releases the lock
  PosixAppendFile(const PosixAppendFile&) = delete;
  PosixAppendFile& operator=(const PosixAppendFile&) = delete;

  std::uint64_t Size() override {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  }

  bool EndsLine() override {
    const std::uint64_t size = Size();
    char last = '\n';
    return size == 0 || (::pread(fd_, &last, 1, static_cast<off_t>(size - 1)) == 1 && last == '\n');
  }

  bool Append(const std::string& bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
};

}  // namespace

bool PosixDesktopFiles::IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void PosixDesktopFiles::RemoveUnfinishedCopies() { RemovePartFiles(); }

bool PosixDesktopFiles::SameFile(const std::string& one, const std::string& other) {
  return IsSameFile(one, other);
}

bool PosixDesktopFiles::RemoveFolder(const std::string& path) {
  return ::rmdir(path.c_str()) == 0 || Fail(std::strerror(errno));
}

std::unique_ptr<AppendFile> PosixDesktopFiles::OpenForAppending(const std::string& path) {
  // Non-blocking, so that a named pipe in the file's place cannot hang the window thread.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) return Fail(std::strerror(errno)), nullptr;
  const auto refuse = [&](const std::string& text) -> std::unique_ptr<AppendFile> {
    ::close(fd);
    Fail(text);
    return nullptr;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return refuse(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return refuse("not a regular file");
  const bool held = HeldFiles::Instance().Locked(
      [&] { return HeldFiles::Instance().IsHeld(info.st_dev, info.st_ino); });
  if (held) return refuse(kHeldByJob);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    return refuse(errno == EWOULDBLOCK ? "the file is in use" : std::strerror(errno));
  }
  if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    return refuse(std::strerror(errno));
  }
  return std::make_unique<PosixAppendFile>(fd);
}

}  // namespace tarnwick
