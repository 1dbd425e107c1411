#pragma once

#include <optional>
#include <string>

#include "repair_outcome.h"

namespace tarnwick {

// What the user is told about a repaired copy that lacks pages of its source: that no page could
// be recovered, or how many of the file's pages were; nothing for a copy with every page.
std::optional<std::string> RecoveryNotice(const RepairOutcome& outcome);

}  // namespace tarnwick
