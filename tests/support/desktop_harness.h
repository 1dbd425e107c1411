#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app_context.h"
#include "application.h"
#include "main_window.h"
#include "native_platform.h"
#include "scripted_event_loop.h"
#include "scripted_services.h"
#include "scripted_views.h"
#include "temp_folder.h"

namespace tarnwick::test {

// The local time of the system, unless a test fixes it to put repairs into one work folder.
class HarnessClock final : public Clock {
 public:
  LocalTime Now() override { return fixed ? *fixed : system_.Now(); }
  std::optional<LocalTime> fixed;

 private:
  NativeClock system_;
};

// The whole desktop program on the scripted desktop, with real files: a program folder whose
// path the settings give, a private temporary folder for the work copies, and folders for
// sources and saved copies, all inside one temporary folder. Tests script the user's steps and
// answers, then Run the program and look at what it showed and left on disk.
class DesktopHarness {
 public:
  DesktopHarness();
  ~DesktopHarness();

  // Runs the program until it ends; its exit code, or nothing when start-up returned. A script
  // failure, an unused step or an unanswered expected message box fails the test.
  std::optional<int> Run(const std::vector<std::string>& arguments = {});

  // User steps, run in order whenever the program waits for the user.
  void Then(std::string description, std::function<void()> step);
  void Click(const std::string& window, int id);
  void Press(const std::string& window, Key key);
  void CloseBox(const std::string& window);
  // The user does nothing while the time given passes; timed tasks of the program run.
  void PassTime(int milliseconds);
  // Picks files in the Open dialog (scripted) and clicks Browse.
  void AddFiles(const std::vector<std::string>& paths);
  // Adds the files and clicks Repair: the analysis of the first file follows.
  void Repair(const std::vector<std::string>& paths);
  void Expect(std::string text, MessageAnswer answer, std::function<void()> whenShown = {}) {
    messages.Expect(std::move(text), answer, std::move(whenShown));
  }

  // A small valid PDF with `pages` pages, written into the sources folder.
  std::string WriteSource(const std::string& name, int pages = 1);
  // A PDF of three pages whose second page's object was lost.
  std::string WriteTornSource(const std::string& name);
  // A PDF large enough that its repair reports progress many times.
  std::string WriteLargeSource(const std::string& name);
  // Files left in the work folders of the private temporary folder, with forward slashes as the
  // platform names them.
  std::vector<std::string> WorkCopies() const;
  std::string Log() const;

  AppContext& App() { return *app; }
  // Whether a job's worker would wait at the job switch now, paused and not stopped: a call of
  // the switch's own that does not return within half a second.
  bool WorkersHeld();

  TempFolder root;
  std::string programFolder;
  std::string sourceFolder;
  std::string destinationFolder;
  std::string temporaryFolder;  // what TMPDIR names while the harness lives

  ScriptedEventLoop loop;
  ScriptedMessageBoxes messages;
  ScriptedPickers pickers;
  ScriptedShell shell;
  ScriptedTitles titles;
  ScriptedProcessEnd process{loop};
  ScriptedEnvironment environment;
  ScriptedSettings settings;
  NativeDesktopFiles files;
  HarnessClock clock;
  ScriptedViews views{loop};

 private:
  std::unique_ptr<ScopedEnvironment> tmpdir_;
  Desktop desktop_;
  std::unique_ptr<AppContext> app;
  std::unique_ptr<CZazoRavazuApp> application;
  std::vector<std::thread> waitingCalls_;  // calls of WorkersHeld still waiting at the switch
};

// True once a job's bar in the analysis (or saving) dialog has passed `position`: where tests
// step in during a repair.
bool AnalysisPast(DesktopHarness& h, int position);
bool SavingPast(DesktopHarness& h, int position);

}  // namespace tarnwick::test
