#include "thread_workers.h"

#include <chrono>
#include <thread>

namespace tarnwick {

namespace {

class JoiningThread final : public WorkerThread {
 public:
  explicit JoiningThread(std::function<void()> work) : thread_(std::move(work)) {}
  ~JoiningThread() override { Join(); }

  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

std::unique_ptr<WorkerThread> ThreadWorkers::Start(std::function<void()> work) {
  return std::make_unique<JoiningThread>(std::move(work));
}

// A time of zero or less returns at once.
void ThreadWorkers::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace tarnwick
