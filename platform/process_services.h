#pragma once

#include <optional>
#include <string>

namespace tarnwick {

// Ending the process at once, without any shutdown of windows or objects.
class ProcessEnd {
 public:
  virtual ~ProcessEnd() = default;
  [[noreturn]] virtual void EndProcess(int exitCode) = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::optional<std::string> Get(const std::string& name) = 0;
  virtual void Set(const std::string& name, const std::string& value) = 0;
};

}  // namespace tarnwick
