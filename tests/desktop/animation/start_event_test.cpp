// The start event on its own, with no window: its state, its waits, the
// objects it refuses, and a second process sharing it.
#include "desktop/animation/start_event.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <random>
#include <thread>

#include "hang_bound.h"
#include "peer_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

class StartEventTest : public ::testing::Test {
 protected:
  void SetUp() override { m_name = UniqueTestEventName(); }
  void TearDown() override {
    RemoveTestEvent(m_name);
    ForceSlicedStartEventWaits(false);
  }
  std::string ObjectName() const { return StartEventObjectName(m_name, geteuid()); }
  std::string m_name;
};

TEST_F(StartEventTest, StartsShareableAndNotSignalled) {
  auto event = OpenStartEvent(m_name);
  EXPECT_TRUE(event->IsShared()) << event->FallbackReason();
  EXPECT_FALSE(event->IsSet());
  struct stat st {};
  const int fd = shm_open(ObjectName().c_str(), O_RDONLY, 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fstat(fd, &st), 0);
  close(fd);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_uid, geteuid());
}

TEST_F(StartEventTest, ManualResetStateIsSharedBetweenOpenings) {
  auto first = OpenStartEvent(m_name);
  auto second = OpenStartEvent(m_name);
  first->Set();
  EXPECT_TRUE(second->IsSet());
  const StartEventWord signalled = second->Word();
  second->Set();
  EXPECT_EQ(first->Word(), signalled) << "a second Set while signalled changes nothing";
  second->Reset();
  EXPECT_FALSE(first->IsSet());
  const StartEventWord reset = first->Word();
  first->Reset();
  EXPECT_EQ(second->Word(), reset) << "a Reset while not signalled changes nothing";
}

// Every wait runs once on the kernel's two-futex wait and once on the timed
// slices that older kernels fall back to.
class StartEventWaitTest : public StartEventTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    StartEventTest::SetUp();
    ForceSlicedStartEventWaits(GetParam());
  }
};

TEST_P(StartEventWaitTest, PassesAtOnceWhenSignalled) {
  auto event = OpenStartEvent(m_name);
  event->Set();
  std::atomic<bool> cancelled{false};
  EXPECT_EQ(event->Wait(cancelled, 0), StartEventWait::kSignalled);
}

TEST_P(StartEventWaitTest, TimesOutWhenNothingSignalsIt) {
  auto event = OpenStartEvent(m_name);
  std::atomic<bool> cancelled{false};
  const auto start = Clock::now();
  EXPECT_EQ(event->Wait(cancelled, 60), StartEventWait::kTimedOut);
  EXPECT_GE(MsSince(start), 60);
}

TEST_P(StartEventWaitTest, SetFromAnotherThreadReleasesTheWaiter) {
  auto event = OpenStartEvent(m_name);
  std::atomic<bool> cancelled{false};
  std::thread setter([&] {
    std::this_thread::sleep_for(milliseconds(30));
    event->Set();
  });
  EXPECT_EQ(event->Wait(cancelled, 5000), StartEventWait::kSignalled);
  setter.join();
}

TEST_P(StartEventWaitTest, SetAndResetAtOnceStillReleasesAWaiter) {
  auto event = OpenStartEvent(m_name);
  auto other = OpenStartEvent(m_name);
  std::atomic<bool> cancelled{false};
  std::thread pulser([&] {
    std::this_thread::sleep_for(milliseconds(50));
    other->Set();
    other->Reset();
  });
  EXPECT_EQ(event->Wait(cancelled, 5000), StartEventWait::kSignalled);
  pulser.join();
  EXPECT_FALSE(event->IsSet());
}

TEST_P(StartEventWaitTest, ResetDoesNotReleaseAWaiter) {
  auto event = OpenStartEvent(m_name);
  std::atomic<bool> cancelled{false};
  std::thread resetter([&] {
    std::this_thread::sleep_for(milliseconds(20));
    event->Reset();
  });
  EXPECT_EQ(event->Wait(cancelled, 120), StartEventWait::kTimedOut);
  resetter.join();
}

TEST_P(StartEventWaitTest, LocalWakeCancelsOnlyThisInstancesWaiters) {
  auto mine = OpenStartEvent(m_name);
  auto theirs = OpenStartEvent(m_name);  // the same event, as another instance opens it
  std::atomic<bool> myCancel{false};
  std::atomic<bool> theirCancel{false};
  StartEventWait theirResult = StartEventWait::kSignalled;
  std::thread them([&] { theirResult = theirs->Wait(theirCancel, 400); });
  std::thread cancelLater([&] {
    std::this_thread::sleep_for(milliseconds(30));
    myCancel.store(true);
    mine->WakeLocalWaiters();
  });
  const auto start = Clock::now();
  EXPECT_EQ(mine->Wait(myCancel), StartEventWait::kCancelled);
  EXPECT_LT(MsSince(start), HangBoundMs(2000)) << "hang check: the local wake never came";
  cancelLater.join();
  them.join();
  EXPECT_EQ(theirResult, StartEventWait::kTimedOut) << "the other instance slept on";
  EXPECT_FALSE(mine->IsSet());
}

