#pragma once

#include <string>

#include "repair_outcome.h"

namespace tarnwick::cli {

// One line of the report (JSON, without its line end): the file's job as `outcome` leaves it,
// and the `seconds` it took. docs/report.schema.json describes its fields.
std::string ReportLine(const RepairOutcome& outcome, double seconds);

}  // namespace tarnwick::cli
