#include "scripted_services.h"

namespace tarnwick::test {

MessageAnswer ScriptedMessageBoxes::Show(const MessageBoxRequest& request) {
  shown.push_back(request);
  if (expected_.empty()) throw ScriptFailure("unexpected message box: \"" + request.text + "\"");
  if (expected_.front().text != request.text) {
    throw ScriptFailure("message box \"" + request.text + "\" shown where \"" +
                        expected_.front().text + "\" was expected");
  }
  const Expected expected = std::move(expected_.front());
  expected_.pop_front();
  if (expected.whenShown) expected.whenShown();
  return expected.answer;
}

std::vector<std::string> ScriptedMessageBoxes::Texts() const {
  std::vector<std::string> texts;
  for (const MessageBoxRequest& request : shown) texts.push_back(request.text);
  return texts;
}

std::optional<std::vector<std::string>> ScriptedPickers::PickFiles(
    const OpenFilesRequest& request) {
  fileRequests.push_back(request);
  if (files_.empty()) throw ScriptFailure("unexpected file-open dialog: " + request.title);
  std::optional<std::vector<std::string>> files = std::move(files_.front());
  files_.pop_front();
  return files;
}

std::optional<std::string> ScriptedPickers::PickFolder(WindowHandle*, const std::string& title,
                                                       const std::string& start) {
  folderTitles.push_back(title);
  folderStarts.push_back(start);
  if (folders_.empty()) throw ScriptFailure("unexpected folder browser: " + title);
  std::optional<std::string> folder = std::move(folders_.front());
  folders_.pop_front();
  return folder;
}

int ScriptedShell::Open(const std::string& file, const std::vector<std::string>& arguments) {
  opened.push_back({file, arguments});
  return result(opened.back());
}

bool ScriptedShell::ShowDocument(const std::string& document, const std::string& programFolder) {
  shown.push_back({document, programFolder});
  return showResult(shown.back());
}

bool ScriptedTitles::Exists(const std::string& title) {
  return otherProcesses.contains(title) || shown[title] > 0;
}

std::unique_ptr<WindowTitles::Claim> ScriptedTitles::Show(const std::string& title) {
  class CountedClaim final : public Claim {
   public:
    explicit CountedClaim(int& count) : count_(++count) {}
    ~CountedClaim() override { --count_; }

   private:
    int& count_;
  };
  return std::make_unique<CountedClaim>(shown[title]);
}

void ScriptedProcessEnd::EndProcess(int exitCode) {
  loop_.Shutdown();
  throw ProgramEnded{exitCode};
}

std::optional<std::string> ScriptedEnvironment::Get(const std::string& name) {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

std::string ScriptedSettings::Read(const std::string& key, const std::string& name) {
  const auto found = keys.find(key);
  if (found == keys.end()) return {};
  const auto value = found->second.find(name);
  return value == found->second.end() ? std::string() : value->second;
}

bool ScriptedSettings::Write(const std::string& key, const std::string& name,
                             const std::string& value) {
  keys[key][name] = value;
  return true;
}

bool ScriptedSettings::RemoveKey(const std::string& key) {
  keys.erase(key);
  return true;
}

}  // namespace tarnwick::test
