#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "file_layer.h"
#include "job_interfaces.h"

namespace tarnwick::test {

// One call of a ProgressSink.
struct ProgressEvent {
  enum class Kind { kPosition, kRepaint, kLabel };
  Kind kind = Kind::kPosition;
  int position = 0;   // for kPosition
  std::string label;  // for kLabel
};

// Records every call the engine makes, in order. `onEvent`, when set, runs on the job's thread
// right after each call is recorded; tests use it to pause or stop a job at a known point.
class RecordingSink final : public ProgressSink {
 public:
  void SetProgressPosition(int position) override;
  void RepaintDialog() override;
  void SetStepLabel(const std::string& label) override;

  std::vector<std::string> Labels() const;

  std::vector<ProgressEvent> events;
  std::function<void(const ProgressEvent&)> onEvent;

 private:
  void Record(ProgressEvent event);
};

// One message box the engine showed.
struct ShownMessage {
  enum class Kind { kNotice, kQuestion };
  Kind kind = Kind::kNotice;
  std::string text;
  std::string caption;  // questions only
  bool operator==(const ShownMessage&) const = default;
};

// Answers the engine's questions from a script and records every notice and question. A
// question with no scripted answer left fails the test (and is answered No); an answer still
// unused when the object goes fails it too.
class ScriptedMessages final : public JobMessages {
 public:
  ~ScriptedMessages() override;

  void AnswerNext(bool yes) { answers_.push_back(yes); }

  void Notice(const std::string& text) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;

  std::vector<ShownMessage> shown;

 private:
  std::deque<bool> answers_;
};

// A clock that always tells the same time, so that work folder names are known in advance.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime time = {13, 5, 9, 2, 3, 2024}) : time_(time) {}
  LocalTime Now() override { return time_; }

 private:
  LocalTime time_;
};

}  // namespace tarnwick::test
