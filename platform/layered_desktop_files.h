#pragma once

#include <memory>
#include <optional>
#include <string>

#include "desktop_files.h"
#include "guarded_text.h"

namespace tarnwick {

// The part of each system's desktop file system that is the repair job's own file layer,
// `JobFiles`: its calls are passed on, and its error text is kept as the desktop's own. The
// system's class adds what the windows do on top.
template <typename JobFiles>
class LayeredDesktopFiles : public DesktopFiles {
 public:
  std::unique_ptr<SourceFile> OpenForReading(const std::string& path) override {
    return Forwarded(jobFiles_.OpenForReading(path));
  }
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override {
    return Forwarded(jobFiles_.OpenForWriting(path));
  }
  bool Exists(const std::string& path) override { return jobFiles_.Exists(path); }
  bool ResetAttributes(const std::string& path) override {
    return Forwarded(jobFiles_.ResetAttributes(path));
  }
  bool Delete(const std::string& path) override { return Forwarded(jobFiles_.Delete(path)); }
  bool CreateFolder(const std::string& path) override {
    return Forwarded(jobFiles_.CreateFolder(path));
  }
  std::optional<std::string> TemporaryFolder() override {
    return Forwarded(jobFiles_.TemporaryFolder());
  }
  std::string LastErrorText() const override { return lastError_.Get(); }

 protected:
  // Keeps `text` as the last error; false, for returning.
  bool Fail(const std::string& text) {
    lastError_.Set(text);
    return false;
  }

  JobFiles jobFiles_;

 private:
  // Takes the job layer's error text when `succeeded` is false, and passes `succeeded` on.
  template <typename Result>
  Result Forwarded(Result succeeded) {
    if (!succeeded) lastError_.Set(jobFiles_.LastErrorText());
    return succeeded;
  }

  GuardedText lastError_;
};

}  // namespace tarnwick
