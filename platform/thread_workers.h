#pragma once

#include "window_thread.h"

namespace tarnwick {

// Workers as threads of this process. A worker that was never joined is joined when its handle
// goes, so that no thread outlives what it works on.
class ThreadWorkers final : public Workers {
 public:
  std::unique_ptr<WorkerThread> Start(std::function<void()> work) override;
  void Sleep(int milliseconds) override;
};

}  // namespace tarnwick