TEST_P(StartEventWaitTest, PrivateEventWaitsAndCancelsAlike) {
  auto event = MakePrivateStartEvent();
  EXPECT_FALSE(event->IsShared());
  std::atomic<bool> cancelled{false};
  std::thread setter([&] {
    std::this_thread::sleep_for(milliseconds(20));
    event->Set();
  });
  EXPECT_EQ(event->Wait(cancelled, 5000), StartEventWait::kSignalled);
  setter.join();
  event->Reset();
  std::thread canceller([&] {
    std::this_thread::sleep_for(milliseconds(20));
    cancelled.store(true);
    event->WakeLocalWaiters();
  });
  const auto start = Clock::now();
  EXPECT_EQ(event->Wait(cancelled), StartEventWait::kCancelled);
  EXPECT_LT(MsSince(start), HangBoundMs(2000)) << "hang check: the local wake never came";
  canceller.join();
}

INSTANTIATE_TEST_SUITE_P(Waits, StartEventWaitTest, ::testing::Values(false, true),
                         [](const auto& waits) { return waits.param ? "Sliced" : "TwoFutexes"; });

// The object's layout as this version writes it.
constexpr std::uint64_t kTestStamp = (std::uint64_t{0x56445345} << 32) | (1u << 16) | 16u;

struct ObjectCase {
  const char* name;
  mode_t mode;
  off_t size;
  std::uint64_t stamp;
  bool foreignOwner;
  const char* reasonPart;  // null: the object is accepted
};

// Creates the object as the case describes and returns its bytes.
std::string PrepareObject(const std::string& objectName, const ObjectCase& c) {
  const int fd = shm_open(objectName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd < 0) {
    return {};
  }
  fchmod(fd, c.mode);
  if (ftruncate(fd, c.size) != 0) {
    close(fd);
    return {};
  }
  if (c.size >= 8) {
    if (pwrite(fd, &c.stamp, sizeof c.stamp, 0) != static_cast<ssize_t>(sizeof c.stamp)) {
      close(fd);
      return {};
    }
  }
  if (c.foreignOwner && fchown(fd, 65534, 65534) != 0) {
    close(fd);
    return {};
  }
  std::string bytes(static_cast<std::size_t>(c.size), '\0');
  if (c.size > 0 && pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(c.size)) {
    bytes.clear();
  }
  close(fd);
  return bytes;
}

