#pragma once

#include "process_services.h"

namespace tarnwick {

// Ends the process at once: no destructors, no atexit handlers, no stdio flushes, and no DLL
// notifications that a worker holding a lock could block (TerminateProcess on itself).
class Win32ProcessEnd final : public ProcessEnd {
 public:
  [[noreturn]] void EndProcess(int exitCode) override;
};

// The process environment (GetEnvironmentVariableW and SetEnvironmentVariableW), in UTF-8;
// programs started afterwards inherit what was set.
class Win32Environment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override;
  void Set(const std::string& name, const std::string& value) override;
};

}  // namespace tarnwick
