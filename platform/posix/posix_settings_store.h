#pragma once

#include <string>

#include "process_services.h"
#include "settings_store.h"

namespace tarnwick {

// The settings store as an INI file: each key is a section ("[TWPDF]"), each value a
// "name=value" line. Every read takes the file afresh, so that a change made by the
// installation or by another instance is seen at once. Writes replace the whole file at once
// (a new file in the same folder, renamed over the old one), keeping the other sections and the
// comments as they were.
class PosixSettingsStore final : public SettingsStore {
 public:
  explicit PosixSettingsStore(std::string path);

  std::string Read(const std::string& key, const std::string& name) override;
  bool Write(const std::string& key, const std::string& name, const std::string& value) override;
  bool RemoveKey(const std::string& key) override;

 private:
  std::string path_;
};

// Where the settings are: $TARNWICK_REGISTRY if set, else the user's
// ${XDG_CONFIG_HOME:-$HOME/.config}/tarnwick/registry.ini if it exists, else the system-wide
// /etc/xdg/tarnwick/registry.ini.
std::string DefaultSettingsPath(Environment& environment);

}  // namespace tarnwick
