// The workers that pace the animation, and the process-wide controls the user
// interface thread steers them with.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "core/numbers/series.h"

class QWidget;
class StartEvent;

// What a worker needs of its view: the window it repaints (synchronously, on
// the user interface thread), its diagram mode and its step counter.
struct WorkerTarget {
  QWidget* viewWnd = nullptr;
  int mode = 0;
  std::atomic<int>* stepCounter = nullptr;
};

// The window told (with a synchronous QTimerEvent of id 0, WM_TIMER) after
// each time-series step; null means nobody is told.
void SetNotifyWindow(QWidget* window);

// Opens the shared start event if this process has not yet, then starts one
// worker thread for the target. intervalMs is the pause after each step. The
// view and its counter must outlive the worker: call ShutdownAnimationWorkers
// before deleting either. A target without a window or counter is ignored.
void StartAnimationWorker(WorkerTarget target, int intervalMs = kStepIntervalMs);

// The four controls, for the user interface thread; none of them waits for a
// worker. The last of start and stop wins, whenever the workers act on them.
void AnimationRequestStop();
void AnimationSignalStart();
void AnimationRequestRestart();  // sets the restart flag only; the caller zeroes its counter
bool AnimationIsStopped();

// Ends and joins every worker of this process, cancelling any synchronous
// message a worker is waiting on, and returns the controls to their state at
// start-up. Touches no other process. Idempotent. User interface thread only.
void ShutdownAnimationWorkers();

// The name of the start event the next StartAnimationWorker opens (default
// "StartGraphingEvent"), so that tests do not meet a running application.
// Takes effect only while no worker runs; returns false otherwise.
bool SetStartEventName(const std::string& name);

// The worker's thread procedure and its two step loops, one per diagram mode
// (the time-series loop also notifies the window to notify after each step).
void AnimationWorkerProc(WorkerTarget target, int intervalMs);
void RunTimeSeriesSteps(QWidget* viewWnd, std::atomic<int>* stepCounter, int intervalMs);
void RunWebSteps(QWidget* viewWnd, std::atomic<int>* stepCounter, int intervalMs);

// One step of a worker that read `seen` from its view's counter: the next
// count (0 is followed by 2, never 1), stored only if the counter still holds
// `seen`. Nothing when the user interface thread zeroed it meanwhile: the
// zero stands, and the step is neither shown nor told.
std::optional<int> AdvanceStepCounter(std::atomic<int>& stepCounter, int seen);

// The process-wide controls. Written only through the functions above; here
// to be read (tests, diagnostics).
extern std::atomic<bool> g_stopRequested;
extern std::atomic<bool> g_restartRequested;
extern std::atomic<StartEvent*> g_startEvent;
extern std::atomic<QWidget*> g_notifyWnd;
extern std::atomic<std::thread::id> g_workerThread;
