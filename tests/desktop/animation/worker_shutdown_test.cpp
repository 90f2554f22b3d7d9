// Ending the workers in every state they can be in, a hundred times each: no
// hang and no access to a view afterwards. The slowest time is printed, never
// checked: a busy machine must not fail it.
#include <algorithm>
#include <thread>

#include "hang_bound.h"
#include "worker_fixture.h"

namespace {

constexpr int kRounds = 100;
// Far beyond any shutdown seen (a few milliseconds, a step's wake-up at most).
constexpr std::chrono::milliseconds kShutdown{5000};

class ShutdownTest : public WorkerTest {
 protected:
  // Shuts down, checks that no worker is left, and keeps the slowest time.
  void ShutdownAndCheck() {
    const auto start = Clock::now();
    ShutdownAnimationWorkers();
    const long long ms = MsSince(start);
    m_slowestMs = std::max(m_slowestMs, ms);
    EXPECT_LT(ms, HangBound(kShutdown).count()) << "hang check: the shutdown took " << ms << " ms";
    EXPECT_EQ(g_workerThread.load(), std::thread::id());
    EXPECT_TRUE(AnimationIsStopped());
    // No worker is left to step a counter or ask for a paint.
    m_web.counter.store(7);
    m_series.counter.store(7);
    m_web.Forget();
    m_series.Forget();
    const int notified = m_notify.notifications;
    PumpFor(3);
    EXPECT_EQ(m_web.counter.load(), 7);
    EXPECT_EQ(m_series.counter.load(), 7);
    EXPECT_TRUE(m_web.painted.empty()) << "a cancelled paint ran after all";
    EXPECT_EQ(m_notify.notifications, notified);
    m_web.counter.store(0);
    m_series.counter.store(0);
    RemoveTestEvent(m_eventName);  // a fresh, unsignalled event each round
    SetStartEventName(m_eventName);
  }
  void Report(const char* state) {
    std::printf("shutdown %s: slowest of %d took %lld ms\n", state, kRounds, m_slowestMs);
    RecordProperty("slowest_shutdown_ms", static_cast<int>(m_slowestMs));
  }

  long long m_slowestMs = 0;
};

TEST_F(ShutdownTest, WhileStepping) {
  for (int round = 0; round < kRounds; ++round) {
    StartWorkers(round % 3);
    AnimationSignalStart();
    ASSERT_TRUE(PumpUntil([&] { return m_web.counter.load() >= 3; }, 10000));
    ShutdownAndCheck();
  }
  Report("while stepping");
}

TEST_F(ShutdownTest, WhileIdlingAtTheLimit) {
  for (int round = 0; round < kRounds; ++round) {
    StartWorkers(kStepIntervalMs);
    m_web.counter.store(kSeriesLength);
    m_series.counter.store(kSeriesLength);
    AnimationSignalStart();
    PumpFor(2);
    ShutdownAndCheck();
  }
  Report("while idling at the limit");
}

TEST_F(ShutdownTest, WhileWaiting) {
  for (int round = 0; round < kRounds; ++round) {
    StartWorkers(kStepIntervalMs);
    PumpFor(round % 3);
    ShutdownAndCheck();
  }
  Report("while waiting");
}

TEST_F(ShutdownTest, WhileSleepingBetweenSteps) {
  for (int round = 0; round < kRounds; ++round) {
    StartWorkers(kStepIntervalMs);
    AnimationSignalStart();
    ASSERT_TRUE(PumpUntil([&] { return m_web.counter.load() >= 2; }, 10000));
    PumpFor(2);
    ShutdownAndCheck();
  }
  Report("while sleeping between steps");
}

TEST_F(ShutdownTest, WhileAWorkerWaitsInASynchronousMessage) {
  for (int round = 0; round < kRounds; ++round) {
    StartWorkers(1);
    AnimationSignalStart();
    // The user interface thread is busy: both workers post their paint and
    // block on it.
    std::this_thread::sleep_for(milliseconds(5));
    ShutdownAndCheck();
  }
  Report("while a worker waits in a message");
}

TEST_F(ShutdownTest, FromInsideAWorkersPaint) {
  for (int round = 0; round < kRounds; ++round) {
    bool shutDown = false;
    m_web.onPaint = [&] {
      if (!shutDown) {
        shutDown = true;
        ShutdownAnimationWorkers();  // the window closes while the worker waits for this paint
      }
    };
    StartWorkers(1);
    AnimationSignalStart();
    ASSERT_TRUE(PumpUntil([&] { return shutDown; }, 10000));
    m_web.onPaint = nullptr;
    ShutdownAndCheck();
  }
  Report("from inside a paint");
}

TEST_F(ShutdownTest, FromInsideAStepNotification) {
  for (int round = 0; round < kRounds; ++round) {
    bool shutDown = false;
    m_notify.onNotify = [&] {
      if (!shutDown) {
        shutDown = true;
        ShutdownAnimationWorkers();
      }
    };
    StartWorkers(1);
    AnimationSignalStart();
    ASSERT_TRUE(PumpUntil([&] { return shutDown; }, 10000));
    m_notify.onNotify = nullptr;
    ShutdownAndCheck();
  }
  Report("from inside a notification");
}

}  // namespace
