#include "desktop/animation/animation_worker.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/numbers/step_rules.h"
#include "desktop/animation/start_event.h"
#include "desktop/animation/ui_call.h"

std::atomic<bool> g_stopRequested{true};
std::atomic<bool> g_restartRequested{false};
std::atomic<StartEvent*> g_startEvent{nullptr};
std::atomic<QWidget*> g_notifyWnd{nullptr};
std::atomic<std::thread::id> g_workerThread{};

namespace {

// Orders the user interface thread's requests against the workers' decisions:
// a worker looks at the flags and changes the event under this lock, so no
// start or stop can fall between its look and its act. Nobody holds it across
// a wait, a sleep or a message, so taking it never waits for a worker.
struct Control {
  std::mutex mutex;
  // Pacing sleeps and idling at the limit wait here; every request and the
  // shutdown wake them.
  std::condition_variable wake;
  // The event's word when the stop flag was last set: the stop stands until
  // the event is signalled again after it (by another instance; a local start
  // clears the flag).
  StartEventWord stopWord = 0;
};

// The workers of this process and the event they share. Never destroyed, so
// that a process that exits without shutting the workers down is not
// terminated by a joinable thread: they simply end with it.
struct Registry {
  std::mutex mutex;
  std::vector<std::thread> workers;
  std::unique_ptr<StartEvent> event;
  std::string eventName = kStartEventName;
};

Control& TheControl() {
  static Control* control = new Control;
  return *control;
}

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

std::atomic<bool> g_shuttingDown{false};

// Under the control lock. True while the latest local stop is still in force
// against the event: nothing has signalled the event since it was made.
bool LocalStopStands(StartEventWord word) {
  return g_stopRequested.load() && (word == TheControl().stopWord || !IsSignalledWord(word));
}

// Blocks until the animation may run: the event was signalled, and no local
// stop came after that. On the way clears both flags. False at shutdown.
bool WaitForStart() {
  for (;;) {
    StartEvent* event = g_startEvent.load();
    if (event->Wait(g_shuttingDown) == StartEventWait::kCancelled) {
      return false;
    }
    std::lock_guard lock(TheControl().mutex);
    if (g_shuttingDown.load()) {
      return false;
    }
    if (LocalStopStands(event->Word())) {
      event->Reset();  // started and stopped again before we woke: the stop wins
      continue;
    }
    g_restartRequested.store(false);
    g_stopRequested.store(false);
    return true;
  }
}

// After a run: a stop that stands resets the event, so that every worker
// waits. A run ended by a restart leaves it alone and starts over at once.
void EndRun() {
  std::lock_guard lock(TheControl().mutex);
  StartEvent* event = g_startEvent.load();
  if (LocalStopStands(event->Word())) {
    event->Reset();
  }
}

// The pause after a step. Only the shutdown cuts it short: a stop or restart
// takes effect when it is over, so toggling twice within it changes nothing.
void PaceSleep(int intervalMs) {
  std::unique_lock lock(TheControl().mutex);
  TheControl().wake.wait_for(lock, std::chrono::milliseconds(intervalMs),
                             [] { return g_shuttingDown.load(); });
}

// At the limit: sleeps until a request, the shutdown, or one interval at most,
// after which the caller looks at the counter again (the user interface thread
// zeroes it without telling anyone).
void IdleAtLimit(const std::atomic<int>& stepCounter, int intervalMs) {
  std::unique_lock lock(TheControl().mutex);
  TheControl().wake.wait_for(lock, std::chrono::milliseconds(std::max(intervalMs, 1)), [&] {
    return g_shuttingDown.load() || g_stopRequested.load() || g_restartRequested.load() ||
           stepCounter.load() < kSeriesLength;
  });
}

// WM_PAINT: the view draws whatever count it holds when the call runs, so a
// reset made meanwhile is what it shows.
void SendPaint(QWidget* viewWnd) {
  CallOnUiThread([viewWnd] { viewWnd->repaint(); });
}

// WM_TIMER to the window to notify, unless the step was undone by a reset
// before the message could be handled: the log must not record a step the
// counter no longer shows.
void SendStepNotification(const std::atomic<int>* stepCounter, int step) {
  if (g_notifyWnd.load() == nullptr) {
    return;
  }
  CallOnUiThread([stepCounter, step] {
    QWidget* notifyWnd = g_notifyWnd.load();
    if (notifyWnd == nullptr || stepCounter->load() != step) {
      return;
    }
    QTimerEvent timer(0);
    QCoreApplication::sendEvent(notifyWnd, &timer);
  });
}

void RunSteps(QWidget* viewWnd, std::atomic<int>* stepCounter, bool notifies, int intervalMs) {
  for (;;) {
    if (g_shuttingDown.load() || g_stopRequested.load() || g_restartRequested.load()) {
      return;
    }
    int current = stepCounter->load();
    if (current >= kSeriesLength) {
      IdleAtLimit(*stepCounter, intervalMs);
      continue;
    }
    const std::optional<int> next = AdvanceStepCounter(*stepCounter, current);
    if (!next) {
      continue;  // zeroed meanwhile: the step is dropped unshown and taken from zero
    }
    SendPaint(viewWnd);
    if (notifies) {
      SendStepNotification(stepCounter, *next);
    }
    PaceSleep(intervalMs);
  }
}

}  // namespace

