#pragma once

#include <functional>

namespace tarnwick {

// Hands the user's interruptions of this process to `interrupt`: Ctrl-C, and SIGTERM on POSIX,
// Ctrl+Break on Windows. It runs on a thread of its own, where it may take locks as any thread
// does. Call once, before any other thread starts, so that POSIX signals reach only the thread
// that waits for them.
void OnInterruption(std::function<void()> interrupt);

}  // namespace tarnwick
