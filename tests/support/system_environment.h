#pragma once

#include <string>

namespace tarnwick::test {

// The variable that names the user's temporary folder to the platform: TMPDIR on POSIX, TMP on
// Windows (GetTempPathW reads it first).
extern const char kTemporaryFolderVariable[];

// The folder that the platform keeps for the user's work copies inside `temporaryFolder`.
std::string PrivateFolderIn(const std::string& temporaryFolder);

// The identifier of this process, as the system numbers processes.
unsigned long CurrentProcessId();

// The system's reason for a file that does not exist, as the file layer reports it.
std::string MissingFileText();

// Sets or removes a variable of this process's environment, which child processes inherit.
void SetProcessVariable(const std::string& name, const std::string& value);
void RemoveProcessVariable(const std::string& name);

}  // namespace tarnwick::test
