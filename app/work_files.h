#pragma once

#include <functional>
#include <string>

#include "app_context.h"

namespace tarnwick {

enum class CleanUpMode { afterPreview, atExit };

// Deletes the work copies pending their clean-up with their work folders. `beforeLast` runs
// after all but the last entry are done and before the last is treated (the preview window lets
// go of the copy it shows there). After a preview the last copy is deleted on the window
// thread's timer, so that the windows go on meanwhile; at exit it is treated at once.
void CleanUpWorkFiles(AppContext& app, CleanUpMode mode,
                      const std::function<void()>& beforeLast = {});

// True only for a work copy under the program's private temporary folder.
bool IsWorkCopy(AppContext& app, const std::string& path);

// Deletes a work copy and removes its folder when that is left empty. False when the path is
// not a work copy or the file could not be deleted.
bool DeleteWorkCopy(AppContext& app, const std::string& path);
// Removes an empty work folder, such as a stopped job leaves.
void RemoveEmptyWorkFolder(AppContext& app, const std::string& copyPath);
// Removes what earlier runs left in the work folders when they were killed: the copies, the
// part files of processes that no longer run, and the folders once empty. For the start, when
// no other copy of the program runs.
void RemoveEarlierWorkCopies(AppContext& app);
// Deletes every work copy the program knows of (those of the clean-up's list, the copy on
// display, the last job's copy) and their folders once empty, by the same rules, then the
// program's temporary folder when it is empty; for the program's end, whichever way out.
void DeleteAllWorkCopies(AppContext& app);

}  // namespace tarnwick
