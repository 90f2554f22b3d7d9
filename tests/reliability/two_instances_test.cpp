// Two instances at once share the one start event: a start in either wakes
// the other's animation. One of them killed in the middle of a run takes
// nothing with it: the survivor still starts, pauses and restarts, and a new
// instance meets it as before.
#include <gtest/gtest.h>
#include <signal.h>

#include "app_harness.h"

namespace {

constexpr const char* kFallbackWarning = "private start event of its own";

class TwoInstances : public ::testing::Test {
 protected:
  void SetUp() override {
    if (guard.InUse()) {
      GTEST_SKIP() << "an instance of the application is running on this account";
    }
    ASSERT_TRUE(x11.ok()) << "no X display";
  }

  // A real instance, moved where no other window of the test covers it (the
  // diagrams are read back from the screen).
  Instance Place(int x, int y) {
    Instance app = Launch(x11, kRealApp, AppEnvironment());
    if (app.window != 0) {
      x11.Move(app.window, x, y);
    }
    return app;
  }

  UserStartEventGuard guard;
  X11Session x11;
};

TEST_F(TwoInstances, AStartInOneWakesTheOther) {
  Instance first = Place(0, 0);
  Instance second = Place(632, 0);
  ASSERT_NE(first.window, 0u) << first.process->Stderr();
  ASSERT_NE(second.window, 0u) << second.process->Stderr();
  EXPECT_TRUE(StaysStill(x11, second.window, 700ms));
  x11.Key(first.window, "g");
  EXPECT_TRUE(WaitUntilAnimating(x11, first.window, 3s));
  EXPECT_TRUE(WaitUntilAnimating(x11, second.window, 3s)) << "the start did not reach the other";
  // And the other way round, once both are paused.
  x11.Key(first.window, "g");
  x11.Key(second.window, "g");  // its button read Graph: this starts it...
  x11.Key(second.window, "g");  // ...and this pauses it
  ASSERT_TRUE(WaitUntilStill(x11, first.window, 800ms, 5s));
  ASSERT_TRUE(WaitUntilStill(x11, second.window, 800ms, 5s));
  x11.Key(second.window, "g");
  EXPECT_TRUE(WaitUntilAnimating(x11, first.window, 3s)) << "the start did not reach the first";
  for (Instance* app : {&first, &second}) {
    EXPECT_EQ(CountLinesContaining(app->process->Stderr(), kFallbackWarning), 0);
    x11.Close(app->window);
    EXPECT_EQ(app->process->WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0));
  }
}

TEST_F(TwoInstances, OneKilledMidRunLeavesTheOtherWorking) {
  Instance killed = Place(0, 0);
  Instance survivor = Place(632, 0);
  ASSERT_NE(killed.window, 0u) << killed.process->Stderr();
  ASSERT_NE(survivor.window, 0u) << survivor.process->Stderr();
  x11.Key(killed.window, "g");
  ASSERT_TRUE(WaitUntilAnimating(x11, survivor.window, 3s));
  killed.process->Kill(SIGKILL);
  ASSERT_EQ(killed.process->WaitForExit(HangBound(kExitAfterClose)),
            std::optional<int>(128 + SIGKILL));

  EXPECT_TRUE(WaitUntilAnimating(x11, survivor.window, 3s)) << "the survivor's run stopped";
  x11.Key(survivor.window, "g");  // start: its own button still read Graph
  EXPECT_TRUE(WaitUntilAnimating(x11, survivor.window, 3s)) << "does not start";
  x11.Key(survivor.window, "g");  // pause
  EXPECT_TRUE(WaitUntilStill(x11, survivor.window, 800ms, 3s)) << "does not pause";
  EXPECT_TRUE(StaysStill(x11, survivor.window, 1200ms)) << "a pause did not hold";
  x11.Key(survivor.window, "r");  // restart: step 0, paused
  EXPECT_TRUE(WaitUntilStill(x11, survivor.window, 800ms, 3s));
  EXPECT_EQ(x11.Grab(survivor.window).CountRed(), 0) << "the restart did not go back to step 0";
  x11.Key(survivor.window, "g");
  EXPECT_TRUE(WaitUntilAnimating(x11, survivor.window, 3s)) << "does not run again";

  // A newcomer meets the survivor through the same event.
  x11.Key(survivor.window, "g");
  ASSERT_TRUE(WaitUntilStill(x11, survivor.window, 800ms, 3s));
  Instance newcomer = Place(0, 0);  // where the killed one stood
  ASSERT_NE(newcomer.window, 0u) << newcomer.process->Stderr();
  x11.Key(newcomer.window, "g");
  EXPECT_TRUE(WaitUntilAnimating(x11, survivor.window, 3s)) << "the newcomer cannot reach it";
  for (Instance* app : {&survivor, &newcomer}) {
    EXPECT_EQ(CountLinesContaining(app->process->Stderr(), kFallbackWarning), 0);
    x11.Close(app->window);
    EXPECT_EQ(app->process->WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0));
  }
}

TEST_F(TwoInstances, StartingTogetherOverAStartLeftByAKilledOneBothWaitForGraph) {
  {
    Instance killed = Place(0, 0);
    ASSERT_NE(killed.window, 0u) << killed.process->Stderr();
    x11.Key(killed.window, "g");
    ASSERT_TRUE(WaitUntilAnimating(x11, killed.window, 3s));
    killed.process->Kill(SIGKILL);
    ASSERT_TRUE(killed.process->WaitForExit(HangBound(kExitAfterClose)).has_value());
  }
  // Both open the event at about the same moment: neither may take the
  // other, just starting, for a running instance whose start must stand.
  AppProcess first(kRealApp, AppEnvironment());
  AppProcess second(kRealApp, AppEnvironment());
  const Window firstWindow = WaitForMainWindow(x11, first.pid(), 20s);
  const Window secondWindow = WaitForMainWindow(x11, second.pid(), 20s);
  ASSERT_NE(firstWindow, 0u) << first.Stderr();
  ASSERT_NE(secondWindow, 0u) << second.Stderr();
  x11.Move(firstWindow, 0, 0);
  x11.Move(secondWindow, 632, 0);
  for (const Window window : {firstWindow, secondWindow}) {
    EXPECT_TRUE(StaysStill(x11, window, 1000ms)) << "animating before anyone pressed G";
    EXPECT_EQ(x11.Grab(window).CountRed(), 0) << "not at step 0";
  }
  x11.Key(secondWindow, "g");
  EXPECT_TRUE(WaitUntilAnimating(x11, firstWindow, 3s)) << "the two do not share the event";
  for (AppProcess* app : {&first, &second}) {
    EXPECT_EQ(CountLinesContaining(app->Stderr(), kFallbackWarning), 0);
  }
  x11.Close(firstWindow);
  x11.Close(secondWindow);
  EXPECT_EQ(first.WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0));
  EXPECT_EQ(second.WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0));
}

}  // namespace
