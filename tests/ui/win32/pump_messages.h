#pragma once

#include <functional>

namespace tarnwick::test {

// Runs the thread's messages as the program's loops do until `done` holds or the time is up;
// false when the time ran out first.
bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds = 5000);

}  // namespace tarnwick::test
