#pragma once

#include <string>

namespace tarnwick {

// The dialog that follows a job's progress. The engine calls it from the job's thread.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetProgressPosition(int position) = 0;  // 0 to 100
  virtual void RepaintDialog() = 0;
  virtual void SetStepLabel(const std::string& label) = 0;
};

// The message boxes a job shows. Both block the job until the user has answered.
class JobMessages {
 public:
  virtual ~JobMessages() = default;
  // A notice with an OK button under the application's title.
  virtual void Notice(const std::string& text) = 0;
  // A Yes/No question with a question-mark icon; true only for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};

// Consulted by the engine at safe points: each progress call, between chunks of the scan and
// between copied objects. Blocks while the job is paused; false means the job must end now.
class JobControl {
 public:
  virtual ~JobControl() = default;
  virtual bool ContinueJob() = 0;
};

}  // namespace tarnwick
