#include "win32_desktop_files.h"

#include <algorithm>

#include "part_file_name.h"
#include "win32_handles.h"
#include "win32_output_file.h"
#include "win32_text.h"

namespace tarnwick {

namespace {

class Win32AppendFile final : public AppendFile {
 public:
  explicit Win32AppendFile(UniqueHandle file) : file_(std::move(file)) {}

  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  }

  bool EndsLine() override {
    const std::uint64_t size = Size();
    if (size == 0) return true;
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>((size - 1) & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>((size - 1) >> 32);
    char last = '\0';
    DWORD n = 0;
    return ::ReadFile(file_.Get(), &last, 1, &n, &position) && n == 1 && last == '\n';
  }

  bool Append(const std::string& bytes) override {
    // The handle may only append (FILE_APPEND_DATA without FILE_WRITE_DATA); the pointer is
    // put at the end as well, for a reading of the last byte moved it.
    LARGE_INTEGER none{};
    if (!::SetFilePointerEx(file_.Get(), none, nullptr, FILE_END)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      DWORD n = 0;
      if (!::WriteFile(file_.Get(), bytes.data() + done, wanted, &n, nullptr) || n == 0) {
        return false;
      }
      done += n;
    }
    return true;
  }

 private:
  UniqueHandle file_;
};

}  // namespace

bool Win32DesktopFiles::IsFile(const std::string& path) {
  const UniqueHandle file = OpenToInspect(LongPath(path));
  BY_HANDLE_FILE_INFORMATION info{};
  return file.Valid() && ::GetFileType(file.Get()) == FILE_TYPE_DISK &&
         ::GetFileInformationByHandle(file.Get(), &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32DesktopFiles::SameFile(const std::string& one, const std::string& other) {
  return IsSameFile(one, other);
}

bool Win32DesktopFiles::RemoveFolder(const std::string& path) {
  const std::wstring wide = LongPath(path);
  return ::RemoveDirectoryW(wide.c_str()) || Fail(FailureText(::GetLastError(), wide));
}

std::unique_ptr<AppendFile> Win32DesktopFiles::OpenForAppending(const std::string& path) {
  const std::wstring wide = LongPath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Fail(kNotARegularFile), nullptr;
  }
  UniqueHandle file(::CreateFileW(wide.c_str(), FILE_APPEND_DATA | FILE_READ_DATA |
                                                    FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  if (!file.Valid()) return Fail(FailureText(::GetLastError(), wide)), nullptr;
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return Fail(kNotARegularFile), nullptr;
  return std::make_unique<Win32AppendFile>(std::move(file));
}

std::string Win32DesktopFiles::ShortPath(const std::string& path) {
  const std::wstring wide = LongPath(path);
  const DWORD needed = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring shortPath(needed, L'\0');
  const DWORD length = ::GetShortPathNameW(wide.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return path;
  shortPath.resize(length);
  shortPath = WithoutLongPrefix(shortPath);
  for (wchar_t& c : shortPath) {
    if (c == L'/') c = L'\\';
  }
  return Utf8(shortPath);
}

void Win32DesktopFiles::RemoveUnfinishedCopies() { RemovePartFiles(); }

std::vector<std::string> Win32DesktopFiles::FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = LongPath(folder);
  if (!pattern.ends_with(L'\\')) pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    Fail(FailureText(::GetLastError(), pattern));
    return names;
  }
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

bool Win32DesktopFiles::RemoveAbandonedPartFile(const std::string& path) {
  const std::optional<unsigned long> process =
      PartFileProcess(path.substr(path.find_last_of("/\\") + 1));
  if (!process || *process == ::GetCurrentProcessId()) return false;
  // A process that exists, even one this user may not query, may still be writing; a writer
  // also holds its part file unshared, so that deleting it fails.
  const UniqueHandle writer(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                          static_cast<DWORD>(*process)));
  DWORD exitCode = 0;
  if (writer.Valid() ? !::GetExitCodeProcess(writer.Get(), &exitCode) || exitCode == STILL_ACTIVE
                     : ::GetLastError() != ERROR_INVALID_PARAMETER) {
    return false;
  }
  const std::wstring wide = LongPath(path);
  return ::DeleteFileW(wide.c_str()) || Fail(FailureText(::GetLastError(), wide));
}

}  // namespace tarnwick
