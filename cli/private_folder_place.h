#pragma once

namespace tarnwick::cli {

// Where the user's private temporary folder is, as the help text names it.
extern const char kPrivateFolderPlace[];

}  // namespace tarnwick::cli
