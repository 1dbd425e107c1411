#include "program_arguments.h"

#include <windows.h>
#include <shellapi.h>

#include "win32_text.h"

namespace tarnwick {

// argv holds the arguments in the ANSI code page, which loses every character outside it: the
// wide command line is split again and converted instead.
std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace tarnwick
