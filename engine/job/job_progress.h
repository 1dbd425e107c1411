#pragma once

#include <string>

#include "job_interfaces.h"
#include "output_writer.h"
#include "repair_job_state.h"
#include "source_reader.h"

namespace tarnwick {

// The progress reports and safe points of one job, shared by its two steps. The dialog that
// follows the job depends on the mode: the saving dialog in save mode, else the analysis dialog.
class JobProgress {
 public:
  JobProgress(const RepairJobState& state, JobControl& control, const SourceReader& source,
              const OutputWriter& output)
      : state_(state), control_(control), source_(source), output_(output) {}

  // Sets the bar to 0, repaints and shows the step's label; false when the job must end.
  bool StartStep(int step);
  // Moves the bar; false when the job must end.
  bool Report(int position);
  // False when a read or write failed or the job was stopped; blocks while it is paused.
  bool SafePoint();

 private:
  ProgressSink* Sink() const;
  std::string StepLabel(int step) const;

  const RepairJobState& state_;
  JobControl& control_;
  const SourceReader& source_;
  const OutputWriter& output_;
};

}  // namespace tarnwick
