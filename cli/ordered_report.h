#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "command_line.h"
#include "repair_outcome.h"
#include "report_file.h"
#include "terminal.h"

namespace tarnwick::cli {

// How one file's job ended, and the wall time it took.
struct FileResult {
  RepairOutcome outcome;
  double seconds = 0;
};

// Prints each file's result (the repaired copy's path, or what its check found) and writes its
// report line as soon as all earlier files have theirs, so that the output is the same however
// many jobs run at once. With the report on standard output, only the report goes there.
class OrderedReport {
 public:
  // `reportFile`: where the lines go when the report is not on standard output.
  OrderedReport(const Options& options, Terminal& terminal, ReportFile* reportFile);

  void Add(std::size_t index, FileResult result);
  // Every file was repaired with at least one page (or found intact), and the report written.
  bool AllSucceeded() const { return failures_ == 0 && !reportFailed_; }

 private:
  void Print(const FileResult& result);
  void WriteReportLine(const FileResult& result);

  const Options& options_;
  Terminal& terminal_;
  ReportFile* reportFile_;
  std::mutex mutex_;
  std::vector<std::optional<FileResult>> results_;
  std::size_t next_ = 0;
  std::size_t failures_ = 0;
  bool reportFailed_ = false;
};

}  // namespace tarnwick::cli
