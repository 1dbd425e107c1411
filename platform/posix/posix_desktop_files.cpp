#include "posix_desktop_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "held_files.h"
#include "part_file_name.h"
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

std::vector<std::string> PosixDesktopFiles::FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* entries = ::opendir(folder.c_str());
  if (!entries) return Fail(std::strerror(errno)), names;
  while (const dirent* entry = ::readdir(entries)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(entries);
  return names;
}

bool PosixDesktopFiles::RemoveAbandonedPartFile(const std::string& path) {
  const std::optional<unsigned long> process =
      PartFileProcess(path.substr(path.find_last_of('/') + 1));
  if (!process || *process == static_cast<unsigned long>(::getpid())) return false;
  // A process that exists, even one this user may not signal, may still be writing.
  const pid_t writer = static_cast<pid_t>(*process);
  if (static_cast<unsigned long>(writer) != *process || ::kill(writer, 0) == 0 || errno != ESRCH) {
    return false;
  }
  return ::unlink(path.c_str()) == 0 || Fail(std::strerror(errno));
}

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
