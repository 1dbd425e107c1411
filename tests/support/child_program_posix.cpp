#include <sys/wait.h>

#include <cstdio>
#include <stdexcept>

#include "child_program.h"
#include "shell_command.h"
#include "temp_folder.h"

namespace tarnwick::test {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CommandResult RunShell(const std::string& command) {
  TempFolder scratch;
  const std::string errFile = scratch.File("stderr");
  CommandResult result;
  FILE* pipe = ::popen(("( " + command + " ) </dev/null 2>" + Quoted(errFile)).c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run: " + command);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadFile(errFile);
  return result;
}

CommandResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  std::string command = Quoted(program);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  return RunShell(command);
}

}  // namespace tarnwick::test
