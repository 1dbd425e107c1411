#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "child_program.h"
#include "temp_folder.h"

namespace tarnwick::cli_test {

using test::CommandResult;

// Runs the built tarnwick-repair with `arguments`, the system's temporary folder set to `tmpdir`
// and standard input not a terminal.
CommandResult RunRepairTool(const std::vector<std::string>& arguments,
                            const std::filesystem::path& tmpdir);

// The lines of `text`, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// Each line of a report, parsed; fails the running test on a line that is not JSON.
std::vector<nlohmann::json> ReportLines(const std::string& report);

// Fails the running test unless `report` is lines of JSON that docs/report.schema.json accepts.
void ExpectValidReport(const std::string& report);

// A valid PDF of `pages` pages, each showing `label` and its page number in Helvetica.
std::string TextPdf(const std::string& label, int pages);

}  // namespace tarnwick::cli_test
