#include "win32_output_file.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

#include "part_file_name.h"
#include "win32_text.h"

namespace tarnwick {

namespace {

// Part names carry the process, a counter and the clock; a clash with a file that another
// process left is tried again under a new name.
constexpr int kPartNameAttempts = 16;

// Marks an open file to be deleted when its last handle closes; the handle needs DELETE access.
bool MarkForDeletion(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// True when the file at `path` is open without delete sharing: opening it for deletion with
// every sharing is refused.
bool IsHeld(const std::wstring& path) {
  const UniqueHandle probe(::CreateFileW(
      path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (probe.Valid()) return false;
  const DWORD error = ::GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// A new, empty file in the folder `prefix` names (ending with its separator, or empty for the
// current folder), created exclusively and shared with no one. Invalid with the last error set
// when none can be made.
UniqueHandle CreatePartFile(const std::string& prefix, std::wstring& partPath) {
  static std::atomic<unsigned> created{0};
  for (int attempt = 0; attempt < kPartNameAttempts; ++attempt) {
    const unsigned long long stamp = ::GetTickCount64() ^ (static_cast<unsigned long long>(
                                                               ::GetCurrentThreadId()) << 12);
    partPath = LongPath(
        prefix + PartFileName(static_cast<unsigned long>(::GetCurrentProcessId()), created++, stamp));
    UniqueHandle file(::CreateFileW(partPath.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid()) return file;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
  }
  return UniqueHandle();
}

// The part files being written, with the handle of each while it is open (not owned here).
class UnfinishedCopies {
 public:
  static UnfinishedCopies& Instance() {
    static UnfinishedCopies copies;
    return copies;
  }
  void Add(const void* copy, const std::wstring& partPath, HANDLE file) {
    std::lock_guard lock(mutex_);
    parts_[copy] = {partPath, file};
  }
  // The copy is about to close its handle.
  void Closing(const void* copy) {
    std::lock_guard lock(mutex_);
    const auto found = parts_.find(copy);
    if (found != parts_.end()) found->second.file = nullptr;
  }
  void Remove(const void* copy) {
    std::lock_guard lock(mutex_);
    parts_.erase(copy);
  }
  void DeleteAll() {
    std::lock_guard lock(mutex_);
    for (const auto& [copy, part] : parts_) {
      if (part.file == nullptr || !MarkForDeletion(part.file)) ::DeleteFileW(part.path.c_str());
    }
  }

 private:
  struct Part {
    std::wstring path;
    HANDLE file = nullptr;
  };
  std::mutex mutex_;
  std::map<const void*, Part> parts_;
};

}  // namespace

std::unique_ptr<OutputFile> Win32OutputFile::Create(const std::string& path, std::string& error) {
  const auto separator = path.find_last_of("/\\:");
  const std::string prefix = separator == std::string::npos ? "" : path.substr(0, separator + 1);
  const std::string finalName = separator == std::string::npos ? path : path.substr(separator + 1);
  const auto fail = [&](std::string text) -> std::unique_ptr<OutputFile> {
    error = std::move(text);
    return nullptr;
  };
  if (finalName.empty()) return fail(kNotARegularFile);
  const std::wstring finalPath = LongPath(path);

  // The final name is judged now, so that a held or unusable one is refused before anything is
  // written; the move in Close meets the system's refusal again. The probe asks for what the
  // move will need (deleting the old file), with every sharing: a file open without delete
  // sharing, as a job's source is, refuses it.
  {
    UniqueHandle existing(::CreateFileW(
        finalPath.c_str(), DELETE | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (existing.Valid()) {
      BY_HANDLE_FILE_INFORMATION info{};
      if (::GetFileType(existing.Get()) != FILE_TYPE_DISK ||
          !::GetFileInformationByHandle(existing.Get(), &info) ||
          (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return fail(kNotARegularFile);
      }
    } else {
      const DWORD probeError = ::GetLastError();
      if (probeError == ERROR_SHARING_VIOLATION || probeError == ERROR_LOCK_VIOLATION) {
        return fail(FailureText(probeError, finalPath));
      }
      // A read-only file or one whose rights refuse deleting may still be replaced by the move;
      // only a folder is refused here.
      const DWORD attributes = ::GetFileAttributesW(finalPath.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return fail(kNotARegularFile);
      }
    }
  }

  std::wstring partPath;
  UniqueHandle file = CreatePartFile(prefix, partPath);
  if (!file.Valid()) return fail(LastSystemErrorText());
  return std::unique_ptr<OutputFile>(
      new Win32OutputFile(std::move(file), std::move(partPath), finalPath));
}

Win32OutputFile::Win32OutputFile(UniqueHandle file, std::wstring partPath, std::wstring finalPath)
    : file_(std::make_unique<HeldHandle>(std::move(file))),
      partPath_(std::move(partPath)),
      finalPath_(std::move(finalPath)) {
  UnfinishedCopies::Instance().Add(this, partPath_, file_->Get());
}

Win32OutputFile::~Win32OutputFile() {
  if (partPath_.empty()) return;
  UnfinishedCopies::Instance().Remove(this);
  // Marked through its own handle, the part file goes as that handle closes, with no moment in
  // which another program could open it under its name.
  const bool marked = file_->Valid() && MarkForDeletion(file_->Get());
  file_->Close();
  if (!marked) ::DeleteFileW(partPath_.c_str());
}

bool Win32OutputFile::Append(const std::uint8_t* data, std::size_t count) {
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  if (!file_->Valid()) return Fail(SystemErrorText(ERROR_INVALID_HANDLE));
  while (count > 0) {
    const DWORD wanted = static_cast<DWORD>(std::min(count, kLargestWrite));
    DWORD n = 0;
    if (!::WriteFile(file_->Get(), data, wanted, &n, nullptr)) {
      return Fail(::GetLastError(), partPath_);
    }
    if (n == 0) return Fail(SystemErrorText(ERROR_WRITE_FAULT));
    data += n;
    count -= n;
  }
  return true;
}

bool Win32OutputFile::Close() {
  if (partPath_.empty()) return true;  // already under its final name
  // A copy that replaces a file is on the disk before the move, so that a crash right after
  // cannot leave an empty file where the old one was. A new name risks nothing.
  const bool replaces = ::GetFileAttributesW(finalPath_.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (file_->Valid()) {
    if (replaces && !::FlushFileBuffers(file_->Get())) return Fail(::GetLastError(), partPath_);
    UnfinishedCopies::Instance().Closing(this);
    if (!file_->Close()) return Fail(::GetLastError(), partPath_);
  }
  constexpr DWORD kMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (!::MoveFileExW(partPath_.c_str(), finalPath_.c_str(), kMove)) {
    DWORD error = ::GetLastError();
    // A file open without delete sharing refuses the move as "Access denied" (Windows and
    // Wine alike); asked again as the opening asked, it tells a held file by its sharing.
    if (error == ERROR_ACCESS_DENIED && IsHeld(finalPath_)) error = ERROR_SHARING_VIOLATION;
    // The copy replaces a read-only file as it does on Linux (the user agreed to overwrite it);
    // the attribute stays when the move fails all the same.
    const DWORD attributes = ::GetFileAttributesW(finalPath_.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (error != ERROR_ACCESS_DENIED || !readOnly ||
        !::SetFileAttributesW(finalPath_.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
      return Fail(error, finalPath_);
    }
    if (!::MoveFileExW(partPath_.c_str(), finalPath_.c_str(), kMove)) {
      error = ::GetLastError();
      ::SetFileAttributesW(finalPath_.c_str(), attributes);
      return Fail(error, finalPath_);
    }
  }
  UnfinishedCopies::Instance().Remove(this);
  partPath_.clear();
  return true;
}

void RemovePartFiles() { UnfinishedCopies::Instance().DeleteAll(); }

bool Win32OutputFile::Fail(DWORD error, const std::wstring& path) {
  return Fail(FailureText(error, path));
}

bool Win32OutputFile::Fail(std::string text) {
  error_ = std::move(text);
  return false;
}

}  // namespace tarnwick
