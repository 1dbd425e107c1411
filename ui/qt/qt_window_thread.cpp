#include "qt_window_thread.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace tarnwick::qt {

QtWindowThread::QtWindowThread() = default;

void QtWindowThread::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(&receiver_, std::move(task), Qt::QueuedConnection);
}

void QtWindowThread::CallFromWorker(const std::function<void()>& task) {
  if (QThread::currentThread() == receiver_.thread()) {
    task();
    return;
  }
  QMetaObject::invokeMethod(&receiver_, [&task] { task(); }, Qt::BlockingQueuedConnection);
}

void QtWindowThread::Wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtWindowThread::PostAfter(int milliseconds, std::function<void()> task) {
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &receiver_, std::move(task));
}

}  // namespace tarnwick::qt
