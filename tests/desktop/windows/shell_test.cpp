// The application as users run it: its own process, driven from the X
// display. Closing the window ends the process with status 0 at once, also
// while the animation runs; Enter and Escape never close it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app_process.h"
#include "desktop/animation/start_event.h"
#include "hang_bound.h"
#include "x11_session.h"

namespace {

using namespace std::chrono_literals;

struct CloseCase {
  const char* name;
  const char* keyBeforeClose;  // null: close the untouched window
};

class ClosingTheMainWindow : public ::testing::TestWithParam<CloseCase> {};

TEST_P(ClosingTheMainWindow, EndsTheProcessWithStatusZero) {
  // The real application shares the user's start event; a window closed
  // while running leaves it signalled, so put it back as it was found.
  const std::unique_ptr<StartEvent> userEvent = OpenStartEvent();
  const bool wasSignalled = userEvent->IsSet();
  struct Restore {
    StartEvent& event;
    bool signalled;
    ~Restore() { signalled ? event.Set() : event.Reset(); }
  } restore{*userEvent, wasSignalled};
  X11Session x11;
  ASSERT_TRUE(x11.ok()) << "no X display";
  AppProcess app(VERIDRIFT_EXE, {"QT_QPA_PLATFORM=xcb"});
  const Window window = x11.WaitForWindow("Veridrift", app.pid(), 20s);
  ASSERT_NE(window, 0u) << app.Stderr();
  if (GetParam().keyBeforeClose != nullptr) {
    x11.Key(window, GetParam().keyBeforeClose);
    std::this_thread::sleep_for(700ms);
  }
  x11.Close(window);
  const std::optional<int> status = app.WaitForExit(HangBound(kExitAfterClose));
  ASSERT_TRUE(status.has_value()) << "hang check: still running "
                                  << HangBound(kExitAfterClose).count() << " ms after the close";
  EXPECT_EQ(*status, 0) << app.Stderr();
}

INSTANTIATE_TEST_SUITE_P(States, ClosingTheMainWindow,
                         ::testing::Values(CloseCase{"untouched", nullptr},
                                           CloseCase{"animation_running", "g"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(MainWindowKeys, EnterAndEscapeNeverCloseIt) {
  X11Session x11;
  ASSERT_TRUE(x11.ok()) << "no X display";
  AppProcess app(VERIDRIFT_EXE, {"QT_QPA_PLATFORM=xcb"});
  const Window window = x11.WaitForWindow("Veridrift", app.pid(), 20s);
  ASSERT_NE(window, 0u) << app.Stderr();
  for (const char* key : {"Return", "Escape", "KP_Enter"}) {
    x11.Key(window, key);
  }
  EXPECT_FALSE(app.WaitForExit(500ms).has_value());
  EXPECT_EQ(x11.FindWindows("Veridrift", app.pid()).size(), 1u);
  x11.Close(window);
  EXPECT_EQ(app.WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0))
      << "hang check (nullopt: still running after the close)";
}

}  // namespace
