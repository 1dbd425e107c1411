#include "private_folder_place.h"

namespace tarnwick::cli {

const char kPrivateFolderPlace[] = "%TMP%\\tarnwick\\";

}  // namespace tarnwick::cli
