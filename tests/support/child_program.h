#pragma once

#include <string>
#include <vector>

namespace tarnwick::test {

struct CommandResult {
  int status = -1;  // the exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` (UTF-8, passed as they are), standard input empty and this
// process's environment; captures both output streams.
CommandResult RunProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tarnwick::test