TEST_F(StartEventTest, ObjectsThatAreNotOursAreRefusedAndLeftAlone) {
  const ObjectCase cases[] = {
      {"fresh, empty", 0600, 0, 0, false, nullptr},
      {"sized, not yet claimed", 0600, 16, 0, false, nullptr},
      {"ours, this version", 0600, 16, kTestStamp, false, nullptr},
      {"readable by the group", 0640, 16, kTestStamp, false, "group or others"},
      {"writable by others", 0602, 16, kTestStamp, false, "group or others"},
      {"another user's", 0600, 16, kTestStamp, true, "another user"},
      {"too small", 0600, 8, kTestStamp, false, "wrong size"},
      {"a whole page", 0600, 4096, kTestStamp, false, "wrong size"},
      {"another magic", 0600, 16, (std::uint64_t{0x12345678} << 32) | 16u, false,
       "not a start event"},
      {"another version", 0600, 16, (std::uint64_t{0x56445345} << 32) | (2u << 16) | 16u, false,
       "another version"},
  };
  for (const ObjectCase& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveTestEvent(m_name);
    const std::string before = PrepareObject(ObjectName(), c);
    if (c.foreignOwner && before.empty()) {
      // Giving an object away takes the right to change owners, which a user
      // namespace's root does not have over users outside it.
      std::printf("[ SKIPPED  ] %s: no right to give the object to another user here\n", c.name);
      continue;
    }
    ASSERT_EQ(before.size(), static_cast<std::size_t>(c.size));
    auto event = OpenStartEvent(m_name);
    if (c.reasonPart == nullptr) {
      EXPECT_TRUE(event->IsShared()) << event->FallbackReason();
      continue;
    }
    EXPECT_FALSE(event->IsShared());
    EXPECT_NE(event->FallbackReason().find(c.reasonPart), std::string::npos)
        << event->FallbackReason();
    // Untouched: same bytes, same size.
    const int fd = shm_open(ObjectName().c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    std::string after(before.size(), '\0');
    EXPECT_EQ(pread(fd, after.data(), after.size(), 0), static_cast<ssize_t>(after.size()));
    close(fd);
    EXPECT_EQ(after, before);
    // The private event stands in and works.
    std::atomic<bool> cancelled{false};
    event->Set();
    EXPECT_EQ(event->Wait(cancelled, 0), StartEventWait::kSignalled);
  }
}

TEST_F(StartEventTest, ARefusalIsReportedOnceOnStandardError) {
  PrepareObject(ObjectName(), {"open to all", 0666, 16, kTestStamp, false, nullptr});
  PeerProcess peer;
  ASSERT_TRUE(peer.Start({ANIMATION_PEER, "open-twice", m_name}));
  EXPECT_EQ(peer.ReadLine(10000).value_or(""), "shared 00");
  EXPECT_EQ(peer.Wait(10000), 0);
  const std::string errors = peer.ReadStderr(1000);
  EXPECT_NE(errors.find(m_name + ": the shared object is open to group or others"),
            std::string::npos)
      << errors;
  EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line only: " << errors;
}

// Two processes.

TEST_F(StartEventTest, ASetInAnotherProcessReleasesOurWaiter) {
  auto event = OpenStartEvent(m_name);
  std::atomic<bool> cancelled{false};
  StartEventWait result = StartEventWait::kTimedOut;
  std::thread waiter([&] { result = event->Wait(cancelled, 10000); });
  std::this_thread::sleep_for(milliseconds(30));
  PeerProcess peer;
  ASSERT_TRUE(peer.Start({ANIMATION_PEER, "set", m_name}));
  EXPECT_EQ(peer.Wait(10000), 0);
  waiter.join();
  EXPECT_EQ(result, StartEventWait::kSignalled);
}

TEST_F(StartEventTest, OurSetReleasesAWaiterInAnotherProcess) {
  auto event = OpenStartEvent(m_name);
  PeerProcess peer;
  ASSERT_TRUE(peer.Start({ANIMATION_PEER, "wait", m_name, "10000"}));
  ASSERT_EQ(peer.ReadLine(10000).value_or(""), "waiting");
  const auto start = Clock::now();
  event->Set();
  EXPECT_EQ(peer.ReadLine(10000).value_or(""), "released");
  EXPECT_EQ(peer.Wait(10000), 0);
  EXPECT_LT(MsSince(start), HangBoundMs(5000)) << "hang check: the other process was not woken";
}

TEST_F(StartEventTest, AResetInAnotherProcessMakesUsWait) {
  auto event = OpenStartEvent(m_name);
  event->Set();
  PeerProcess peer;
  ASSERT_TRUE(peer.Start({ANIMATION_PEER, "reset", m_name}));
  EXPECT_EQ(peer.Wait(10000), 0);
  std::atomic<bool> cancelled{false};
  EXPECT_EQ(event->Wait(cancelled, 100), StartEventWait::kTimedOut);
}

TEST_F(StartEventTest, OurLocalWakeLeavesAnotherProcessWaiting) {
  auto event = OpenStartEvent(m_name);
  PeerProcess peer;
  ASSERT_TRUE(peer.Start({ANIMATION_PEER, "wait", m_name, "400"}));
  ASSERT_EQ(peer.ReadLine(10000).value_or(""), "waiting");
  std::this_thread::sleep_for(milliseconds(50));
  event->WakeLocalWaiters();
  EXPECT_EQ(peer.ReadLine(10000).value_or(""), "timeout");
  EXPECT_EQ(peer.Wait(10000), 3);
}

TEST_F(StartEventTest, APeerKilledAtAnyMomentLeavesTheEventWorking) {
  auto event = OpenStartEvent(m_name);
  std::mt19937 random(12345);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    PeerProcess peer;
    ASSERT_TRUE(peer.Start({ANIMATION_PEER, "hammer", m_name}));
    ASSERT_EQ(peer.ReadLine(10000).value_or(""), "hammering");
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    peer.Kill(SIGKILL);
    EXPECT_EQ(peer.Wait(10000), 128 + SIGKILL);

    event->Reset();
    EXPECT_FALSE(event->IsSet());
    std::atomic<bool> cancelled{false};
    StartEventWait result = StartEventWait::kTimedOut;
    std::thread waiter([&] { result = event->Wait(cancelled, 10000); });
    std::this_thread::sleep_for(milliseconds(5));
    event->Set();
    waiter.join();
    EXPECT_EQ(result, StartEventWait::kSignalled);
    EXPECT_TRUE(event->IsSet());
  }
}

TEST_F(StartEventTest, AWaiterKilledInTheKernelLeavesTheEventWorking) {
  auto event = OpenStartEvent(m_name);
  PeerProcess killed;
  ASSERT_TRUE(killed.Start({ANIMATION_PEER, "wait", m_name, "100000"}));
  ASSERT_EQ(killed.ReadLine(10000).value_or(""), "waiting");
  std::this_thread::sleep_for(milliseconds(20));
  killed.Kill(SIGKILL);
  EXPECT_EQ(killed.Wait(10000), 128 + SIGKILL);
  PeerProcess waiter;
  ASSERT_TRUE(waiter.Start({ANIMATION_PEER, "wait", m_name, "10000"}));
  ASSERT_EQ(waiter.ReadLine(10000).value_or(""), "waiting");
  event->Set();
  EXPECT_EQ(waiter.Wait(10000), 0);
}

}  // namespace
