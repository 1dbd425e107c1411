#pragma once

#include <string>

#include "app_context.h"

namespace tarnwick {

// Appends text to "Activity Log.txt" in the log folder (the LogPath setting when it names
// something that exists, else the program folder). The file is opened, written and closed on
// every call; a log grown past 5 MiB is started afresh. False when nothing could be written.
bool AppendToLog(AppContext& app, const std::string& text);
// Ends the log's last line when something (a run's closing banner, which has no line end of its
// own) left it open, so that what follows starts a line of its own.
bool StartLogLine(AppContext& app);

// The text as the log stores it: up to its first zero byte, with every byte that does not
// belong to a valid UTF-8 sequence replaced by '?'.
std::string LogBytes(const std::string& text);

}  // namespace tarnwick
