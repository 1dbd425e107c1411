#pragma once

// The classes of this system that the command-line tool and the tests use under names shared
// with the Windows build.
#include "posix_clock.h"
#include "posix_desktop_files.h"
#include "posix_file_layer.h"
#include "posix_process_services.h"
#include "posix_window_titles.h"
#include "thread_workers.h"

namespace tarnwick {

using NativeClock = PosixClock;
using NativeDesktopFiles = PosixDesktopFiles;
using NativeEnvironment = PosixEnvironment;
using NativeProcessEnd = PosixProcessEnd;
using NativeFileLayer = PosixFileLayer;
using NativeWindowTitles = PosixWindowTitles;
using NativeWorkers = ThreadWorkers;

}  // namespace tarnwick
