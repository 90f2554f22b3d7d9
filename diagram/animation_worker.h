// The workers that pace the animation, and the process-wide controls the user
// interface thread steers them with.
#pragma once

#include <atomic>

class QWidget;

inline constexpr int kStepIntervalMs = 500;

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
// worker thread for the target. intervalMs is the pause after each step.
void StartAnimationWorker(WorkerTarget target, int intervalMs = kStepIntervalMs);

// The four controls; none of them waits for a worker.
void AnimationRequestStop();
void AnimationSignalStart();
void AnimationRequestRestart();  // sets the restart flag only; the caller zeroes its counter
bool AnimationIsStopped();

// Ends and joins every worker of this process, cancelling any synchronous
// message a worker is waiting on. Touches no other process. Idempotent.
void ShutdownAnimationWorkers();
