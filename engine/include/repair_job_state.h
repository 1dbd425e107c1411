#pragma once

#include <memory>
#include <string>

#include "file_layer.h"
#include "job_interfaces.h"

namespace tarnwick {

// The state a repair job shares with the windows that start it. One lives for the whole run of
// the desktop program; the files are open only while a job runs.
struct RepairJobState {
  std::unique_ptr<SourceFile> sourceFile;
  std::unique_ptr<OutputFile> outputFile;
  std::string outputPath;         // the repaired copy of the last job
  std::string destinationFolder;  // ends with a separator
  bool saveMode = false;          // output into destinationFolder, progress to savingDialog
  bool saveCurrent = false;
  bool saveAll = false;
  bool jobDone = false;  // set only when a job ran to its end with both files closed
  ProgressSink* analysisDialog = nullptr;
  ProgressSink* savingDialog = nullptr;
  std::string messageCaption;  // caption of the overwrite question
};

}  // namespace tarnwick
