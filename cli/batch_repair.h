#pragma once

#include "command_line.h"
#include "interruption.h"
#include "report_file.h"
#include "terminal.h"

namespace tarnwick::cli {

// The exit status after Ctrl-C or SIGTERM, as shells report a job ended by SIGINT.
inline constexpr int kInterruptedStatus = 130;

// Repairs (or checks) every file of `options` and prints the repaired copies' paths (or what
// each check found) and the report's lines in the order the files were given; the lines go to
// `reportFile` when the report is not on standard output. Returns the tool's exit status: 0 when
// all were repaired (or found intact), 1 when some were not, kInterruptedStatus when the run was
// interrupted.
int RunBatch(const Options& options, Terminal& terminal, Interruption& interruption,
             ReportFile* reportFile);

}  // namespace tarnwick::cli
