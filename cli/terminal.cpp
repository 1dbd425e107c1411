#include "terminal.h"

#include <algorithm>
#include <iostream>

namespace tarnwick::cli {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

Terminal::Terminal(bool showsProgress, bool canAsk, bool overwrite)
    : showsProgress_(showsProgress), canAsk_(canAsk), overwrite_(overwrite) {}

void Terminal::ClearProgressLocked() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", stderr);
  progressShown_ = false;
}

void Terminal::ClearProgress() {
  std::lock_guard lock(mutex_);
  ClearProgressLocked();
}

void Terminal::Error(const std::string& text) {
  std::lock_guard lock(mutex_);
  ClearProgressLocked();
  std::fprintf(stderr, "tarnwick-repair: %s\n", text.c_str());
}

void Terminal::Output(const std::string& line) {
  std::lock_guard lock(mutex_);
  ClearProgressLocked();
  std::fprintf(stdout, "%s\n", line.c_str());
  std::fflush(stdout);
}

bool Terminal::Ask(const std::string& question) {
  std::lock_guard lock(mutex_);
  if (overwrite_ || !canAsk_) return overwrite_;
  ClearProgressLocked();
  std::fprintf(stderr, "%s [y/N] ", question.c_str());
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  const std::string word = Trimmed(answer);
  return word == "y" || word == "Y" || word == "yes" || word == "Yes" || word == "YES";
}

void Terminal::ShowProgress(const std::string& line) {
  std::lock_guard lock(mutex_);
  if (!showsProgress_) return;
  std::fprintf(stderr, "\r\033[K%s", line.c_str());
  std::fflush(stderr);
  progressShown_ = true;
}

TerminalJobView::TerminalJobView(Terminal& terminal, std::string label)
    : terminal_(terminal), label_(std::move(label)) {}

void TerminalJobView::SetProgressPosition(int position) {
  if (position == shown_ || !terminal_.ShowsProgress()) return;
  shown_ = position;
  constexpr int kWidth = 30;
  const int filled = std::clamp(position, 0, 100) * kWidth / 100;
  std::string line = "[";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(kWidth - filled), ' ');
  line += "] ";
  line += std::to_string(position);
  line += "% ";
  line += step_;
  line += "  ";
  line += label_;
  terminal_.ShowProgress(line);
}

void TerminalJobView::SetStepLabel(const std::string& label) {
  step_ = Trimmed(label);
  shown_ = -1;
}

// Each notice comes before the job ends early, and the failure printed then says it with the
// file and the reason: printing the notice too would tell every failure twice.
void TerminalJobView::Notice(const std::string&) {}

bool TerminalJobView::AskYesNo(const std::string& text, const std::string& caption) {
  return terminal_.Ask(caption + ": " + label_ + ": " + text);
}

}  // namespace tarnwick::cli
