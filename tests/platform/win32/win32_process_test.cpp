// The clock, worker threads, the end of the process and the environment on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>

#include "child_program.h"
#include "native_platform.h"
#include "temp_folder.h"
#include "win32_process_services.h"
#include "win32_text.h"

namespace tarnwick {
namespace {

std::string gExitMarker;  // written by an atexit handler, if one runs

TEST(Win32ProcessEndDeathTest, EndsAtOnceWithTheCodeAndWithoutShutdownHandlers) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The child runs this test again from its start and leaves without unwinding, so the marker
  // has a name that both know, in no folder of its own that the child would leave behind.
  wchar_t temporary[MAX_PATH + 2] = {};
  ::GetTempPathW(MAX_PATH + 2, temporary);
  gExitMarker = Utf8(temporary) + "tarnwick-test-atexit-ran";
  ::DeleteFileW(LongPath(gExitMarker).c_str());
  EXPECT_EXIT(
      {
        std::atexit([] { test::WriteFile(gExitMarker, ""); });
        Win32ProcessEnd().EndProcess(7);
      },
      ::testing::ExitedWithCode(7), "");
  EXPECT_EQ(::GetFileAttributesW(LongPath(gExitMarker).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32EnvironmentTest, SetValuesAreSeenByTheProcessAndUnsetOnesAreNothing) {
  NativeEnvironment environment;
  environment.Set("TARNWICK_TEST_VALUE", " with spaces = and Ünïcödé ✓ ");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), " with spaces = and Ünïcödé ✓ ");
  const wchar_t* crt = ::_wgetenv(L"TARNWICK_TEST_VALUE");
  ASSERT_NE(crt, nullptr);
  EXPECT_EQ(Utf8(crt), " with spaces = and Ünïcödé ✓ ");
  // A child process inherits it.
  EXPECT_EQ(
      test::RunProgram("cmd.exe", {"/c", "if", "not", "defined", "TARNWICK_TEST_VALUE", "exit", "1"})
          .status,
      0);
  const std::string longValue(5000, 'v');
  environment.Set("TARNWICK_TEST_VALUE", longValue);
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), longValue);
  environment.Set("TARNWICK_TEST_VALUE", "");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), "");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_SURELY_UNSET"), std::nullopt);
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

TEST(Win32WorkersTest, AWorkerRunsOnItsOwnThreadAndIsJoinedWhenItsHandleGoes) {
  NativeWorkers workers;
  std::atomic<DWORD> workerThread{0};
  std::atomic<bool> finished{false};
  {
    auto worker = workers.Start([&] {
      workerThread = ::GetCurrentThreadId();
      NativeWorkers().Sleep(50);
      finished = true;
    });
  }
  EXPECT_TRUE(finished);
  EXPECT_NE(workerThread.load(), ::GetCurrentThreadId());

  finished = false;
  auto worker = workers.Start([&] { finished = true; });
  worker->Join();
  EXPECT_TRUE(finished);
  worker->Join();  // a second join does nothing
}

TEST(Win32WorkersTest, SleepWaitsAboutAsLongAsAsked) {
  NativeWorkers workers;
  const auto start = std::chrono::steady_clock::now();
  workers.Sleep(100);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(90));
  EXPECT_LT(waited, std::chrono::seconds(5));
  workers.Sleep(0);
  workers.Sleep(-1);  // nothing to wait for
}

}  // namespace
}  // namespace tarnwick
