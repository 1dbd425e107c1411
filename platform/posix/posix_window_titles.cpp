#include "posix_window_titles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>

#include "posix_file_layer.h"
#include "private_folder.h"

namespace tarnwick {

namespace {

// The socket's file name: 64-bit FNV-1a of the title's bytes, in hexadecimal.
std::string SocketName(const std::string& title) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char byte : title) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  constexpr char kDigits[] = "0123456789abcdef";
  std::string name(16, '0');
  for (auto digit = name.rbegin(); digit != name.rend(); ++digit, hash >>= 4) {
    *digit = kDigits[hash & 0xf];
  }
  return name;
}

// Datagram sockets: connecting needs no one to accept, so asking whether a title exists leaves
// nothing queued at its holder, and a socket whose holder has gone refuses the connection.
int NewSocket() { return ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0); }

bool ToAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

const sockaddr* AsGeneric(const sockaddr_un& address) {
  return reinterpret_cast<const sockaddr*>(&address);
}

bool SomeoneHolds(const sockaddr_un& address) {
  const int fd = NewSocket();
  if (fd < 0) return false;
  const bool held = ::connect(fd, AsGeneric(address), sizeof address) == 0;
  ::close(fd);
  return held;
}

// Keeps the processes of the user from claiming or withdrawing titles at the same moment, so
// that a stale socket is replaced once and a withdrawal never removes someone else's socket.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0) {
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

struct BoundTitle {
  int fd;
  dev_t device;  // of the socket file, to recognise it when withdrawing
  ino_t inode;
  int claims;
};

// Binds the title's socket, replacing a stale one; nothing when someone holds it.
std::optional<BoundTitle> Bind(const sockaddr_un& address) {
  const int fd = NewSocket();
  if (fd < 0) return std::nullopt;
  bool bound = ::bind(fd, AsGeneric(address), sizeof address) == 0;
  if (!bound && errno == EADDRINUSE && !SomeoneHolds(address) && ::unlink(address.sun_path) == 0) {
    bound = ::bind(fd, AsGeneric(address), sizeof address) == 0;
  }
  struct stat info {};
  if (!bound || ::stat(address.sun_path, &info) != 0) {
    ::close(fd);
    return std::nullopt;
  }
  return BoundTitle{fd, info.st_dev, info.st_ino, 1};
}

// The titles this process shows, by socket path.
class ShownTitles {
 public:
  static ShownTitles& Instance() {
    static ShownTitles titles;
    return titles;
  }

  // The withdrawal count at the time of the claim; nothing when the title could not be had.
  std::optional<std::uint64_t> Claim(const std::string& folder, const sockaddr_un& address) {
    std::lock_guard lock(mutex_);
    ForgetAfterFork();
    if (auto found = bound_.find(address.sun_path); found != bound_.end()) {
      ++found->second.claims;
      return withdrawals_;
    }
    FolderLock folderLock(folder);
    auto title = Bind(address);
    if (!title) return std::nullopt;
    bound_.emplace(address.sun_path, *title);
    return withdrawals_;
  }

  // A claim made before everything was withdrawn releases nothing, not even a newer claim of
  // its title.
  void Release(const std::string& path, std::uint64_t withdrawals) {
    std::lock_guard lock(mutex_);
    ForgetAfterFork();
    if (withdrawals != withdrawals_) return;
    const auto found = bound_.find(path);
    if (found == bound_.end() || --found->second.claims > 0) return;
    Withdraw(found);
  }

  void ReleaseAll() {
    std::lock_guard lock(mutex_);
    ForgetAfterFork();
    while (!bound_.empty()) Withdraw(bound_.begin());
    ++withdrawals_;
  }

 private:
  // A forked copy of this process shows none of its parent's titles: the sockets it inherited
  // are the parent's, and they must not keep the parent's titles alive after the parent ends.
  void ForgetAfterFork() {
    if (owner_ == ::getpid()) return;
    for (const auto& [path, title] : bound_) ::close(title.fd);
    bound_.clear();
    owner_ = ::getpid();
  }

  // Removes the socket file when it is still this process's, and the folder when nothing else
  // is left in it.
  void Withdraw(std::map<std::string, BoundTitle>::iterator title) {
    const std::string& path = title->first;
    const std::string folder = path.substr(0, path.find_last_of('/'));
    {
      FolderLock folderLock(folder);
      struct stat info {};
      if (::stat(path.c_str(), &info) == 0 && info.st_dev == title->second.device &&
          info.st_ino == title->second.inode) {
        ::unlink(path.c_str());
      }
      ::rmdir(folder.c_str());
    }
    ::close(title->second.fd);
    bound_.erase(title);
  }

  std::mutex mutex_;
  pid_t owner_ = ::getpid();
  std::map<std::string, BoundTitle> bound_;
  std::uint64_t withdrawals_ = 0;
};

class TitleClaim final : public WindowTitles::Claim {
 public:
  TitleClaim(std::string path, std::uint64_t withdrawals)
      : path_(std::move(path)), withdrawals_(withdrawals) {}
  ~TitleClaim() override { ShownTitles::Instance().Release(path_, withdrawals_); }

 private:
  std::string path_;
  std::uint64_t withdrawals_;
};

}  // namespace

PosixWindowTitles::PosixWindowTitles(Environment& environment) : environment_(environment) {}

std::optional<std::string> PosixWindowTitles::Folder(bool make) {
  std::string error;
  const auto usable = [&](const std::string& folder) {
    return make ? MakePrivateFolder(folder, error) : IsPrivateFolder(folder);
  };
  const std::string runtime = environment_.Get("XDG_RUNTIME_DIR").value_or("");
  if (!runtime.empty() && usable(runtime + "/tarnwick")) return runtime + "/tarnwick";
  const auto temporary = PrivateTemporaryFolder(error);
  if (!temporary || !usable(*temporary + "titles")) return std::nullopt;
  return *temporary + "titles";
}

bool PosixWindowTitles::Exists(const std::string& title) {
  // Asking makes nothing: without the folder there is no title.
  const auto folder = Folder(false);
  sockaddr_un address;
  return folder && ToAddress(*folder + '/' + SocketName(title), address) && SomeoneHolds(address);
}

std::unique_ptr<WindowTitles::Claim> PosixWindowTitles::Show(const std::string& title) {
  // The folder may go between making it and binding in it, when another process withdraws
  // its last title; it is made again once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const auto folder = Folder(true);
    sockaddr_un address;
    if (!folder || !ToAddress(*folder + '/' + SocketName(title), address)) return nullptr;
    if (const auto withdrawals = ShownTitles::Instance().Claim(*folder, address)) {
      return std::make_unique<TitleClaim>(address.sun_path, *withdrawals);
    }
    if (SomeoneHolds(address)) return nullptr;
  }
  return nullptr;
}

void PosixWindowTitles::WithdrawAll() { ShownTitles::Instance().ReleaseAll(); }

}  // namespace tarnwick
