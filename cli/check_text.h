#pragma once

#include <string>

#include "repair_outcome.h"

namespace tarnwick::cli {

// What a finished check says of a file after its path: "intact", or what is wrong with it in
// words, separated by semicolons; "encrypted, needs a password" follows when no password opened
// it.
std::string CheckText(const RepairOutcome& outcome);

}  // namespace tarnwick::cli
