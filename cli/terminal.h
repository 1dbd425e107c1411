#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "job_interfaces.h"

namespace tarnwick::cli {

// Standard error and standard input of the tool, shared by all jobs; one line of progress is
// kept at the bottom of a terminal and cleared before anything else is printed.
class Terminal {
 public:
  // `showsProgress`: standard error is a terminal; `canAsk`: the user can also answer there.
  Terminal(bool showsProgress, bool canAsk, bool overwrite);

  bool ShowsProgress() const { return showsProgress_; }
  void Error(const std::string& text);
  void Output(const std::string& line);
  // Asks on the terminal (default No); elsewhere the answer is --overwrite.
  bool Ask(const std::string& question);
  void ShowProgress(const std::string& line);
  void ClearProgress();

 private:
  void ClearProgressLocked();

  std::mutex mutex_;
  bool showsProgress_;
  bool canAsk_;
  bool overwrite_;
  bool progressShown_ = false;
};

// The sink and message boxes of one job, reporting to the shared terminal.
class TerminalJobView final : public ProgressSink, public JobMessages {
 public:
  TerminalJobView(Terminal& terminal, std::string label);

  void SetProgressPosition(int position) override;
  void RepaintDialog() override {}
  void SetStepLabel(const std::string& label) override;
  void Notice(const std::string& text) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;

 private:
  Terminal& terminal_;
  std::string label_;
  std::string step_;
  int shown_ = -1;
};

}  // namespace tarnwick::cli
