#pragma once

#include <string>

namespace tarnwick {

// String values under named keys, written by the installation and by registration.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value, or the empty string when the key or the value is missing or unreadable.
  virtual std::string Read(const std::string& key, const std::string& name) = 0;
  virtual bool Write(const std::string& key, const std::string& name, const std::string& value) = 0;
  // Removes the key with all its values; true also when there was nothing to remove.
  virtual bool RemoveKey(const std::string& key) = 0;
};

}  // namespace tarnwick
