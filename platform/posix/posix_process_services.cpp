#include "posix_process_services.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

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

std::string RunningProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}

}  // namespace tarnwick
