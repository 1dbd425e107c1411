#include "replacing_output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "part_file_name.h"
#include "posix_source_file.h"

namespace tarnwick {

namespace {

constexpr char kSourceShrank[] = "the source file became shorter during the repair";
// Part names carry the process, a counter and the clock; a clash with a file that another
// process left is tried again under a new name.
constexpr int kPartNameAttempts = 16;

// A new, empty file in `folder`, created exclusively with the mode a newly created file of the
// final name would get; -1 with errno set when none can be made.
int CreatePartFile(int folder, std::string& partName) {
  static std::atomic<unsigned> created{0};
  for (int attempt = 0; attempt < kPartNameAttempts; ++attempt) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    partName = PartFileName(static_cast<unsigned long>(::getpid()), created++,
                            static_cast<std::uint64_t>(stamp));
    const int fd =
        ::openat(folder, partName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The part files being written, by folder descriptor and name.
class UnfinishedCopies {
 public:
  static UnfinishedCopies& Instance() {
    static UnfinishedCopies copies;
    return copies;
  }
  void Add(int folder, const std::string& name) {
    std::lock_guard lock(mutex_);
    parts_.insert({folder, name});
  }
  void Remove(int folder, const std::string& name) {
    std::lock_guard lock(mutex_);
    parts_.erase({folder, name});
  }
  void UnlinkAll() {
    std::lock_guard lock(mutex_);
    for (const auto& [folder, name] : parts_) ::unlinkat(folder, name.c_str(), 0);
    parts_.clear();
  }

 private:
  std::mutex mutex_;
  std::set<std::pair<int, std::string>> parts_;
};

bool IsHeldName(int folder, const std::string& name) {
  struct stat existing {};
  return ::fstatat(folder, name.c_str(), &existing, 0) == 0 &&
         HeldFiles::Instance().IsHeld(existing.st_dev, existing.st_ino);
}

}  // namespace

std::unique_ptr<OutputFile> ReplacingOutputFile::Create(const std::string& path,
                                                        std::string& error) {
  // A write past the file-size limit must fail with EFBIG, so that the job reports it and the
  // part file goes, rather than end the whole program with SIGXFSZ.
  static const bool fileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  static_cast<void>(fileSizeSignalIgnored);

  const auto slash = path.find_last_of('/');
  const std::string folderPath =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string finalName = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto fail = [&](std::string text) -> std::unique_ptr<OutputFile> {
    error = std::move(text);
    return nullptr;
  };
  if (finalName.empty()) return fail(std::strerror(EISDIR));
  const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return fail(std::strerror(errno));
  return HeldFiles::Instance().Locked([&]() -> std::unique_ptr<OutputFile> {
    const auto refuse = [&](std::string text) {
      ::close(folder);
      return fail(std::move(text));
    };
    // The final name is judged now, so that a held or unusable one is refused before anything
    // is written; the rename checks the hold again.
    struct stat existing {};
    if (::fstatat(folder, finalName.c_str(), &existing, 0) == 0) {
      if (HeldFiles::Instance().IsHeld(existing.st_dev, existing.st_ino)) {
        return refuse(kHeldByJob);
      }
      if (!S_ISREG(existing.st_mode)) return refuse("not a regular file");
    }
    std::string partName;
    const int fd = CreatePartFile(folder, partName);
    if (fd < 0) return refuse(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
      const int fstatError = errno;
      ::close(fd);
      ::unlinkat(folder, partName.c_str(), 0);
      return refuse(std::strerror(fstatError));
    }
    HeldFiles::Instance().Hold(info.st_dev, info.st_ino);
    return std::unique_ptr<OutputFile>(
        new ReplacingOutputFile(folder, fd, info, std::move(partName), finalName));
  });
}

ReplacingOutputFile::ReplacingOutputFile(int folder, int fd, const struct stat& info,
                                         std::string partName, std::string finalName)
    : folder_(folder),
      file_(fd, info),
      partName_(std::move(partName)),
      finalName_(std::move(finalName)) {
  UnfinishedCopies::Instance().Add(folder_, partName_);
}

ReplacingOutputFile::~ReplacingOutputFile() {
  if (!partName_.empty()) {
    file_.Close();
    ::unlinkat(folder_, partName_.c_str(), 0);
    UnfinishedCopies::Instance().Remove(folder_, partName_);
  }
  ::close(folder_);
}

bool ReplacingOutputFile::Append(const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(file_.fd(), data, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : EIO);
    data += n;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

// The kernel copies from page cache to page cache, which spares the data two trips through the
// engine's buffers. File systems that cannot do it answer before copying anything.
std::optional<bool> ReplacingOutputFile::AppendFrom(SourceFile& source, std::uint64_t offset,
                                                    std::size_t count) {
  auto* const from = dynamic_cast<PosixSourceFile*>(&source);
  if (!from) return std::nullopt;
  auto in = static_cast<off64_t>(offset);
  for (std::size_t done = 0; done < count;) {
    const ssize_t n = ::copy_file_range(from->fd(), &in, file_.fd(), nullptr, count - done, 0);
    if (n < 0 && errno == EINTR) continue;
    const bool unsupported =
        errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP;
    if (n < 0 && done == 0 && unsupported) return std::nullopt;
    if (n == 0) return Fail(kSourceShrank);
    if (n < 0) return Fail(errno);
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReplacingOutputFile::Close() {
  // A copy that replaces a file is on the disk before the rename, so that a crash right after
  // cannot leave an empty file where the old one was. A new name risks nothing: its source is
  // still there, and work copies are not worth the wait.
  struct stat existing {};
  const bool replaces = ::fstatat(folder_, finalName_.c_str(), &existing, 0) == 0;
  if (replaces && ::fsync(file_.fd()) != 0) return Fail(errno);
  if (!file_.Close()) return Fail(errno);
  const bool renamed = HeldFiles::Instance().Locked([this] {
    if (IsHeldName(folder_, finalName_)) return Fail(kHeldByJob);
    if (::renameat(folder_, partName_.c_str(), folder_, finalName_.c_str()) != 0) {
      return Fail(errno);
    }
    UnfinishedCopies::Instance().Remove(folder_, partName_);
    partName_.clear();
    return true;
  });
  // The copy is in place; storing the folder's new entry at once is only a precaution.
  if (renamed && replaces) ::fsync(folder_);
  return renamed;
}

void RemovePartFiles() { UnfinishedCopies::Instance().UnlinkAll(); }

bool ReplacingOutputFile::Fail(int error) { return Fail(std::strerror(error)); }

bool ReplacingOutputFile::Fail(std::string text) {
  error_ = std::move(text);
  return false;
}

}  // namespace tarnwick
