#include <stdlib.h>

#include "system_environment.h"
#include "win32_text.h"

namespace tarnwick::test {

const char kTemporaryFolderVariable[] = "TMP";

// The user's temporary folder is private on Windows; the platform keeps one folder in it and
// names it with forward slashes.
std::string PrivateFolderIn(const std::string& temporaryFolder) {
  std::string folder = temporaryFolder + "/tarnwick";
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  return folder;
}

unsigned long CurrentProcessId() { return ::GetCurrentProcessId(); }

std::string MissingFileText() { return SystemErrorText(ERROR_FILE_NOT_FOUND); }

// The wide form updates the runtime's copies and the process block that children inherit.
void SetProcessVariable(const std::string& name, const std::string& value) {
  _wputenv_s(Wide(name).c_str(), Wide(value).c_str());
}

void RemoveProcessVariable(const std::string& name) { _wputenv_s(Wide(name).c_str(), L""); }

}  // namespace tarnwick::test