std::optional<int> AdvanceStepCounter(std::atomic<int>& stepCounter, int seen) {
  const int next = NextShownStep(seen);
  // Only the user interface thread writes the counter besides the worker,
  // to zero it or to put it at a step the user went to: a compare-and-swap
  // lets that count win.
  if (!stepCounter.compare_exchange_strong(seen, next)) {
    return std::nullopt;
  }
  return next;
}

void RunTimeSeriesSteps(QWidget* viewWnd, std::atomic<int>* stepCounter, int intervalMs) {
  RunSteps(viewWnd, stepCounter, true, intervalMs);
}

void RunWebSteps(QWidget* viewWnd, std::atomic<int>* stepCounter, int intervalMs) {
  RunSteps(viewWnd, stepCounter, false, intervalMs);
}

// One worker's life: wait for a start, step, and again, until the shutdown.
void AnimationWorkerProc(WorkerTarget target, int intervalMs) {
  while (WaitForStart()) {
    if (target.mode == 0) {
      RunTimeSeriesSteps(target.viewWnd, target.stepCounter, intervalMs);
    } else {
      RunWebSteps(target.viewWnd, target.stepCounter, intervalMs);
    }
    if (g_shuttingDown.load()) {
      return;
    }
    EndRun();
  }
}

void SetNotifyWindow(QWidget* window) {
  g_notifyWnd.store(window);
}

void StartAnimationWorker(WorkerTarget target, int intervalMs) {
  if (target.viewWnd == nullptr || target.stepCounter == nullptr) {
    return;
  }
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  if (!registry.event) {
    registry.event = OpenStartEvent(registry.eventName);
    g_startEvent.store(registry.event.get());
  }
  registry.workers.emplace_back(AnimationWorkerProc, target, std::max(intervalMs, 0));
  g_workerThread.store(registry.workers.back().get_id());
}

void AnimationRequestStop() {
  Control& control = TheControl();
  {
    std::lock_guard lock(control.mutex);
    g_stopRequested.store(true);
    StartEvent* event = g_startEvent.load();
    control.stopWord = event != nullptr ? event->Word() : 0;
  }
  control.wake.notify_all();
}

void AnimationSignalStart() {
  Control& control = TheControl();
  {
    std::lock_guard lock(control.mutex);
    // Cleared here, not only when a worker wakes: a stop still waiting to be
    // seen must not outlive the start that follows it.
    g_stopRequested.store(false);
    if (StartEvent* event = g_startEvent.load()) {
      event->Set();
    }
  }
  control.wake.notify_all();
}

void AnimationRequestRestart() {
  Control& control = TheControl();
  {
    std::lock_guard lock(control.mutex);
    g_restartRequested.store(true);
  }
  control.wake.notify_all();
}

bool AnimationIsStopped() {
  return g_stopRequested.load();
}

void ShutdownAnimationWorkers() {
  Registry& registry = TheRegistry();
  std::lock_guard registryLock(registry.mutex);
  Control& control = TheControl();
  {
    std::lock_guard lock(control.mutex);
    g_shuttingDown.store(true);
  }
  control.wake.notify_all();
  if (StartEvent* event = g_startEvent.load()) {
    event->WakeLocalWaiters();  // never Set: that would start the other instances
  }
  CancelUiCalls();
  for (std::thread& worker : registry.workers) {
    worker.join();
  }
  registry.workers.clear();
  ReopenUiCalls();
  {
    std::lock_guard lock(control.mutex);
    g_shuttingDown.store(false);
    g_stopRequested.store(true);
    g_restartRequested.store(false);
    control.stopWord = 0;
  }
  g_notifyWnd.store(nullptr);
  g_workerThread.store(std::thread::id());
}

bool SetStartEventName(const std::string& name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  if (!registry.workers.empty()) {
    return false;
  }
  registry.eventName = name;
  g_startEvent.store(nullptr);
  registry.event.reset();
  return true;
}
