#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "probe_results.h"

namespace tarnwick::test {

// The probe program, built beside this test program.
std::filesystem::path ProbePath();

// Starts the probe with the arguments and waits for it to end: its exit code, or -1 when it
// could not be started.
int RunProbe(const std::vector<std::wstring>& arguments);

}  // namespace tarnwick::test
