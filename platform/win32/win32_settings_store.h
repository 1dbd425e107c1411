#pragma once

#include <windows.h>

#include <string>

#include "settings_store.h"

namespace tarnwick {

// A place in the registry under which the store's keys lie: `root`\`path`\<key>, or
// `root`\<key> when `path` is empty. The root handle is not owned.
struct RegistryPlace {
  HKEY root;
  std::wstring path;
};

// The settings as registry string values. Reads look in `readPlace` only. Writes and removals
// come from registration alone: a write goes to `writePlace` and, when that cannot be written
// (a user without administrator rights may not write the machine's classes), to `userPlace`;
// a removal clears the key from both. Keys may name subkeys with backslashes.
class Win32SettingsStore final : public SettingsStore {
 public:
  // HKEY_CLASSES_ROOT for reading and writing, the user's own classes as the fallback.
  Win32SettingsStore();
  Win32SettingsStore(RegistryPlace readPlace, RegistryPlace writePlace, RegistryPlace userPlace);

  // REG_SZ values, and REG_EXPAND_SZ values with their environment variables expanded; any
  // other type reads as missing.
  std::string Read(const std::string& key, const std::string& name) override;
  bool Write(const std::string& key, const std::string& name, const std::string& value) override;
  bool RemoveKey(const std::string& key) override;

 private:
  RegistryPlace readPlace_;
  RegistryPlace writePlace_;
  RegistryPlace userPlace_;
};

}  // namespace tarnwick
