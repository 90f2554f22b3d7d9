#include "desktop/animation/ui_call.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

// One lock for every call: the callers are the two workers, the calls take
// milliseconds, and cancelling has to see them all at once.
struct Gate {
  std::mutex mutex;
  std::condition_variable changed;
  bool closed = false;
};

// Never destroyed: a worker left running past static destruction must still
// find it.
Gate& TheGate() {
  static Gate* gate = new Gate;
  return *gate;
}

// What the caller and its queued call share, under the gate's lock.
struct Ticket {
  bool finished = false;  // ran, or will never run
  bool ran = false;
  bool abandoned = false;  // the caller stopped waiting: never run it
};

// Travels with the queued call. It runs the call unless the caller has given
// up on it, and when the application drops it unrun (its event queue torn
// down) its destructor still releases the caller.
class QueuedCall {
 public:
  QueuedCall(std::shared_ptr<Ticket> ticket, std::function<void()> call)
      : m_ticket(std::move(ticket)), m_call(std::move(call)) {}
  ~QueuedCall() { Finish(false); }
  QueuedCall(const QueuedCall&) = delete;
  QueuedCall& operator=(const QueuedCall&) = delete;

  void Run() {
    {
      std::lock_guard lock(TheGate().mutex);
      if (TheGate().closed || m_ticket->abandoned || m_ticket->finished) {
        return;
      }
    }
    m_call();
    Finish(true);
  }

 private:
  void Finish(bool ran) {
    std::lock_guard lock(TheGate().mutex);
    if (m_ticket->finished) {
      return;
    }
    m_ticket->finished = true;
    m_ticket->ran = ran;
    TheGate().changed.notify_all();
  }

  std::shared_ptr<Ticket> m_ticket;
  std::function<void()> m_call;
};

}  // namespace

bool CallOnUiThread(std::function<void()> call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) {
    return false;
  }
  if (QThread::currentThread() == app->thread()) {
    call();
    return true;
  }
  Gate& gate = TheGate();
  auto ticket = std::make_shared<Ticket>();
  {
    std::lock_guard lock(gate.mutex);
    if (gate.closed) {
      return false;
    }
  }
  auto queued = std::make_shared<QueuedCall>(ticket, std::move(call));
  if (!QMetaObject::invokeMethod(
          app, [queued = std::move(queued)] { queued->Run(); }, Qt::QueuedConnection)) {
    return false;
  }
  std::unique_lock lock(gate.mutex);
  gate.changed.wait(lock, [&] { return ticket->finished || gate.closed; });
  if (!ticket->finished) {
    ticket->abandoned = true;
  }
  return ticket->ran;
}

void CancelUiCalls() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  gate.closed = true;
  gate.changed.notify_all();
}

void ReopenUiCalls() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  gate.closed = false;
}
