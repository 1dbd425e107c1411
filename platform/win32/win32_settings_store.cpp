#include "win32_settings_store.h"

#include "utf16_text.h"

namespace tarnwick {

namespace {

std::wstring KeyPath(const RegistryPlace& place, const std::string& key) {
  const std::wstring wideKey = ToUtf16(key);
  return place.path.empty() ? wideKey : place.path + L'\\' + wideKey;
}

// Without RRF_NOEXPAND, REG_EXPAND_SZ values are expanded and pass as REG_SZ.
constexpr DWORD kStringValue = RRF_RT_REG_SZ;

bool SetString(const RegistryPlace& place, const std::string& key, const std::string& name,
               const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(place.root, KeyPath(place, key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring wideValue = ToUtf16(value);
  const auto bytes = static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t));
  const LSTATUS status = RegSetValueExW(handle, ToUtf16(name).c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(wideValue.c_str()), bytes);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool DeleteTree(const RegistryPlace& place, const std::string& key) {
  const LSTATUS status = RegDeleteTreeW(place.root, KeyPath(place, key).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

Win32SettingsStore::Win32SettingsStore()
    : Win32SettingsStore({HKEY_CLASSES_ROOT, L""}, {HKEY_CLASSES_ROOT, L""},
                         {HKEY_CURRENT_USER, L"Software\\Classes"}) {}

Win32SettingsStore::Win32SettingsStore(RegistryPlace readPlace, RegistryPlace writePlace,
                                       RegistryPlace userPlace)
    : readPlace_(std::move(readPlace)),
      writePlace_(std::move(writePlace)),
      userPlace_(std::move(userPlace)) {}

std::string Win32SettingsStore::Read(const std::string& key, const std::string& name) {
  const std::wstring path = KeyPath(readPlace_, key);
  const std::wstring wideName = ToUtf16(name);
  // The value may change between asking its size and reading it; then ask again.
  for (;;) {
    DWORD bytes = 0;
    if (RegGetValueW(readPlace_.root, path.c_str(), wideName.c_str(), kStringValue, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
      return "";
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    const LSTATUS status = RegGetValueW(readPlace_.root, path.c_str(), wideName.c_str(),
                                        kStringValue, nullptr, value.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return "";
    // The returned size counts the terminator that RegGetValueW guarantees.
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return ToUtf8(value);
  }
}

bool Win32SettingsStore::Write(const std::string& key, const std::string& name,
                               const std::string& value) {
  return SetString(writePlace_, key, name, value) || SetString(userPlace_, key, name, value);
}

bool Win32SettingsStore::RemoveKey(const std::string& key) {
  // The user's copy first: removing it never depends on rights to the machine's classes.
  const bool userCleared = DeleteTree(userPlace_, key);
  return DeleteTree(writePlace_, key) && userCleared;
}

}  // namespace tarnwick
