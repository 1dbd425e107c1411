#include "posix_file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "held_files.h"
#include "private_folder.h"

namespace tarnwick {

namespace {

constexpr char kHeldByJob[] = "the file is held by a running repair job";

std::string ErrorString(int error) { return std::strerror(error); }

// Releases the hold on a job's file and closes its descriptor.
class HeldDescriptor {
 public:
  HeldDescriptor(int fd, const struct stat& info)
      : fd_(fd), device_(info.st_dev), inode_(info.st_ino) {}
  ~HeldDescriptor() { Close(); }
  HeldDescriptor(const HeldDescriptor&) = delete;
  HeldDescriptor& operator=(const HeldDescriptor&) = delete;

  int fd() const { return fd_; }
  // Closes first, so that the file is never reopened while this descriptor still writes to it.
  bool Close() {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    HeldFiles::Instance().Locked([this] {
      HeldFiles::Instance().Release(device_, inode_);
      return 0;
    });
    return closed;
  }

 private:
  int fd_;
  dev_t device_;
  ino_t inode_;
};

class PosixSourceFile final : public SourceFile {
 public:
  PosixSourceFile(int fd, const struct stat& info)
      : file_(fd, info), length_(static_cast<std::uint64_t>(info.st_size)) {}

  std::uint64_t Length() const override { return length_; }

  bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
              std::size_t& got) override {
    got = 0;
    while (got < count) {
      const ssize_t n =
          ::pread(file_.fd(), out + got, count - got, static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        error_ = errno;
        return false;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    return true;
  }

  std::string ErrorText() const override { return ErrorString(error_); }

  int fd() const { return file_.fd(); }

 private:
  HeldDescriptor file_;
  std::uint64_t length_;
  int error_ = 0;
};

class PosixOutputFile final : public OutputFile {
 public:
  PosixOutputFile(int fd, const struct stat& info) : file_(fd, info) {}

  bool Append(const std::uint8_t* data, std::size_t count) override {
    while (count > 0) {
      const ssize_t n = ::write(file_.fd(), data, count);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error_ = n < 0 ? errno : EIO;
        return false;
      }
      data += n;
      count -= static_cast<std::size_t>(n);
    }
    return true;
  }

  // The kernel copies from page cache to page cache, which spares the data two trips through
  // the engine's buffers. File systems that cannot do it answer before copying anything.
  std::optional<bool> AppendFrom(SourceFile& source, std::uint64_t offset,
                                 std::size_t count) override {
    auto* const from = dynamic_cast<PosixSourceFile*>(&source);
    if (!from) return std::nullopt;
    auto in = static_cast<off64_t>(offset);
    for (std::size_t done = 0; done < count;) {
      const ssize_t n = ::copy_file_range(from->fd(), &in, file_.fd(), nullptr, count - done, 0);
      if (n < 0 && errno == EINTR) continue;
      const bool unsupported =
          errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP;
      if (n < 0 && done == 0 && unsupported) return std::nullopt;
      if (n <= 0) {
        error_ = n < 0 ? errno : ENODATA;  // nothing left: the source shrank
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Close() override {
    if (file_.Close()) return true;
    error_ = errno;
    return false;
  }

  std::string ErrorText() const override { return ErrorString(error_); }

 private:
  HeldDescriptor file_;
  int error_ = 0;
};

}  // namespace

bool PosixFileLayer::Fail(int error) { return Fail(ErrorString(error)); }

bool PosixFileLayer::Fail(const std::string& text) {
  lastError_ = text;
  return false;
}

std::unique_ptr<SourceFile> PosixFileLayer::OpenForReading(const std::string& path) {
  // Non-blocking, so that a named pipe given as a source cannot hang the job; only regular
  // files are read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Fail(errno), nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = S_ISDIR(info.st_mode) ? EISDIR : (errno ? errno : EINVAL);
    ::close(fd);
    return Fail(S_ISREG(info.st_mode) ? ErrorString(error) : "not a regular file"), nullptr;
  }
  HeldFiles::Instance().Locked([&] {
    HeldFiles::Instance().Hold(info.st_dev, info.st_ino);
    return 0;
  });
  return std::make_unique<PosixSourceFile>(fd, info);
}

std::unique_ptr<OutputFile> PosixFileLayer::OpenForWriting(const std::string& path) {
  return HeldFiles::Instance().Locked([&]() -> std::unique_ptr<OutputFile> {
    // Opened without truncating, so that a held file is refused before a byte of it changes.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return Fail(errno), nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
      const int error = errno;
      ::close(fd);
      return Fail(error), nullptr;
    }
    if (HeldFiles::Instance().IsHeld(info.st_dev, info.st_ino)) {
      ::close(fd);
      return Fail(kHeldByJob), nullptr;
    }
    if (!S_ISREG(info.st_mode) || ::ftruncate(fd, 0) != 0 ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
      const int error = S_ISREG(info.st_mode) ? errno : EINVAL;
      ::close(fd);
      return Fail(S_ISREG(info.st_mode) ? ErrorString(error) : "not a regular file"), nullptr;
    }
    HeldFiles::Instance().Hold(info.st_dev, info.st_ino);
    return std::make_unique<PosixOutputFile>(fd, info);
  });
}

bool PosixFileLayer::Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool PosixFileLayer::ResetAttributes(const std::string& path) {
  return HeldFiles::Instance().Locked([&] {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Fail(errno);
    if (HeldFiles::Instance().IsHeld(info.st_dev, info.st_ino)) return Fail(kHeldByJob);
    // "Normal" on Linux: writable by its owner, as a file that is not read-only.
    if (::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) != 0) return Fail(errno);
    return true;
  });
}

bool PosixFileLayer::Delete(const std::string& path) {
  return HeldFiles::Instance().Locked([&] {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return Fail(errno);
    if (HeldFiles::Instance().IsHeld(info.st_dev, info.st_ino)) return Fail(kHeldByJob);
    if (::unlink(path.c_str()) != 0) return Fail(errno);
    return true;
  });
}

bool PosixFileLayer::CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0) return Fail(errno);
  return true;
}

std::optional<std::string> PosixFileLayer::TemporaryFolder() {
  std::string error;
  auto folder = PrivateTemporaryFolder(error);
  if (!folder) Fail(error);
  return folder;
}

std::optional<std::string> PrivateTemporaryFolder(std::string& error) {
  const char* base = std::getenv("TMPDIR");
  std::string folder = (base && *base) ? base : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  folder += "/tarnwick-" + std::to_string(::getuid());
  if (!MakePrivateFolder(folder, error)) return std::nullopt;
  return folder + "/";
}

}  // namespace tarnwick
