// Starting over whatever shared start event an earlier run left behind. The
// application must come up paused and able to animate: an event left
// signalled by an instance that is gone must not start the new one's
// animation, and an object it cannot trust is reported once and worked
// around with a private event, the object itself left alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "app_harness.h"

namespace {

constexpr const char* kFallbackWarning = "private start event of its own";

class LeftBehindEvent : public ::testing::Test {
 protected:
  void SetUp() override {
    if (guard.InUse()) {
      GTEST_SKIP() << "an instance of the application is running on this account";
    }
    ASSERT_TRUE(x11.ok()) << "no X display";
  }

  // What a fresh start must look like: a window, paused at step 0 with
  // nothing moving, and the animation running once G is pressed.
  void ExpectStartsPausedAndAnimatesOnG(Instance& app) {
    ASSERT_NE(app.window, 0u) << app.process->Stderr();
    EXPECT_TRUE(StaysStill(x11, app.window, 1200ms)) << "animating before anyone pressed G";
    EXPECT_EQ(x11.Grab(app.window).CountRed(), 0) << "not at step 0";
    x11.Key(app.window, "g");
    EXPECT_TRUE(WaitUntilAnimating(x11, app.window, 3s));
    x11.Close(app.window);
    EXPECT_EQ(app.process->WaitForExit(HangBound(kExitAfterClose)), std::optional<int>(0))
        << app.process->Stderr();
  }

  UserStartEventGuard guard;
  X11Session x11;
};

struct EndingCase {
  const char* name;
  bool killed;  // SIGKILL instead of closing the window
};

class EventOfAnInstanceThatEndedWhileRunning : public LeftBehindEvent,
                                               public ::testing::WithParamInterface<EndingCase> {};

TEST_P(EventOfAnInstanceThatEndedWhileRunning, DoesNotStartTheNextInstance) {
  {
    Instance earlier = Launch(x11, kRealApp, AppEnvironment());
    ASSERT_NE(earlier.window, 0u) << earlier.process->Stderr();
    x11.Key(earlier.window, "g");
    ASSERT_TRUE(WaitUntilAnimating(x11, earlier.window, 3s));
    if (GetParam().killed) {
      earlier.process->Kill(SIGKILL);
    } else {
      x11.Close(earlier.window);
    }
    ASSERT_TRUE(earlier.process->WaitForExit(HangBound(kExitAfterClose)).has_value());
  }
  Instance next = Launch(x11, kRealApp, AppEnvironment());
  ExpectStartsPausedAndAnimatesOnG(next);
  EXPECT_EQ(CountLinesContaining(next.process->Stderr(), kFallbackWarning), 0)
      << "the event is this application's own and must be shared, not replaced";
}

INSTANTIATE_TEST_SUITE_P(Endings, EventOfAnInstanceThatEndedWhileRunning,
                         ::testing::Values(EndingCase{"window_closed", false},
                                           EndingCase{"killed", true}),
                         [](const auto& test) { return std::string(test.param.name); });

struct ForeignCase {
  const char* name;
  std::string bytes;
  unsigned mode;
  bool otherOwner;
};

class ForeignObjectUnderTheEventsName : public LeftBehindEvent,
                                        public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignObjectUnderTheEventsName, IsReportedOnceAndLeftAlone) {
  const ForeignCase& foreign = GetParam();
  const bool planted =
      PlantSharedObject(guard.ObjectName(), foreign.bytes, foreign.mode,
                        foreign.otherOwner ? std::optional<unsigned>(65534) : std::nullopt);
  if (!planted && foreign.otherOwner) {
    // Only a real root can give an object away (a user namespace's cannot).
    GTEST_SKIP() << "no right to make an object that belongs to another user here";
  }
  ASSERT_TRUE(planted);
  Instance app = Launch(x11, kRealApp, AppEnvironment());
  ExpectStartsPausedAndAnimatesOnG(app);
  EXPECT_EQ(CountLinesContaining(app.process->Stderr(), kFallbackWarning), 1)
      << app.process->Stderr();

  const int fd = shm_open(guard.ObjectName().c_str(), O_RDONLY | O_CLOEXEC, 0);
  ASSERT_GE(fd, 0) << "the object was removed";
  struct stat st {};
  ASSERT_EQ(fstat(fd, &st), 0);
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  EXPECT_EQ(pread(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  close(fd);
  EXPECT_EQ(bytes, foreign.bytes) << "the object was changed";
  EXPECT_EQ(st.st_mode & 07777, foreign.mode);
}

std::string Garbage(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>(0x5a ^ (i * 37));
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Objects, ForeignObjectUnderTheEventsName,
    ::testing::Values(ForeignCase{"open_to_others", std::string(16, '\0'), 0666, false},
                      ForeignCase{"open_to_the_group", std::string(16, '\0'), 0620, false},
                      ForeignCase{"too_small", std::string(8, '\0'), 0600, false},
                      ForeignCase{"too_large", std::string(4096, '\0'), 0600, false},
                      ForeignCase{"garbage_content", Garbage(16), 0600, false},
                      ForeignCase{"another_users", std::string(16, '\0'), 0600, true}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
