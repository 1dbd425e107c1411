#pragma once

#include <windows.h>

namespace tarnwick::win32 {

// Hands one message of the thread's queue on: a key that a dialog of the program filters, the
// dialog's own keyboard handling (Tab, arrows, Enter), or the window procedure. Every message
// loop of the program goes through it, so that the keys behave alike in each of them.
void DispatchWindowMessage(MSG& message);

}  // namespace tarnwick::win32
