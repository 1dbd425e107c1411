#include "win32_handles.h"

#include "win32_text.h"

namespace tarnwick {

std::optional<FileId> IdOfHandle(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

UniqueHandle OpenToInspect(const std::wstring& path) {
  return UniqueHandle(::CreateFileW(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::optional<FileId> IdOfPath(const std::wstring& path) {
  const UniqueHandle file = OpenToInspect(path);
  if (!file.Valid()) return std::nullopt;
  return IdOfHandle(file.Get());
}

HeldFiles& HeldFiles::Instance() {
  static HeldFiles registry;
  return registry;
}

void HeldFiles::Hold(const FileId& id) {
  std::lock_guard lock(mutex_);
  held_.insert(id);
}

void HeldFiles::Release(const FileId& id) {
  std::lock_guard lock(mutex_);
  const auto found = held_.find(id);
  if (found != held_.end()) held_.erase(found);
}

bool HeldFiles::IsHeld(const FileId& id) {
  std::lock_guard lock(mutex_);
  return held_.count(id) > 0;
}

HeldHandle::HeldHandle(UniqueHandle handle) : handle_(std::move(handle)) {
  id_ = IdOfHandle(handle_.Get());
  if (id_) HeldFiles::Instance().Hold(*id_);
}

bool HeldHandle::Close() {
  if (!handle_.Valid()) return true;
  const bool closed = handle_.Close();
  if (id_) HeldFiles::Instance().Release(*id_);
  id_.reset();
  return closed;
}

std::string FailureText(DWORD error, const std::wstring& path) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
    const std::optional<FileId> id = IdOfPath(path);
    return id && HeldFiles::Instance().IsHeld(*id) ? kHeldByJob : kInUse;
  }
  return SystemErrorText(error);
}

}  // namespace tarnwick
