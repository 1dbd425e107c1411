#pragma once

#include <QObject>

#include "window_thread.h"

namespace tarnwick::qt {

// The window thread is the thread of the Qt application; construct this object on it.
class QtWindowThread final : public WindowThread {
 public:
  QtWindowThread();

  void Post(std::function<void()> task) override;
  // Blocks the worker until the task has run on the window thread; runs the task at once when
  // called on the window thread itself, where blocking would never end.
  void CallFromWorker(const std::function<void()>& task) override;
  // Keeps windows painted and queued tasks running, but takes no user input meanwhile.
  void Wait(int milliseconds) override;
  void PostAfter(int milliseconds, std::function<void()> task) override;

 private:
  QObject receiver_;
};

}  // namespace tarnwick::qt
