#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>

#include "shell.h"
#include "views.h"

namespace tarnwick::win32 {

// How long the web browser control may take over a navigation before the pane gives up on it.
inline constexpr std::chrono::milliseconds kNavigationPatience{15'000};

// The preview's pane for control `id` of `dialog`: the system's web browser control in place of
// the template's placeholder or, where that control cannot be created or leaves a navigation
// unfinished for `patience`, a text with the copy's path and a button that opens the copy with
// the system's PDF viewer. `onComplete` runs after every navigation, failed ones included,
// possibly before Navigate returns: the caller queues it.
std::unique_ptr<BrowserPane> CreateBrowserPane(
    HWND dialog, int id, Shell& shell, std::function<void()> onComplete,
    std::chrono::milliseconds patience = kNavigationPatience);

// Lets the web browser control of this program's process show pages as the system's current
// browser engine does, instead of in its oldest compatibility mode.
void SetBrowserEmulationForThisProgram();

}  // namespace tarnwick::win32
