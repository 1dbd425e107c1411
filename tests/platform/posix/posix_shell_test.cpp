// Starting programs and documents: real scripts written into a temporary folder record how they
// were started.
#include "posix_shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>

#include "posix_process_services.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::WriteFile;

// Waits for a file that a started program writes (renamed into place when complete); false
// after ten seconds, far more than a start takes on a loaded machine.
bool AppearsSoon(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The environment as a table, so that the test process's own search path stays as it is.
class TableEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
  void Set(const std::string& name, const std::string& value) override { values[name] = value; }

  std::map<std::string, std::string> values;
};

class ShellTest : public ::testing::Test {
 protected:
  // A program that records its arguments (one per line), its standard input and its session,
  // then waits for "release" (for at most ten seconds) and records whether it came.
  std::string WriteRecorder(const std::string& name) {
    const std::string path = folder_.File(name);
    WriteFile(
        path,
        "#!/bin/sh\n"
        "out='" +
            folder_.Path() +
            "'\n"
            "printf '%s\\n' \"$@\" > \"$out/argv.part\" && mv \"$out/argv.part\" \"$out/argv\"\n"
            "readlink /proc/self/fd/0 > \"$out/stdin\"\n"
            "cut -d' ' -f6 /proc/$$/stat > \"$out/session\"\n"
            "i=0\n"
            "while [ ! -e \"$out/release\" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i+1)); done\n"
            "if [ -e \"$out/release\" ]; then echo released; else echo waited; fi"
            " > \"$out/end.part\" && mv \"$out/end.part\" \"$out/end\"\n");
    ::chmod(path.c_str(), 0755);
    return path;
  }

  test::TempFolder folder_;
  PosixEnvironment environment_;
};

TEST_F(ShellTest, AProgramGetsEachArgumentWholeAndRunsDetached) {
  PosixShell shell(environment_);
  const std::string program = WriteRecorder("program with space.sh");
  ASSERT_EQ(shell.Open(program, {"/tmp/my file.pdf", "", "two  spaces ", "-x"}),
            PosixShell::kStarted);
  // Open waited for no one: the child in between is reaped and the program is not ours.
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  ASSERT_TRUE(AppearsSoon(folder_.File("argv")));
  EXPECT_EQ(ReadFile(folder_.File("argv")), "/tmp/my file.pdf\n\ntwo  spaces \n-x\n");
  // The program still runs (it waits for the release), so Open did not wait for its end.
  WriteFile(folder_.File("release"), "");
  ASSERT_TRUE(AppearsSoon(folder_.File("end")));
  EXPECT_EQ(ReadFile(folder_.File("end")), "released\n");
  EXPECT_EQ(ReadFile(folder_.File("stdin")), "/dev/null\n");
  EXPECT_NE(ReadFile(folder_.File("session")), std::to_string(::getsid(0)) + "\n");
}

TEST_F(ShellTest, ADocumentGoesToTheOpenerWithoutTheArguments) {
  PosixShell shell(environment_, WriteRecorder("opener"));
  const std::string document = folder_.File("damaged file.pdf");
  WriteFile(document, "%PDF-1.4\n");
  WriteFile(folder_.File("release"), "");
  ASSERT_EQ(shell.Open(document, {"ignored"}), PosixShell::kStarted);
  ASSERT_TRUE(AppearsSoon(folder_.File("argv")));
  EXPECT_EQ(ReadFile(folder_.File("argv")), document + "\n");
}

TEST_F(ShellTest, AMissingFileIsNotFound) {
  PosixShell shell(environment_, WriteRecorder("opener"));
  EXPECT_EQ(shell.Open(folder_.File("missing.pdf"), {}), PosixShell::kFileNotFound);
  EXPECT_EQ(shell.Open(folder_.File("missing/program"), {"x"}), PosixShell::kFileNotFound);
}

TEST_F(ShellTest, WhatCannotBeExecutedIsAFailedStart) {
  const std::string document = folder_.File("document.pdf");
  WriteFile(document, "%PDF-1.4\n");
  EXPECT_EQ(PosixShell(environment_, folder_.File("no-such-opener")).Open(document, {}),
            PosixShell::kCannotStart);
  EXPECT_EQ(PosixShell(environment_, "tarnwick-no-such-opener-in-path").Open(document, {}),
            PosixShell::kCannotStart);

  const std::string broken = folder_.File("broken.sh");
  WriteFile(broken, "#!/no/such/interpreter\n");
  ::chmod(broken.c_str(), 0755);
  EXPECT_EQ(PosixShell(environment_, folder_.File("no-such-opener")).Open(broken, {}),
            PosixShell::kCannotStart);
}

TEST(ShowDocumentTest, TheSystemViewerIsXdgOpenByItsFullPath) {
  EXPECT_STREQ(PosixShell::kSystemViewer, "/usr/bin/xdg-open");
}

// The document goes to the opener first; only when that cannot start does the system's viewer
// get it, as its one argument.
TEST_F(ShellTest, ADocumentIsShownByTheOpenerElseByTheSystemViewer) {
  struct Row {
    const char* name;
    bool openerRuns;
    bool viewerRuns;
    bool shown;
  };
  for (const Row& row :
       {Row{"the opener starts", true, false, true}, Row{"the viewer starts", false, true, true},
        Row{"neither starts", false, false, false}}) {
    SCOPED_TRACE(row.name);
    test::TempFolder run;
    std::filesystem::remove(folder_.File("argv"));
    const std::string recorder = WriteRecorder("recorder");
    const std::string missing = folder_.File("no-such-program");
    const std::string document = run.File("Tarnwick for Adobe PDF.html");
    WriteFile(document, "<html></html>");
    WriteFile(folder_.File("release"), "");
    TableEnvironment environment;
    PosixShell shell(environment, row.openerRuns ? recorder : missing,
                     row.viewerRuns ? recorder : missing);
    EXPECT_EQ(shell.ShowDocument(document, run.Path()), row.shown);
    if (!row.shown) continue;
    ASSERT_TRUE(AppearsSoon(folder_.File("argv")));
    EXPECT_EQ(ReadFile(folder_.File("argv")), document + "\n");
  }
}

// An empty entry would put the current folder on the search path.
TEST(ShowDocumentTest, AddsOnlyAProgramFolderToTheSearchPath) {
  struct Row {
    std::optional<std::string> path;
    std::string programFolder;
    std::optional<std::string> expected;
  };
  for (const Row& row :
       {Row{"/usr/bin:/bin", "/opt/tarnwick", "/usr/bin:/bin:/opt/tarnwick"},
        Row{"/usr/bin:/bin", "", "/usr/bin:/bin"}, Row{"", "/opt/tarnwick", "/opt/tarnwick"},
        Row{std::nullopt, "/opt/tarnwick", std::nullopt}}) {
    SCOPED_TRACE(row.path.value_or("no PATH") + " with program folder " + row.programFolder);
    TableEnvironment environment;
    if (row.path) environment.Set("PATH", *row.path);
    PosixShell shell(environment, "/no/such/opener", "/no/such/viewer");
    EXPECT_FALSE(shell.ShowDocument(row.programFolder + "/missing.html", row.programFolder));
    EXPECT_EQ(environment.Get("PATH"), row.expected);
  }
}

}  // namespace
}  // namespace tarnwick
