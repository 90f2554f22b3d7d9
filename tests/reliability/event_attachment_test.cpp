// The shared start event outlives the instances that used it only as a name:
// whatever state the last of them left it in, the next opening finds it
// fresh, while an event that a living instance holds is taken as it stands.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "desktop/animation/start_event.h"
#include "hang_bound.h"
#include "own_start_event.h"

namespace {

std::string TestEventName() {
  return OwnStartEventName("VeridriftAttachmentTest");
}

// Another process that opens the event, signals it and then either ends at
// once, is killed, or stays until told to go.
class SignallingPeer {
 public:
  explicit SignallingPeer(const std::string& name) {
    int ready[2];
    if (pipe(ready) != 0) {
      return;
    }
    m_pid = fork();
    if (m_pid == 0) {
      close(ready[0]);
      const std::unique_ptr<StartEvent> event = OpenStartEvent(name);
      event->Set();
      const char byte = event->IsShared() ? 's' : 'p';
      [[maybe_unused]] const ssize_t written = write(ready[1], &byte, 1);
      pause();  // until killed; the event stays open as a running instance's does
      _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    m_shared = read(ready[0], &byte, 1) == 1 && byte == 's';
    close(ready[0]);
  }
  ~SignallingPeer() { End(); }

  bool SignalledASharedEvent() const { return m_pid > 0 && m_shared; }
  void End() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
      m_pid = -1;
    }
  }

 private:
  pid_t m_pid = -1;
  bool m_shared = false;
};

class EventAttachment : public ::testing::Test {
 protected:
  void TearDown() override { RemoveStartEvent(name); }
  const std::string name = TestEventName();
};

TEST_F(EventAttachment, SignalledByAProcessThatIsGoneOpensNotSignalled) {
  {
    SignallingPeer peer(name);
    ASSERT_TRUE(peer.SignalledASharedEvent());
  }  // killed: nothing of it ran after the Set, as after a crash
  const std::unique_ptr<StartEvent> event = OpenStartEvent(name);
  ASSERT_TRUE(event->IsShared());
  EXPECT_FALSE(event->IsSet()) << "a start left by a dead instance would start this one";
}

TEST_F(EventAttachment, SignalledByALivingProcessOpensSignalled) {
  SignallingPeer peer(name);
  ASSERT_TRUE(peer.SignalledASharedEvent());
  const std::unique_ptr<StartEvent> event = OpenStartEvent(name);
  EXPECT_TRUE(event->IsSet()) << "the running instance's animation would stop at its next wait";
  peer.End();
  EXPECT_TRUE(event->IsSet()) << "an opening already made keeps the state it shares";
}

TEST_F(EventAttachment, AnotherOpeningInThisProcessKeepsItSignalled) {
  const std::unique_ptr<StartEvent> first = OpenStartEvent(name);
  first->Set();
  EXPECT_TRUE(OpenStartEvent(name)->IsSet());
}

TEST_F(EventAttachment, SignalledAndClosedByThisProcessOpensNotSignalled) {
  OpenStartEvent(name)->Set();
  EXPECT_FALSE(OpenStartEvent(name)->IsSet());
}

TEST_F(EventAttachment, TheFreshStartStillWakesAWaiterOfALaterOpening) {
  OpenStartEvent(name)->Set();
  const std::unique_ptr<StartEvent> waiting = OpenStartEvent(name);
  ASSERT_FALSE(waiting->IsSet());
  std::atomic<bool> cancelled{false};
  std::thread starter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    OpenStartEvent(name)->Set();
  });
  EXPECT_EQ(waiting->Wait(cancelled, HangBoundMs(5000)), StartEventWait::kSignalled);
  starter.join();
}

TEST_F(EventAttachment, AnObjectLockedByNoInstanceDoesNotHoldUpTheOpening) {
  OpenStartEvent(name);  // creates the object
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    const int fd = shm_open(StartEventObjectName(name, geteuid()).c_str(), O_RDWR, 0);
    const char byte = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 'l' : 'x';
    [[maybe_unused]] const ssize_t written = write(ready[1], &byte, 1);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 'l');
  const auto started = std::chrono::steady_clock::now();
  const std::unique_ptr<StartEvent> event = OpenStartEvent(name);
  const auto took = std::chrono::steady_clock::now() - started;
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  // The opening gives such a lock about a second before it goes on alone.
  EXPECT_LT(took, HangBound(std::chrono::seconds(15)))
      << "hang check: the opening waited for a lock nobody gives up";
  ASSERT_TRUE(event->IsShared());
  event->Set();
  EXPECT_TRUE(event->IsSet());
}

}  // namespace
