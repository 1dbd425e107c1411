#pragma once

#include <string>

#include "process_services.h"

namespace tarnwick {

// Ends the process with _exit: no destructors, no atexit handlers, no stdio flushes.
class PosixProcessEnd final : public ProcessEnd {
 public:
  [[noreturn]] void EndProcess(int exitCode) override;
};

// The process environment (getenv and setenv).
class PosixEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override;
  void Set(const std::string& name, const std::string& value) override;
};

// The folder of this process's executable; empty when the system does not say.
std::string RunningProgramFolder();

}  // namespace tarnwick
