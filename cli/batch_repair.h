#pragma once

#include "command_line.h"
#include "interruption.h"
#include "terminal.h"

namespace tarnwick::cli {

// The exit status after Ctrl-C or SIGTERM, as shells report a job ended by SIGINT.
inline constexpr int kInterruptedStatus = 130;

// Repairs every file of `options` and prints the repaired copies' paths in the order the files
// were given. Returns the tool's exit status: 0 when all were repaired, 1 when some were not,
// kInterruptedStatus when the run was interrupted.
int RunBatch(const Options& options, Terminal& terminal, Interruption& interruption);

}  // namespace tarnwick::cli
