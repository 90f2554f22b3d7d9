// Closing the main window ends the process with status 0, never hanging,
// whatever the animation is doing: stepping, paused, or idle at the end of a
// run. Each state is closed many times over, since a shutdown race shows up
// only now and then.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "app_harness.h"
#include "desktop/animation/start_event.h"
#include "own_start_event.h"

namespace {

// VERIDRIFT_CLOSES_PER_STATE overrides the count, for a longer hunt or a
// quick look.
int ClosesPerState() {
  const char* wanted = std::getenv("VERIDRIFT_CLOSES_PER_STATE");
  return wanted != nullptr ? std::max(1, std::atoi(wanted)) : CLOSES_PER_STATE;
}

enum class State { kRunning, kPaused, kIdleAtTheEnd };

struct CloseCase {
  const char* name;
  State state;
};

class ClosingInEveryState : public ::testing::TestWithParam<CloseCase> {
 protected:
  void SetUp() override {
    if (guard.InUse()) {
      GTEST_SKIP() << "an instance of the application is running on this account";
    }
    ASSERT_TRUE(x11.ok()) << "no X display";
  }
  void TearDown() override { RemoveStartEvent(twinEvent); }

  // Brings a fresh instance into the case's state; false (with a message) if
  // it never got there.
  ::testing::AssertionResult BringInto(Instance& app, State state, std::mt19937& random) {
    if (app.window == 0) {
      return ::testing::AssertionFailure() << "no window; stderr: " << app.process->Stderr();
    }
    x11.Key(app.window, "g");
    if (!WaitUntilAnimating(x11, app.window, 5s)) {
      return ::testing::AssertionFailure() << "the animation never started";
    }
    switch (state) {
      case State::kRunning:
        // Anywhere within a step interval: in a pacing sleep or a repaint.
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 600));
        break;
      case State::kPaused:
        x11.Key(app.window, "g");
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 600));
        break;
      case State::kIdleAtTheEnd:
        if (!WaitUntilStill(x11, app.window, 400ms, 60s)) {
          return ::testing::AssertionFailure() << "the run never came to its end";
        }
        break;
    }
    return ::testing::AssertionSuccess();
  }

  UserStartEventGuard guard;
  X11Session x11;
  // The twin's event is made by the twin and removed by this program.
  const std::string twinEvent = OwnStartEventName("VeridriftReliabilityClose");
};

TEST_P(ClosingInEveryState, EndsWithStatusZeroEveryTime) {
  const State state = GetParam().state;
  // Idle at the end takes a whole run: only the twin steps fast enough, and
  // at half size it draws each step in about half the time.
  const bool twin = state == State::kIdleAtTheEnd;
  const std::string program = twin ? kTwinApp : kRealApp;
  const std::vector<std::string> environment =
      twin ? AppEnvironment({"VERIDRIFT_TEST_START_EVENT=" + twinEvent, "QT_SCALE_FACTOR=0.5"})
           : AppEnvironment();
  std::mt19937 random(static_cast<unsigned>(getpid()));
  const int closes = ClosesPerState();
  // Printed, never checked: the speed of a close passes or fails nothing here.
  std::chrono::milliseconds slowest{0};
  for (int i = 0; i < closes; ++i) {
    SCOPED_TRACE("close " + std::to_string(i + 1) + " of " + std::to_string(closes));
    Instance app = Launch(x11, program, environment);
    ASSERT_TRUE(BringInto(app, state, random));
    x11.Close(app.window);
    const auto closedAt = std::chrono::steady_clock::now();
    const std::optional<int> status = app.process->WaitForExit(HangBound(kExitAfterClose));
    slowest = std::max(slowest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - closedAt));
    ASSERT_TRUE(status.has_value()) << "hang check: still running "
                                    << HangBound(kExitAfterClose).count() << " ms after the close";
    ASSERT_EQ(*status, 0) << app.process->Stderr();
  }
  std::printf("close %s: slowest of %d took %lld ms\n", GetParam().name, closes,
              static_cast<long long>(slowest.count()));
}

INSTANTIATE_TEST_SUITE_P(States, ClosingInEveryState,
                         ::testing::Values(CloseCase{"running", State::kRunning},
                                           CloseCase{"paused", State::kPaused},
                                           CloseCase{"idle_at_the_end", State::kIdleAtTheEnd}),
                         [](const auto& test) { return std::string(test.param.name); });

// Menus and lists are windows of their own, and the window menu runs its own
// event loop: a close that arrives while one is open must take it along and
// end the process, not leave it on screen holding the process.
struct OpenPopupCase {
  const char* name;
  bool running;
  void (*open)(X11Session& x11, Window window);
};

class ClosingWithAPopupOpen : public ::testing::TestWithParam<OpenPopupCase> {};

TEST_P(ClosingWithAPopupOpen, EndsThePopupAndTheProcess) {
  UserStartEventGuard guard;
  if (guard.InUse()) {
    GTEST_SKIP() << "an instance of the application is running on this account";
  }
  X11Session x11;
  ASSERT_TRUE(x11.ok()) << "no X display";
  Instance app = Launch(x11, kRealApp, AppEnvironment());
  ASSERT_NE(app.window, 0u) << app.process->Stderr();
  if (GetParam().running) {
    x11.Key(app.window, "g");
    ASSERT_TRUE(WaitUntilAnimating(x11, app.window, 3s));
  }
  GetParam().open(x11, app.window);
  const auto deadline = std::chrono::steady_clock::now() + HangBound(5s);
  while (MessageBoxesOf(x11, app.process->pid()).empty() &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_EQ(MessageBoxesOf(x11, app.process->pid()).size(), 1u) << "nothing opened";
  x11.Close(app.window);
  EXPECT_EQ(app.process->WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0))
      << "hang check (nullopt: still running after the close)";
}

void RightClickTheWindow(X11Session& x11, Window window) {
  x11.Click(window, 4, 4, 3);
}
void OpenThePickersList(X11Session& x11, Window window) {
  x11.Key(window, "space");  // the picker has the focus at start
}
void OpenTheDegreeFieldsMenu(X11Session& x11, Window window) {
  x11.Key(window, "Tab");  // the degree field follows the picker
  x11.Key(window, "F10", true);
}

INSTANTIATE_TEST_SUITE_P(
    Popups, ClosingWithAPopupOpen,
    ::testing::Values(OpenPopupCase{"window_menu", false, RightClickTheWindow},
                      OpenPopupCase{"window_menu_while_running", true, RightClickTheWindow},
                      OpenPopupCase{"pickers_list_while_running", true, OpenThePickersList},
                      OpenPopupCase{"fields_menu_while_running", true, OpenTheDegreeFieldsMenu}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
