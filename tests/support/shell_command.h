#pragma once

// Commands for /bin/sh, which exists on POSIX only.
#include <string>

#include "child_program.h"

namespace tarnwick::test {

// The text quoted for /bin/sh.
std::string Quoted(const std::string& text);
// Runs `command` with /bin/sh, standard input from /dev/null; captures both output streams.
CommandResult RunShell(const std::string& command);

}  // namespace tarnwick::test
