// A worker's synchronous call to the user interface thread, and its
// cancellation, with an application object and no window.
#include "desktop/animation/ui_call.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "hang_bound.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// Handles the user interface thread's queue until `done` or the time-out.
template <typename Done>
bool PumpUntil(Done done, int timeoutMs) {
  const auto deadline = Clock::now() + milliseconds(timeoutMs);
  while (!done()) {
    if (Clock::now() >= deadline) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_for(milliseconds(1));
  }
  return true;
}

class UiCallTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ReopenUiCalls();
    QCoreApplication::processEvents();  // drop leftovers before the next test
  }
};

TEST_F(UiCallTest, RunsOnTheUserInterfaceThreadAndWaitsForIt) {
  std::atomic<bool> ranOnUiThread{false};
  std::atomic<bool> returned{false};
  bool result = false;
  QThread* uiThread = QThread::currentThread();
  std::thread worker([&] {
    result = CallOnUiThread([&] {
      std::this_thread::sleep_for(milliseconds(20));  // the caller must still be waiting
      ranOnUiThread.store(QThread::currentThread() == uiThread && !returned.load());
    });
    returned.store(true);
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }, 5000));
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_TRUE(ranOnUiThread.load());
}

TEST_F(UiCallTest, OnTheUserInterfaceThreadItRunsAtOnce) {
  bool ran = false;
  EXPECT_TRUE(CallOnUiThread([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST_F(UiCallTest, CancelReleasesAWaitingCallerAndTheCallNeverRuns) {
  std::atomic<bool> ran{false};
  std::atomic<bool> returned{false};
  bool result = true;
  std::thread worker([&] {
    result = CallOnUiThread([&] { ran.store(true); });
    returned.store(true);
  });
  std::this_thread::sleep_for(milliseconds(50));  // the user interface thread is busy
  EXPECT_FALSE(returned.load());
  const auto start = Clock::now();
  CancelUiCalls();
  worker.join();
  EXPECT_LT(MsSince(start), HangBoundMs(2000)) << "hang check: the caller was not released";
  EXPECT_FALSE(result);
  ReopenUiCalls();  // even reopened, the abandoned call stays dead
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran.load());
}

TEST_F(UiCallTest, CallsAreRefusedWhileCancelled) {
  CancelUiCalls();
  std::atomic<bool> ran{false};
  bool result = true;
  std::thread worker([&] { result = CallOnUiThread([&] { ran.store(true); }); });
  worker.join();
  QCoreApplication::processEvents();
  EXPECT_FALSE(result);
  EXPECT_FALSE(ran.load());
}

TEST_F(UiCallTest, ACallCancellingFromInsideReleasesItsOwnCaller) {
  std::atomic<bool> finished{false};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    CallOnUiThread([&] {
      CancelUiCalls();
      // Were the caller still waiting, joining it here would hang.
      const auto deadline = Clock::now() + std::chrono::seconds(5);
      while (!returned.load() && Clock::now() < deadline) {
        std::this_thread::yield();
      }
      finished.store(true);
    });
    returned.store(true);
  });
  EXPECT_TRUE(PumpUntil([&] { return finished.load(); }, 10000));
  worker.join();
  EXPECT_TRUE(returned.load());
}

TEST_F(UiCallTest, ReopenedCallsRunAgain) {
  CancelUiCalls();
  ReopenUiCalls();
  std::atomic<bool> returned{false};
  bool result = false;
  std::thread worker([&] {
    result = CallOnUiThread([] {});
    returned.store(true);
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }, 5000));
  worker.join();
  EXPECT_TRUE(result);
}

TEST_F(UiCallTest, ManyCallersAllReturnAtACancel) {
  constexpr int kCallers = 8;
  std::atomic<int> returned{0};
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&] {
      for (int call = 0; call < 1000; ++call) {
        if (!CallOnUiThread([] {})) {
          break;
        }
      }
      returned.fetch_add(1);
    });
  }
  PumpUntil([] { return false; }, 30);
  CancelUiCalls();
  for (std::thread& caller : callers) {
    caller.join();
  }
  EXPECT_EQ(returned.load(), kCallers);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
