#include "work_path_form.h"

namespace tarnwick {

// POSIX paths have no short form.
std::string AsWorkPath(const std::string& path) { return path; }

}  // namespace tarnwick
