#include "animation_worker.h"

// Placeholder until the workers land: no animation.
namespace {
std::atomic<bool> g_stopped{true};
}

void SetNotifyWindow(QWidget*) {}
void StartAnimationWorker(WorkerTarget, int) {}
void AnimationRequestStop() { g_stopped = true; }
void AnimationSignalStart() { g_stopped = false; }
void AnimationRequestRestart() {}
bool AnimationIsStopped() { return g_stopped; }
void ShutdownAnimationWorkers() {}
