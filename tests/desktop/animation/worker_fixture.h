// Plain windows that stand in for the diagram views and the main window: each
// records what the workers made it do.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/animation/animation_worker.h"
#include "desktop/animation/start_event.h"
#include "peer_process.h"

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

inline long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// A view: paints record the step count they show, and when.
class RecordingView : public QWidget {
 public:
  std::atomic<int> counter{0};
  std::vector<int> painted;
  std::vector<Clock::time_point> paintTimes;
  std::function<void()> onPaint;

  // The counts shown, each run of repeats (a paint by the system between two
  // of the worker's) folded into one.
  std::vector<int> DistinctPainted() const {
    std::vector<int> distinct;
    for (int count : painted) {
      if (distinct.empty() || distinct.back() != count) {
        distinct.push_back(count);
      }
    }
    return distinct;
  }
  int LastPainted() const { return painted.empty() ? -1 : painted.back(); }
  void Forget() {
    painted.clear();
    paintTimes.clear();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    painted.push_back(counter.load());
    paintTimes.push_back(Clock::now());
    if (onPaint) {
      onPaint();
    }
  }
};

// The main window: counts the step notifications (timer events of id 0).
class NotifyWindow : public QWidget {
 public:
  int notifications = 0;
  std::function<void()> onNotify;

 protected:
  void timerEvent(QTimerEvent* event) override {
    if (event->timerId() == 0) {
      ++notifications;
      if (onNotify) {
        onNotify();
      }
    }
  }
};

// Handles the user interface thread's events (the workers' messages among
// them) until `done` or the time-out; true when done.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  QTimer tick;  // wakes the wait below when no event comes
  tick.start(2);
  const auto deadline = Clock::now() + milliseconds(timeoutMs);
  while (!done()) {
    if (Clock::now() >= deadline) {
      return done();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

inline void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

class WorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_eventName = UniqueTestEventName();
    ASSERT_TRUE(SetStartEventName(m_eventName));
    for (QWidget* window : {static_cast<QWidget*>(&m_web), static_cast<QWidget*>(&m_series),
                            static_cast<QWidget*>(&m_notify)}) {
      window->resize(60, 40);
      window->show();
    }
    ASSERT_TRUE(
        PumpUntil([&] { return !m_web.painted.empty() && !m_series.painted.empty(); }, 10000))
        << "the windows were never shown";
    PumpFor(20);
    m_web.Forget();
    m_series.Forget();
  }

  void TearDown() override {
    ShutdownAnimationWorkers();
    RemoveTestEvent(m_eventName);
  }

  // As the main window does: the web view with itself to notify, then the
  // time-series view with none (which keeps the first).
  void StartWorkers(int intervalMs, bool notify = true) {
    SetNotifyWindow(notify ? &m_notify : nullptr);
    StartAnimationWorker({&m_web, 1, &m_web.counter}, intervalMs);
    StartAnimationWorker({&m_series, 0, &m_series.counter}, intervalMs);
  }

  // The view's RequestRestart: the flag, then its own counter.
  void RestartWebView() {
    AnimationRequestRestart();
    m_web.counter.store(0);
  }

  bool EventIsSet() const { return g_startEvent.load()->IsSet(); }

  RecordingView m_web;
  RecordingView m_series;
  NotifyWindow m_notify;
  std::string m_eventName;
};
