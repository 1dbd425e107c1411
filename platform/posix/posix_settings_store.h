#pragma once

#include <string>
#include <vector>

#include "process_services.h"
#include "settings_store.h"

namespace tarnwick {

// Where the settings are: the user's own file, which takes every write and is read first, then
// the installation's files, read in their order.
struct SettingsFiles {
  std::string own;
  std::vector<std::string> shared;
};

// The settings store as INI files: each key is a section ("[TWPDF]"), each value a
// "name=value" line. A value is read from the first file that has it, else from `defaults` (INI
// text). Every read takes the files afresh, so that a change made by the installation or by
// another instance is seen at once. Writes go to the user's own file and replace it at once (a
// new file in the same folder, renamed over the old one), keeping the other sections and the
// comments as they were.
class PosixSettingsStore final : public SettingsStore {
 public:
  // One file for reads and writes.
  explicit PosixSettingsStore(std::string path)
      : PosixSettingsStore(SettingsFiles{std::move(path), {}}) {}
  PosixSettingsStore(SettingsFiles files, std::string defaults = {});

  std::string Read(const std::string& key, const std::string& name) override;
  bool Write(const std::string& key, const std::string& name, const std::string& value) override;
  bool RemoveKey(const std::string& key) override;

 private:
  SettingsFiles files_;
  std::string defaults_;
};

// $TARNWICK_REGISTRY alone when it is set; else the user's
// ${XDG_CONFIG_HOME:-$HOME/.config}/tarnwick/registry.ini, then registry.ini in the tarnwick
// folder of each of ${XDG_CONFIG_DIRS:-/etc/xdg}, where an installation for every user writes.
SettingsFiles DefaultSettingsFiles(Environment& environment);

// The folder for the user's own program state, such as the activity log:
// ${XDG_STATE_HOME:-$HOME/.local/state}/tarnwick; empty when neither variable is set.
std::string UserStateFolder(Environment& environment);

}  // namespace tarnwick
