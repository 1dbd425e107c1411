#pragma once

#include <string>

namespace tarnwick {

// True for the name of a work folder: six decimal numbers joined by hyphens.
bool IsWorkFolderName(const std::string& name);

// True only for a file directly inside a work folder (six decimal numbers joined by hyphens,
// named from the local time) directly under `temporaryFolder`, which ends with a separator.
// Nothing else is ever deleted by a clean-up.
bool IsWorkCopyPath(const std::string& temporaryFolder, const std::string& path);

// The folder of a path: everything before its last separator (empty when there is none).
std::string FolderOf(const std::string& path);

}  // namespace tarnwick
