#pragma once

#include "command_line.h"
#include "terminal.h"

namespace tarnwick::cli {

// Repairs every file of `options` and prints the repaired copies' paths in the order the files
// were given. Returns the tool's exit status: 0 when all were repaired, else 1.
int RunBatch(const Options& options, Terminal& terminal);

}  // namespace tarnwick::cli
