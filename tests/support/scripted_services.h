#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "message_boxes.h"
#include "pickers.h"
#include "process_services.h"
#include "scripted_event_loop.h"
#include "settings_store.h"
#include "shell.h"
#include "window_titles.h"

namespace tarnwick::test {

// Message boxes answered from the script, in order. One the script does not expect, or whose
// text differs from the next expected one, fails the test with its text.
class ScriptedMessageBoxes final : public MessageBoxes {
 public:
  // `whenShown` runs while the box is open, before it is answered.
  void Expect(std::string text, MessageAnswer answer, std::function<void()> whenShown = {}) {
    expected_.push_back({std::move(text), answer, std::move(whenShown)});
  }
  MessageAnswer Show(const MessageBoxRequest& request) override;

  std::size_t Unanswered() const { return expected_.size(); }
  std::vector<std::string> Texts() const;

  std::vector<MessageBoxRequest> shown;

 private:
  struct Expected {
    std::string text;
    MessageAnswer answer;
    std::function<void()> whenShown;
  };
  std::deque<Expected> expected_;
};

// The file-open dialog and the folder browser, answered from the script.
class ScriptedPickers final : public Pickers {
 public:
  void NextFiles(std::optional<std::vector<std::string>> files) {
    files_.push_back(std::move(files));
  }
  void NextFolder(std::optional<std::string> folder) { folders_.push_back(std::move(folder)); }

  std::optional<std::vector<std::string>> PickFiles(const OpenFilesRequest& request) override;
  std::optional<std::string> PickFolder(WindowHandle* owner, const std::string& title,
                                        const std::string& start) override;

  std::vector<OpenFilesRequest> fileRequests;
  std::vector<std::string> folderTitles;
  std::vector<std::string> folderStarts;

 private:
  std::deque<std::optional<std::vector<std::string>>> files_;
  std::deque<std::optional<std::string>> folders_;
};

struct ShellOpen {
  std::string file;
  std::vector<std::string> arguments;
};

struct ShownDocument {
  std::string document;
  std::string programFolder;
};

// Records what the program opens and shows; `result` and `showResult` decide what each open and
// each show reports.
class ScriptedShell final : public Shell {
 public:
  int Open(const std::string& file, const std::vector<std::string>& arguments) override;
  bool ShowDocument(const std::string& document, const std::string& programFolder) override;

  std::vector<ShellOpen> opened;
  std::function<int(const ShellOpen&)> result = [](const ShellOpen&) { return 42; };
  std::vector<ShownDocument> shown;
  std::function<bool(const ShownDocument&)> showResult = [](const ShownDocument&) { return true; };
};

// Window titles of this process and of other processes the test pretends to run.
class ScriptedTitles final : public WindowTitles {
 public:
  bool Exists(const std::string& title) override;
  std::unique_ptr<Claim> Show(const std::string& title) override;
  void WithdrawAll() override { ++withdrawals; }

  std::set<std::string> otherProcesses;
  int withdrawals = 0;               // of every title at once
  std::map<std::string, int> shown;  // claims alive per title
};

// The program's end unwinds to the test with the exit code.
struct ProgramEnded {
  int exitCode = 0;
};

class ScriptedProcessEnd final : public ProcessEnd {
 public:
  explicit ScriptedProcessEnd(ScriptedEventLoop& loop) : loop_(loop) {}
  [[noreturn]] void EndProcess(int exitCode) override;

 private:
  ScriptedEventLoop& loop_;
};

class ScriptedEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override;
  void Set(const std::string& name, const std::string& value) override { values[name] = value; }

  std::map<std::string, std::string> values;
};

class ScriptedSettings final : public SettingsStore {
 public:
  std::string Read(const std::string& key, const std::string& name) override;
  bool Write(const std::string& key, const std::string& name, const std::string& value) override;
  bool RemoveKey(const std::string& key) override;

  std::map<std::string, std::map<std::string, std::string>> keys;
};

}  // namespace tarnwick::test
