// The clock, and what the C runtime and child processes see of the environment, on Windows;
// the contract that every system keeps is tested beside.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "child_program.h"
#include "native_platform.h"
#include "temp_folder.h"
#include "win32_text.h"

namespace tarnwick {
namespace {

TEST(Win32EnvironmentTest, SetValuesAreSeenByTheCRuntimeAndChildProcesses) {
  test::ScopedEnvironment restored("TARNWICK_TEST_VALUE", "old");
  NativeEnvironment().Set("TARNWICK_TEST_VALUE", " with spaces = and Ünïcödé ✓ ");
  const wchar_t* crt = ::_wgetenv(L"TARNWICK_TEST_VALUE");
  ASSERT_NE(crt, nullptr);
  EXPECT_EQ(Utf8(crt), " with spaces = and Ünïcödé ✓ ");
  // A child process inherits it.
  EXPECT_EQ(test::RunProgram("cmd.exe",
                             {"/c", "if", "not", "defined", "TARNWICK_TEST_VALUE", "exit", "1"})
                .status,
            0);
}

TEST(Win32ClockTest, NowIsTheLocalTime) {
  NativeClock clock;
  const LocalTime now = clock.Now();
  SYSTEMTIME system{};
  ::GetLocalTime(&system);
  EXPECT_EQ(now.year, system.wYear);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.minute, 59);
  EXPECT_LE(now.second, 60);
}

}  // namespace
}  // namespace tarnwick
