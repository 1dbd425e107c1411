#include <string>

#include "browser_pane.h"

namespace tarnwick::win32 {
namespace {

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
// The newest engine's standards mode, whatever the page declares.
constexpr DWORD kCurrentEngineMode = 11001;

std::wstring ThisProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

void SetBrowserEmulationForThisProgram() {
  const std::wstring path = ThisProgramPath();
  const std::wstring fileName = path.substr(path.find_last_of(L"\\/") + 1);
  if (fileName.empty()) return;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, fileName.c_str(), 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&kCurrentEngineMode), sizeof(kCurrentEngineMode));
  RegCloseKey(key);
}

}  // namespace tarnwick::win32
