#pragma once

#include <functional>
#include <memory>

namespace tarnwick {

// The thread that runs every window and handler.
class WindowThread {
 public:
  virtual ~WindowThread() = default;
  // Queues a task; callable from any thread.
  virtual void Post(std::function<void()> task) = 0;
  // From a worker: runs the task on the window thread and returns when it has run.
  virtual void CallFromWorker(const std::function<void()>& task) = 0;
  // On the window thread: blocks user input for the time given while windows stay painted.
  virtual void Wait(int milliseconds) = 0;
  // On the window thread: runs the task there once the time given has passed; windows take
  // input meanwhile.
  virtual void PostAfter(int milliseconds, std::function<void()> task) = 0;
};

class WorkerThread {
 public:
  virtual ~WorkerThread() = default;
  virtual void Join() = 0;
};

class Workers {
 public:
  virtual ~Workers() = default;
  virtual std::unique_ptr<WorkerThread> Start(std::function<void()> work) = 0;
  // On a worker: sleeps for the time given.
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace tarnwick
