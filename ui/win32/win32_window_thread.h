#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <mutex>

#include "window_thread.h"

namespace tarnwick::win32 {

// The window thread is the thread whose message loops run the dialogs; construct this object on
// it. Tasks reach it through a hidden message-only window: posted ones run in the order they
// were posted, each from its own message, so windows stay responsive between them.
class Win32WindowThread final : public WindowThread {
 public:
  Win32WindowThread();
  ~Win32WindowThread() override;
  Win32WindowThread(const Win32WindowThread&) = delete;
  Win32WindowThread& operator=(const Win32WindowThread&) = delete;

  void Post(std::function<void()> task) override;
  // Blocks the worker until the task has run on the window thread; runs the task at once when
  // called on the window thread itself, where blocking would never end.
  void CallFromWorker(const std::function<void()>& task) override;
  // Keeps windows painted and tasks running, but throws away keyboard and mouse input meanwhile.
  void Wait(int milliseconds) override;
  void PostAfter(int milliseconds, std::function<void()> task) override;

 private:
  static LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunNextPosted();
  void RunTimed(UINT_PTR timer);

  DWORD threadId_;
  HWND receiver_;
  std::mutex queueMutex_;
  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, std::function<void()>> timed_;  // window thread only
  UINT_PTR lastTimer_ = 0;
};

}  // namespace tarnwick::win32
