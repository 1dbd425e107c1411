#include "posix_file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "held_files.h"
#include "posix_source_file.h"
#include "private_folder.h"
#include "replacing_output_file.h"

namespace tarnwick {

namespace {

std::string ErrorString(int error) { return std::strerror(error); }

}  // namespace

bool PosixFileLayer::Fail(int error) { return Fail(ErrorString(error)); }

bool PosixFileLayer::Fail(const std::string& text) {
  lastError_.Set(text);
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
  std::string error;
  auto file = ReplacingOutputFile::Create(path, error);
  if (!file) Fail(error);
  return file;
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

bool IsSameFile(const std::string& one, const std::string& other) {
  struct stat a {};
  struct stat b {};
  return ::stat(one.c_str(), &a) == 0 && ::stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
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
