// The application started in conditions a desktop may give it: a
// comma-decimal locale, and a display without OpenGL, where each diagram
// reports it in a message box and the window still comes up and works.
#include <gtest/gtest.h>

#include <thread>

#include "app_harness.h"

namespace {

class StartConditions : public ::testing::Test {
 protected:
  void SetUp() override {
    if (guard.InUse()) {
      GTEST_SKIP() << "an instance of the application is running on this account";
    }
    ASSERT_TRUE(x11.ok()) << "no X display";
  }
  UserStartEventGuard guard;
  X11Session x11;
};

TEST_F(StartConditions, UnderACommaDecimalLocaleItComesUpAndAnimates) {
  Instance app = Launch(x11, kRealApp,
                        AppEnvironment({"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8", "LANGUAGE=de"}));
  ASSERT_NE(app.window, 0u) << app.process->Stderr();
  EXPECT_TRUE(StaysStill(x11, app.window, 700ms));
  x11.Key(app.window, "g");
  EXPECT_TRUE(WaitUntilAnimating(x11, app.window, 3s));
  x11.Close(app.window);
  EXPECT_EQ(app.process->WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0))
      << "hang check (nullopt: still running after the close)";
  EXPECT_EQ(CountLinesContaining(app.process->Stderr(), "locale"), 0) << app.process->Stderr();
}

TEST_F(StartConditions, WithoutOpenGLTwoMessagesThenAWorkingWindow) {
  AppProcess app(kRealApp, AppEnvironment({"QT_XCB_GL_INTEGRATION=none"}));
  // One message per diagram, one after the other: each waits for its answer
  // before the window goes on being built. The first is closed as a window,
  // the second answered with its OK.
  for (int message = 1; message <= 2; ++message) {
    SCOPED_TRACE("message " + std::to_string(message));
    std::vector<TopLevel> boxes;
    const auto deadline = std::chrono::steady_clock::now() + HangBound(20s);
    while (boxes.empty() && std::chrono::steady_clock::now() < deadline) {
      ASSERT_EQ(x11.FindWindows("Veridrift", app.pid()).size(), 0u)
          << "the main window showed before the message was answered";
      std::this_thread::sleep_for(20ms);
      boxes = MessageBoxesOf(x11, app.pid());
    }
    ASSERT_EQ(boxes.size(), 1u) << app.Stderr();
    const Window box = boxes.front().window;
    if (message == 1) {
      x11.Close(box);
    } else {
      x11.Key(box, "Return");
    }
    const auto answered = std::chrono::steady_clock::now() + HangBound(5s);
    const auto stillShown = [&] {
      for (const TopLevel& window : x11.WindowsOf(app.pid())) {
        if (window.window == box) {
          return true;
        }
      }
      return false;
    };
    while (stillShown() && std::chrono::steady_clock::now() < answered) {
      std::this_thread::sleep_for(20ms);
    }
    ASSERT_FALSE(stillShown()) << "the message did not go";
  }
  const Window window = WaitForMainWindow(x11, app.pid(), 20s);
  ASSERT_NE(window, 0u) << app.Stderr();
  EXPECT_TRUE(MessageBoxesOf(x11, app.pid()).empty()) << "a third message";
  // The window answers: G turns the button's "Graph" into "Pause".
  std::this_thread::sleep_for(300ms);
  const WindowImage before = x11.Grab(window);
  x11.Key(window, "g");
  bool changed = false;
  const auto answerBy = std::chrono::steady_clock::now() + HangBound(2s);
  while (!changed && std::chrono::steady_clock::now() < answerBy) {
    std::this_thread::sleep_for(20ms);
    changed = x11.Grab(window).pixels != before.pixels;
  }
  EXPECT_TRUE(changed) << "the window does not answer the keyboard";
  EXPECT_EQ(x11.Grab(window).CountRed(), 0) << "no diagram can be drawn without OpenGL";
  x11.Close(window);
  EXPECT_EQ(app.WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0))
      << "hang check (nullopt: still running after the close); " << app.Stderr();
}

}  // namespace
