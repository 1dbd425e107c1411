#include "win32_file_layer.h"

#include "win32_handles.h"
#include "win32_output_file.h"
#include "win32_source_file.h"
#include "win32_text.h"

namespace tarnwick {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

bool Win32FileLayer::Fail(const std::string& text) {
  lastError_.Set(text);
  return false;
}

bool Win32FileLayer::FailWith(unsigned long error, const std::wstring& path) {
  return Fail(FailureText(error, path));
}

std::unique_ptr<SourceFile> Win32FileLayer::OpenForReading(const std::string& path) {
  const std::wstring wide = LongPath(path);
  // Others may read the file too, but neither write, delete nor rename it while the job runs.
  UniqueHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr));
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    // A folder cannot be opened this way; say what it is rather than "Access is denied".
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return Fail(kNotARegularFile), nullptr;
    }
    return FailWith(error, wide), nullptr;
  }
  // Only disk files are read: a pipe or a device (CON, NUL, COM1) could block or never end.
  LARGE_INTEGER size{};
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return Fail(kNotARegularFile), nullptr;
  if (!::GetFileSizeEx(file.Get(), &size)) return Fail(LastSystemErrorText()), nullptr;
  return std::make_unique<Win32SourceFile>(std::move(file),
                                           static_cast<std::uint64_t>(size.QuadPart));
}

std::unique_ptr<OutputFile> Win32FileLayer::OpenForWriting(const std::string& path) {
  std::string error;
  auto file = Win32OutputFile::Create(path, error);
  if (!file) Fail(error);
  return file;
}

bool Win32FileLayer::Exists(const std::string& path) {
  // Not followed: a link exists even when what it points at does not, as lstat sees it.
  return ::GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileLayer::ResetAttributes(const std::string& path) {
  const std::wstring wide = LongPath(path);
  // Attributes may be changed whatever the share modes, so the hold is asked for: opening for
  // deletion with every sharing is refused while a job (or another program) holds the file.
  const UniqueHandle probe(::CreateFileW(wide.c_str(), DELETE | FILE_WRITE_ATTRIBUTES, kShareAll,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                         nullptr));
  if (!probe.Valid()) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED) return FailWith(error, wide);
  }
  if (!::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    return FailWith(::GetLastError(), wide);
  }
  return true;
}

bool Win32FileLayer::Delete(const std::string& path) {
  const std::wstring wide = LongPath(path);
  if (!::DeleteFileW(wide.c_str())) return FailWith(::GetLastError(), wide);
  return true;
}

bool Win32FileLayer::CreateFolder(const std::string& path) {
  const std::wstring wide = LongPath(path);
  // As mkdir: false when the name exists already, folder or not.
  if (!::CreateDirectoryW(wide.c_str(), nullptr)) return FailWith(::GetLastError(), wide);
  return true;
}

std::optional<std::string> Win32FileLayer::TemporaryFolder() {
  std::string error;
  auto folder = PrivateTemporaryFolder(error);
  if (!folder) Fail(error);
  return folder;
}

bool IsSameFile(const std::string& one, const std::string& other) {
  const std::optional<FileId> a = IdOfPath(LongPath(one));
  const std::optional<FileId> b = IdOfPath(LongPath(other));
  return a && b && *a == *b;
}

std::optional<std::string> PrivateTemporaryFolder(std::string& error) {
  wchar_t base[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 2, base);
  if (length == 0 || length > MAX_PATH + 1) {
    error = "no temporary folder: " + LastSystemErrorText();
    return std::nullopt;
  }
  std::string folder = Utf8(std::wstring(base, length));
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  folder += "/tarnwick";
  // The user's temporary folder is private on Windows; the folder in it must be a real folder,
  // not a link or junction that someone planted to send the copies elsewhere.
  const std::wstring wide = LongPath(folder);
  if (!::CreateDirectoryW(wide.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    error = folder + ": " + LastSystemErrorText();
    return std::nullopt;
  }
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    error = folder + ": not a private folder of this user";
    return std::nullopt;
  }
  return folder + "/";
}

}  // namespace tarnwick
