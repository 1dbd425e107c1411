#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "temp_folder.h"
#include "win32_handles.h"
#include "win32_text.h"

namespace tarnwick::test {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Removes a file or a folder with everything in it, read-only files too.
void RemoveAll(const std::string& path) {
  const std::wstring wide = LongPath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetFileAttributesW(wide.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    ::DeleteFileW(wide.c_str());
    return;
  }
  // A link to a folder goes without what it points at.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    for (const std::string& name : FileNames(path)) RemoveAll(path + '\\' + name);
  }
  ::RemoveDirectoryW(wide.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<unsigned> made{0};
  wchar_t base[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 2, base);
  std::string folder = Utf8(std::wstring(base, length));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const std::string path = folder + "\\tarnwick-test-" + std::to_string(::GetCurrentProcessId()) +
                           '-' + std::to_string(made++) + '-' +
                           std::to_string(::GetTickCount64() & 0xFFFF);
  if (::CreateDirectoryW(LongPath(path).c_str(), nullptr)) {
    path_ = path;
  } else {
    ADD_FAILURE() << "cannot make a temporary folder in " << folder << ": "
                  << LastSystemErrorText();
  }
}

TempFolder::~TempFolder() {
  if (!path_.empty()) RemoveAll(path_);
}

std::string TempFolder::File(std::string_view name) const {
  return path_ + '\\' + std::string(name);
}

void WriteFile(const PathText& path, std::string_view bytes) {
  UniqueHandle file(::CreateFileW(LongPath(path.Utf8()).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD n = 0;
  if (!file.Valid() ||
      !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) ||
      n != bytes.size()) {
    ADD_FAILURE() << "cannot write " << path.Utf8() << ": " << LastSystemErrorText();
  }
}

std::string ReadFile(const PathText& path) {
  UniqueHandle file(::CreateFileW(LongPath(path.Utf8()).c_str(), GENERIC_READ, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    ADD_FAILURE() << "cannot read " << path.Utf8() << ": " << LastSystemErrorText();
    return {};
  }
  std::string bytes;
  char buffer[4096];
  DWORD n = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) {
    bytes.append(buffer, n);
  }
  return bytes;
}

std::vector<std::string> FileNames(const PathText& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(LongPath(folder.Utf8() + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tarnwick::test
