#pragma once

#include <optional>
#include <string>

#include "file_layer.h"

namespace tarnwick {

// What the user is asked before a file goes into the list when it may not be a PDF at all: it
// cannot be read, or its first KiB holds no "%PDF-". A damaged PDF may have lost its beginning,
// so the user decides. Nothing when the file looks like a PDF.
std::optional<std::string> SourceDoubt(FileLayer& files, const std::string& path);

}  // namespace tarnwick
