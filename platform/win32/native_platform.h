#pragma once

// The classes of this system that the command-line tool and the tests use under names shared
// with the POSIX build.
#include "thread_workers.h"
#include "win32_clock.h"
#include "win32_desktop_files.h"
#include "win32_file_layer.h"
#include "win32_process_services.h"
#include "win32_window_titles.h"

namespace tarnwick {

using NativeClock = Win32Clock;
using NativeDesktopFiles = Win32DesktopFiles;
using NativeEnvironment = Win32Environment;
using NativeProcessEnd = Win32ProcessEnd;
using NativeFileLayer = Win32FileLayer;
using NativeWindowTitles = Win32WindowTitles;
using NativeWorkers = ThreadWorkers;

}  // namespace tarnwick
