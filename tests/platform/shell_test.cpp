// Starting programs and documents: real scripts written into a temporary folder record how they
// were started.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "posix_shell.h"
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
};

TEST_F(ShellTest, AProgramGetsEachArgumentWholeAndRunsDetached) {
  PosixShell shell;
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
  PosixShell shell(WriteRecorder("opener"));
  const std::string document = folder_.File("damaged file.pdf");
  WriteFile(document, "%PDF-1.4\n");
  WriteFile(folder_.File("release"), "");
  ASSERT_EQ(shell.Open(document, {"ignored"}), PosixShell::kStarted);
  ASSERT_TRUE(AppearsSoon(folder_.File("argv")));
  EXPECT_EQ(ReadFile(folder_.File("argv")), document + "\n");
}

TEST_F(ShellTest, AMissingFileIsNotFound) {
  PosixShell shell(WriteRecorder("opener"));
  EXPECT_EQ(shell.Open(folder_.File("missing.pdf"), {}), PosixShell::kFileNotFound);
  EXPECT_EQ(shell.Open(folder_.File("missing/program"), {"x"}), PosixShell::kFileNotFound);
}

TEST_F(ShellTest, WhatCannotBeExecutedIsAFailedStart) {
  const std::string document = folder_.File("document.pdf");
  WriteFile(document, "%PDF-1.4\n");
  EXPECT_EQ(PosixShell(folder_.File("no-such-opener")).Open(document, {}),
            PosixShell::kCannotStart);
  EXPECT_EQ(PosixShell("tarnwick-no-such-opener-in-path").Open(document, {}),
            PosixShell::kCannotStart);

  const std::string broken = folder_.File("broken.sh");
  WriteFile(broken, "#!/no/such/interpreter\n");
  ::chmod(broken.c_str(), 0755);
  EXPECT_EQ(PosixShell(folder_.File("no-such-opener")).Open(broken, {}), PosixShell::kCannotStart);
}

}  // namespace
}  // namespace tarnwick
