// The window thread on the message loop: posted tasks in order, calls from workers that wait for
// their task, timed tasks, and waits that keep tasks running but drop the user's input.
#include "win32_window_thread.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "pump_messages.h"

using tarnwick::test::PumpUntil;
using tarnwick::win32::Win32WindowThread;

namespace {

TEST(WindowThreadTest, PostedTasksRunInTheOrderPosted) {
  Win32WindowThread thread;
  std::vector<int> order;
  for (int task = 1; task <= 5; ++task) thread.Post([&order, task] { order.push_back(task); });
  EXPECT_TRUE(order.empty());  // nothing runs before the loop takes the messages
  ASSERT_TRUE(PumpUntil([&] { return order.size() == 5; }));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(WindowThreadTest, TasksPostedFromAWorkerRunOnTheWindowThread) {
  Win32WindowThread thread;
  const DWORD windowThreadId = GetCurrentThreadId();
  DWORD ranOn = 0;
  std::thread worker([&] { thread.Post([&] { ranOn = GetCurrentThreadId(); }); });
  worker.join();
  ASSERT_TRUE(PumpUntil([&] { return ranOn != 0; }));
  EXPECT_EQ(ranOn, windowThreadId);
}

TEST(WindowThreadTest, CallFromWorkerReturnsOnceItsTaskHasRunOnTheWindowThread) {
  Win32WindowThread thread;
  const DWORD windowThreadId = GetCurrentThreadId();
  DWORD ranOn = 0;
  bool ranBeforeReturn = false;
  bool workerDone = false;
  std::thread worker([&] {
    thread.CallFromWorker([&] { ranOn = GetCurrentThreadId(); });
    ranBeforeReturn = ranOn != 0;
    workerDone = true;
  });
  const bool finished = PumpUntil([&] { return workerDone; });
  worker.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(ranOn, windowThreadId);
  EXPECT_TRUE(ranBeforeReturn);
}

TEST(WindowThreadTest, CallFromWorkerOnTheWindowThreadRunsAtOnce) {
  Win32WindowThread thread;
  bool ran = false;
  thread.CallFromWorker([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(WindowThreadTest, TimedTasksRunAfterTheirTimeInTheOrderOfTheirEnds) {
  Win32WindowThread thread;
  std::vector<int> order;
  const ULONGLONG start = GetTickCount64();
  ULONGLONG firstRanAfter = 0;
  thread.PostAfter(300, [&] { order.push_back(300); });
  thread.PostAfter(100, [&] {
    order.push_back(100);
    firstRanAfter = GetTickCount64() - start;
  });
  ASSERT_TRUE(PumpUntil([&] { return order.size() == 2; }));
  EXPECT_EQ(order, (std::vector<int>{100, 300}));
  // The timer's granularity may end the wait a little early.
  EXPECT_GE(firstRanAfter, 80U);
}

TEST(WindowThreadTest, WaitRunsTasksButDropsKeysAndClicks) {
  Win32WindowThread thread;
  const HWND window = CreateWindowExW(0, L"Button", L"target", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                      40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  bool taskRan = false;
  thread.Post([&] { taskRan = true; });
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(window, WM_LBUTTONDOWN, 0, 0);
  const ULONGLONG start = GetTickCount64();
  thread.Wait(200);
  EXPECT_GE(GetTickCount64() - start, 190U);
  EXPECT_TRUE(taskRan);
  MSG left;
  EXPECT_FALSE(PeekMessageW(&left, window, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
  EXPECT_FALSE(PeekMessageW(&left, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
  // The button would have taken the press as its own had the click come through.
  EXPECT_EQ(SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  DestroyWindow(window);
}

}  // namespace
