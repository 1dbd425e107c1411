#include "win32_text.h"

#include <cwctype>

namespace tarnwick {

namespace {

// Paths from this length on get the prefix: CreateDirectoryW stops 12 characters short of
// MAX_PATH, to leave room for an 8.3 file name inside the folder.
constexpr std::size_t kLongPathFrom = MAX_PATH - 12;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::string Utf8(const wchar_t* wide) { return wide ? Utf8(std::wstring(wide)) : std::string(); }

std::wstring LongPath(const std::string& utf8Path) {
  std::wstring path = Wide(utf8Path);
  if (path.size() < kLongPathFrom) return path;
  if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == L'?' &&
      IsSeparator(path[3])) {
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    return path;  // already in the prefixed form, which is never normalised
  }
  // GetFullPathNameW works on the text alone and has no MAX_PATH limit.
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') {
    // \\server\share\... ; \\.\device paths are left alone.
    if (full.size() >= 3 && (full[2] == L'.' || full[2] == L'?')) return full;
    return L"\\\\?\\UNC\\" + full.substr(2);
  }
  return L"\\\\?\\" + full;
}

std::wstring WithoutLongPrefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (std::iswspace(text.back()) || text.back() == L'.')) text.pop_back();
  if (text.empty()) return "system error " + std::to_string(error);
  return Utf8(text);
}

std::string LastSystemErrorText() { return SystemErrorText(::GetLastError()); }

}  // namespace tarnwick
