#include "posix_workers.h"

#include <chrono>
#include <thread>

namespace tarnwick {

namespace {

class PosixWorkerThread final : public WorkerThread {
 public:
  explicit PosixWorkerThread(std::function<void()> work) : thread_(std::move(work)) {}
  ~PosixWorkerThread() override { Join(); }

  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

std::unique_ptr<WorkerThread> PosixWorkers::Start(std::function<void()> work) {
  return std::make_unique<PosixWorkerThread>(std::move(work));
}

void PosixWorkers::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace tarnwick
