#include "win32_workers.h"

#include <windows.h>

#include <thread>

namespace tarnwick {

namespace {

class Win32WorkerThread final : public WorkerThread {
 public:
  explicit Win32WorkerThread(std::function<void()> work) : thread_(std::move(work)) {}
  ~Win32WorkerThread() override { Join(); }

  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

std::unique_ptr<WorkerThread> Win32Workers::Start(std::function<void()> work) {
  return std::make_unique<Win32WorkerThread>(std::move(work));
}

void Win32Workers::Sleep(int milliseconds) {
  ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

}  // namespace tarnwick
