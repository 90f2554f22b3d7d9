// Two instances sharing the start event: this test program and a peer
// program with one worker of its own.
#include <algorithm>
#include <cstdlib>

#include "worker_fixture.h"

namespace {

constexpr int kPeerInterval = 10;

bool IsPaintOfAtLeast(const std::string& line, int count) {
  return line.rfind("paint ", 0) == 0 && std::atoi(line.c_str() + 6) >= count;
}

class TwoInstancesTest : public WorkerTest {
 protected:
  // Starts the peer's worker, waiting on the shared event.
  void StartPeer() {
    ASSERT_TRUE(
        m_peer.Start({ANIMATION_PEER, "animate", m_eventName, std::to_string(kPeerInterval)}));
    ASSERT_TRUE(m_peer.ReadLineMatching([](const std::string& l) { return l == "ready"; }, 20000))
        << "the peer did not come up: " << m_peer.ReadStderr(2000);
  }
  void TellPeer(const std::string& command) {
    ASSERT_TRUE(m_peer.WriteLine(command));
    ASSERT_TRUE(
        m_peer.ReadLineMatching([&](const std::string& l) { return l == "ok " + command; }, 20000));
  }
  bool PeerPaints(int count, int timeoutMs) {
    return m_peer
        .ReadLineMatching([&](const std::string& l) { return IsPaintOfAtLeast(l, count); },
                          timeoutMs)
        .has_value();
  }
  bool PeerPaintsAny(int timeoutMs) {
    const auto lines = m_peer.ReadLinesFor(timeoutMs);
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& l) { return IsPaintOfAtLeast(l, 2); });
  }
  void TearDown() override {
    if (m_peer.Pid() > 0 && m_peer.Wait(0) < 0) {
      m_peer.WriteLine("quit");
      EXPECT_EQ(m_peer.Wait(20000), 0)
          << "the peer ended cleanly, its sanitizer silent: " << m_peer.ReadStderr(2000);
    }
    WorkerTest::TearDown();
  }

  PeerProcess m_peer;
};

TEST_F(TwoInstancesTest, OurStartWakesTheOtherInstancesWaitingWorker) {
  StartWorkers(20);
  StartPeer();
  EXPECT_FALSE(PeerPaintsAny(100)) << "nothing runs before a start";
  AnimationSignalStart();
  EXPECT_TRUE(PeerPaints(2, 10000));
  EXPECT_TRUE(PumpUntil([&] { return m_web.LastPainted() >= 2; }, 10000));
}

TEST_F(TwoInstancesTest, TheOtherInstancesStartWakesOurWaitingWorkers) {
  StartWorkers(20);
  StartPeer();
  TellPeer("start");
  EXPECT_TRUE(
      PumpUntil([&] { return m_web.LastPainted() >= 2 && m_series.LastPainted() >= 2; }, 10000));
  EXPECT_FALSE(AnimationIsStopped()) << "our workers cleared the stop flag on waking";
}

TEST_F(TwoInstancesTest, AResetInOneMakesTheOthersWorkersWaitAtTheirNextWait) {
  StartWorkers(20);
  StartPeer();
  AnimationSignalStart();
  ASSERT_TRUE(PeerPaints(3, 10000));
  AnimationRequestStop();  // our workers reset the shared event
  ASSERT_TRUE(PumpUntil([&] { return !EventIsSet(); }, 10000));
  EXPECT_TRUE(PeerPaints(2, 10000)) << "the peer's run goes on until its next wait";
  TellPeer("restart");  // ends the peer's run: its worker waits again
  EXPECT_FALSE(PeerPaintsAny(300));
  AnimationSignalStart();
  EXPECT_TRUE(PeerPaints(2, 10000));
}

TEST_F(TwoInstancesTest, ShuttingDownOneInstanceLeavesTheOthersWaitingWorkerAlone) {
  StartWorkers(20);
  StartPeer();
  ShutdownAnimationWorkers();
  EXPECT_FALSE(PeerPaintsAny(300));
  EXPECT_FALSE(g_startEvent.load()->IsSet());
}

TEST_F(TwoInstancesTest, ShuttingDownOneInstanceLeavesTheOthersRunAlone) {
  StartWorkers(20);
  StartPeer();
  AnimationSignalStart();
  ASSERT_TRUE(PeerPaints(3, 10000));
  ShutdownAnimationWorkers();
  EXPECT_TRUE(PeerPaints(6, 10000));
  EXPECT_TRUE(g_startEvent.load()->IsSet());
}

TEST_F(TwoInstancesTest, APeerKilledWhileRunningLeavesOurWorkersWorking) {
  StartWorkers(10);
  StartPeer();
  TellPeer("start");
  ASSERT_TRUE(PeerPaints(3, 10000));
  m_peer.Kill(SIGKILL);
  EXPECT_EQ(m_peer.Wait(10000), 128 + SIGKILL);
  ASSERT_TRUE(PumpUntil([&] { return m_web.LastPainted() >= 5; }, 10000));
  AnimationRequestStop();
  ASSERT_TRUE(PumpUntil([&] { return !EventIsSet(); }, 10000));
  const int stopped = m_web.counter.load();
  PumpFor(50);
  EXPECT_EQ(m_web.counter.load(), stopped);
  AnimationSignalStart();
  EXPECT_TRUE(PumpUntil([&] { return m_web.counter.load() >= stopped + 2; }, 10000));
}

TEST_F(TwoInstancesTest, APeerKilledInTheMiddleOfSettingAndResettingLeavesUsWorking) {
  StartWorkers(10);
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    PeerProcess hammer;
    ASSERT_TRUE(hammer.Start({ANIMATION_PEER, "hammer", m_eventName}));
    ASSERT_TRUE(hammer.ReadLine(10000).has_value());
    PumpFor(3 + round);
    hammer.Kill(SIGKILL);
    EXPECT_EQ(hammer.Wait(10000), 128 + SIGKILL);
    AnimationRequestStop();
    ASSERT_TRUE(PumpUntil([&] { return !EventIsSet(); }, 10000));
    PumpFor(30);
    const int stopped = m_web.counter.load();
    AnimationSignalStart();
    EXPECT_TRUE(
        PumpUntil([&] { return m_web.counter.load() >= std::min(stopped + 2, 1000); }, 10000));
  }
}

}  // namespace
