#include "event_loop_wait.h"

#include <QEventLoop>
#include <QTimer>

void RunEventLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

bool RunEventLoopUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs) {
  if (condition()) {
    return true;
  }
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (condition()) {
      loop.quit();
    }
  });
  poll.start(pollMs);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return condition();
}
