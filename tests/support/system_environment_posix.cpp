#include <stdlib.h>
#include <unistd.h>

#include "system_environment.h"

namespace tarnwick::test {

const char kTemporaryFolderVariable[] = "TMPDIR";

std::string PrivateFolderIn(const std::string& temporaryFolder) {
  return temporaryFolder + "/tarnwick-" + std::to_string(::getuid());
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

std::string MissingFileText() { return "No such file or directory"; }

void SetProcessVariable(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void RemoveProcessVariable(const std::string& name) { ::unsetenv(name.c_str()); }

}  // namespace tarnwick::test
