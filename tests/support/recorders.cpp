#include "recorders.h"

#include <gtest/gtest.h>

namespace tarnwick::test {

void RecordingSink::Record(ProgressEvent event) {
  events.push_back(std::move(event));
  if (onEvent) onEvent(events.back());
}

void RecordingSink::SetProgressPosition(int position) {
  Record({ProgressEvent::Kind::kPosition, position, {}});
}

void RecordingSink::RepaintDialog() { Record({ProgressEvent::Kind::kRepaint, 0, {}}); }

void RecordingSink::SetStepLabel(const std::string& label) {
  Record({ProgressEvent::Kind::kLabel, 0, label});
}

std::vector<std::string> RecordingSink::Labels() const {
  std::vector<std::string> labels;
  for (const ProgressEvent& event : events) {
    if (event.kind == ProgressEvent::Kind::kLabel) labels.push_back(event.label);
  }
  return labels;
}

ScriptedMessages::~ScriptedMessages() {
  EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never asked for";
}

void ScriptedMessages::Notice(const std::string& text) {
  shown.push_back({ShownMessage::Kind::kNotice, text, {}});
}

bool ScriptedMessages::AskYesNo(const std::string& text, const std::string& caption) {
  shown.push_back({ShownMessage::Kind::kQuestion, text, caption});
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: \"" << text << "\" (caption \"" << caption << "\")";
    return false;
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

}  // namespace tarnwick::test
