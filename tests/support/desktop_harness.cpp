#include "desktop_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>

#include "control_ids.h"
#include "sample_pdf.h"
#include "system_environment.h"

namespace tarnwick::test {
namespace fs = std::filesystem;

DesktopHarness::DesktopHarness()
    : programFolder(root.File("program")),
      sourceFolder(root.File("sources")),
      destinationFolder(root.File("saved")),
      temporaryFolder(root.File("tmp")),
      desktop_{messages, pickers, shell, titles, process, environment,
               settings, files,   clock, loop,   loop} {
  for (const std::string& folder :
       {programFolder, sourceFolder, destinationFolder, temporaryFolder}) {
    fs::create_directories(folder);
  }
  tmpdir_ = std::make_unique<ScopedEnvironment>(kTemporaryFolderVariable, temporaryFolder);
  settings.Write("TWPDF", "FilePath", programFolder);
  environment.Set("PATH", "/usr/bin:/bin");
  app = std::make_unique<AppContext>(desktop_, views);
  loop.SetWorkersHeld([this] { return WorkersHeld(); });
}

DesktopHarness::~DesktopHarness() {
  loop.Shutdown();
  application.reset();
  app->jobSwitch.Stop();
  for (std::thread& call : waitingCalls_) call.join();
  app.reset();
}

bool DesktopHarness::WorkersHeld() {
  std::promise<void> returned;
  std::future<void> done = returned.get_future();
  std::thread call([this, returned = std::move(returned)]() mutable {
    app->jobSwitch.ContinueJob();
    returned.set_value();
  });
  if (done.wait_for(std::chrono::milliseconds(500)) == std::future_status::ready) {
    call.join();
    return false;
  }
  waitingCalls_.push_back(std::move(call));
  return true;
}

std::optional<int> DesktopHarness::Run(const std::vector<std::string>& arguments) {
  application = std::make_unique<CZazoRavazuApp>(*app);
  std::optional<int> exitCode;
  try {
    application->InitInstance(arguments);
  } catch (const ProgramEnded& ended) {
    exitCode = ended.exitCode;
  } catch (const ScriptFailure& failure) {
    ADD_FAILURE() << failure.what();
  }
  EXPECT_EQ(loop.StepsLeft(), 0u) << "user steps were left when the program ended";
  EXPECT_EQ(messages.Unanswered(), 0u) << "expected message boxes were never shown";
  return exitCode;
}

void DesktopHarness::Then(std::string description, std::function<void()> step) {
  loop.Then(std::move(description), std::move(step));
}

void DesktopHarness::Click(const std::string& window, int id) {
  Then("click " + std::to_string(id) + " in the " + window + " window",
       [this, window, id] { views.Open(window).Events().OnCommand(id); });
}

void DesktopHarness::Press(const std::string& window, Key key) {
  Then("press a key in the " + window + " window",
       [this, window, key] { views.Open(window).Events().OnKey(key); });
}

void DesktopHarness::CloseBox(const std::string& window) {
  Then("close the " + window + " window",
       [this, window] { views.Open(window).Events().OnClose(); });
}

void DesktopHarness::PassTime(int milliseconds) {
  Then("let " + std::to_string(milliseconds) + " ms pass",
       [this, milliseconds] { loop.PassTime(milliseconds); });
}

void DesktopHarness::AddFiles(const std::vector<std::string>& paths) {
  pickers.NextFiles(paths);
  Click("main", 1001);
}

void DesktopHarness::Repair(const std::vector<std::string>& paths) {
  AddFiles(paths);
  Click("main", 1005);
}

std::string DesktopHarness::WriteSource(const std::string& name, int pages) {
  const std::string path = sourceFolder + "/" + name;
  WriteFile(path, SamplePdf(name, pages));
  return path;
}

std::string DesktopHarness::WriteTornSource(const std::string& name) {
  const std::string path = sourceFolder + "/" + name;
  std::string pdf = SamplePdf(name, 3);
  // Object 5, the second page, loses the keyword that makes it an object.
  pdf.replace(pdf.find("\n5 0 obj") + 5, 3, "xbj");
  WriteFile(path, pdf);
  return path;
}

std::string DesktopHarness::WriteLargeSource(const std::string& name) {
  return WriteSource(name, 400);
}

std::vector<std::string> DesktopHarness::WorkCopies() const {
  std::vector<std::string> copies;
  const fs::path privateFolder = PrivateFolderIn(temporaryFolder);
  if (!fs::exists(privateFolder)) return copies;
  for (const auto& entry : fs::recursive_directory_iterator(privateFolder)) {
    copies.push_back(entry.path().generic_string());
  }
  std::sort(copies.begin(), copies.end());
  return copies;
}

std::string DesktopHarness::Log() const {
  const std::string path = programFolder + "/Activity Log.txt";
  return fs::exists(path) ? ReadFile(path) : std::string();
}

bool AnalysisPast(DesktopHarness& h, int position) {
  return h.views.Opened("analysis") > 0 &&
         h.views.Open("analysis").progress[ids::kAnalysisProgress] > position;
}

bool SavingPast(DesktopHarness& h, int position) {
  return h.views.Opened("saving") > 0 &&
         h.views.Open("saving").progress[ids::kCurrentProgress] > position;
}

}  // namespace tarnwick::test
