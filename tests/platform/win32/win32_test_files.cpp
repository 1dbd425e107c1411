#include "win32_test_files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "win32_handles.h"
#include "win32_text.h"

namespace tarnwick::test {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

Win32TempFolder::Win32TempFolder() {
  static std::atomic<unsigned> made{0};
  wchar_t base[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 2, base);
  std::string folder = Utf8(std::wstring(base, length));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  path_ = folder + "\\tarnwick-test-" + std::to_string(::GetCurrentProcessId()) + '-' +
          std::to_string(made++) + '-' + std::to_string(::GetTickCount64() & 0xFFFF);
  if (!::CreateDirectoryW(LongPath(path_).c_str(), nullptr)) {
    throw std::runtime_error("no test folder: " + LastSystemErrorText());
  }
}

Win32TempFolder::~Win32TempFolder() { RemoveAll(path_); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  UniqueHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD n = 0;
  if (!file.Valid() || !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &n, nullptr) ||
      n != bytes.size()) {
    throw std::runtime_error("cannot write " + path + ": " + LastSystemErrorText());
  }
}

std::string ReadBytes(const std::string& path) {
  UniqueHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return "<" + LastSystemErrorText() + ">";
  std::string bytes;
  char buffer[4096];
  DWORD n = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) {
    bytes.append(buffer, n);
  }
  return bytes;
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(LongPath(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveAll(const std::string& path) {
  const std::wstring wide = LongPath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetFileAttributesW(wide.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    for (const std::string& name : FileNames(path)) RemoveAll(path + '\\' + name);
    ::RemoveDirectoryW(wide.c_str());
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ::RemoveDirectoryW(wide.c_str());
  } else {
    ::DeleteFileW(wide.c_str());
  }
}

int RunProgram(const std::string& commandLine) {
  std::wstring command = Wide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
    return -1;
  }
  ::CloseHandle(process.hThread);
  DWORD code = 0;
  const bool ended = ::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
                     ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  return ended ? static_cast<int>(code) : -1;
}

}  // namespace tarnwick::test
