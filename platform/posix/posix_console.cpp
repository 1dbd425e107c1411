#include <unistd.h>

#include "console.h"

namespace tarnwick {

// A POSIX terminal takes UTF-8 and the progress line's escape sequences as they are.
void PrepareConsole() {}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }
bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

}  // namespace tarnwick
