#include "private_folder_place.h"

namespace tarnwick::cli {

const char kPrivateFolderPlace[] = "${TMPDIR:-/tmp}/tarnwick-<uid>/";

}  // namespace tarnwick::cli
