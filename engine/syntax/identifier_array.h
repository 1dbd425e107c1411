#pragma once

#include <cstdint>
#include <vector>

#include "source_reader.h"

namespace tarnwick {

// The /ID array that starts after white space at `at` (after an "ID" key, or where a
// cross-reference stream's array stands), when it holds exactly two strings; else nothing.
std::vector<std::uint8_t> IdentifierArrayAt(SourceReader& source, std::int64_t at);

}  // namespace tarnwick
