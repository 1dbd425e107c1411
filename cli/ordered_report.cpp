#include "ordered_report.h"

#include "check_text.h"
#include "outcome_json.h"

namespace tarnwick::cli {

namespace {

// A copy with at least one page, or an intact file: what leaves the exit status at 0.
bool Succeeded(RepairStatus status) {
  return status == RepairStatus::kRepaired || status == RepairStatus::kRepairedWithLosses ||
         status == RepairStatus::kIntact;
}

bool Checked(RepairStatus status) {
  return status == RepairStatus::kIntact || status == RepairStatus::kNeedsRepair;
}

}  // namespace

OrderedReport::OrderedReport(const Options& options, Terminal& terminal, ReportFile* reportFile)
    : options_(options),
      terminal_(terminal),
      reportFile_(reportFile),
      results_(options.files.size()) {}

void OrderedReport::Add(std::size_t index, FileResult result) {
  std::lock_guard lock(mutex_);
  results_[index] = std::move(result);
  while (next_ < results_.size() && results_[next_]) {
    Print(*results_[next_]);
    if (options_.report) WriteReportLine(*results_[next_]);
    ++next_;
  }
}

void OrderedReport::Print(const FileResult& result) {
  const RepairOutcome& outcome = result.outcome;
  if (!Succeeded(outcome.status)) ++failures_;
  if (options_.report == "-") return;
  if (options_.check && Checked(outcome.status)) {
    terminal_.Output(outcome.sourcePath + ": " + CheckText(outcome));
  } else if (!options_.check && !outcome.outputPath.empty()) {
    terminal_.Output(outcome.outputPath);
  }
}

void OrderedReport::WriteReportLine(const FileResult& result) {
  const std::string line = ReportLine(result.outcome, result.seconds);
  if (!reportFile_) {
    terminal_.Output(line);
    return;
  }
  std::string error;
  if (!reportFailed_ && !reportFile_->WriteLine(line, error)) {
    // Said once; the other files are still repaired, but the run no longer ends clean.
    terminal_.Error(error);
    reportFailed_ = true;
  }
}

}  // namespace tarnwick::cli
