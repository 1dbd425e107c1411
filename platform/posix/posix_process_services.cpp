#include "posix_process_services.h"

#include <stdlib.h>
#include <unistd.h>

namespace tarnwick {

void PosixProcessEnd::EndProcess(int exitCode) { ::_exit(exitCode); }

std::optional<std::string> PosixEnvironment::Get(const std::string& name) {
  const char* value = ::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return value;
}

void PosixEnvironment::Set(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace tarnwick
