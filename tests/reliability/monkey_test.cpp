// The real main window in the hands of a randomized user, with the workers
// stepping every millisecond behind it. The seed and the count of actions
// are printed first; a failure replays with
//   VERIDRIFT_MONKEY_SEED=<seed> VERIDRIFT_MONKEY_ACTIONS=<n> reliability_window_tests
// The count is fixed per build, never cut short by the clock, so a seed means
// the same run on any machine; VERIDRIFT_MONKEY_TRACE=1 prints every action
// as it is taken.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>

#include "core/log/output_log.h"
#include "core/numbers/number_text.h"
#include "desktop/windows/sentence_dlg.h"
#include "hang_bound.h"
#include "monkey.h"

namespace {

long EnvironmentNumber(const char* name, long otherwise) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 0) : otherwise;
}

TEST(Monkey, EveryActionKeepsEveryRule) {
  const auto seed = static_cast<std::uint32_t>(
      EnvironmentNumber("VERIDRIFT_MONKEY_SEED", static_cast<long>(std::random_device{}())));
  const long actions = EnvironmentNumber("VERIDRIFT_MONKEY_ACTIONS", MONKEY_ACTIONS);
  const bool trace = EnvironmentNumber("VERIDRIFT_MONKEY_TRACE", 0) != 0;
  std::printf("monkey seed %u, %ld actions\n", seed, actions);
  std::fflush(stdout);

  g_selectedSentence = 0;
  g_logLineOpen = false;
  auto dialog = std::make_unique<CSentenceDlg>();
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get(), HangBoundMs(5000)));
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get(), HangBoundMs(5000)));

  Monkey monkey(*dialog, seed);
  std::deque<std::string> recent;
  const auto started = std::chrono::steady_clock::now();
  for (long done = 0; done < actions; ++done) {
    recent.push_back(std::to_string(done + 1) + ": " + monkey.Act());
    if (trace) {
      std::printf("%s\n", recent.back().c_str());
    }
    if (recent.size() > 15) {
      recent.pop_front();
    }
    const std::string problem = monkey.Check();
    if (!problem.empty()) {
      std::string trail;
      for (const std::string& line : recent) {
        trail += "\n  " + line;
      }
      FAIL() << problem << "\nafter action " << done + 1 << " of seed " << seed
             << "; the last actions:" << trail;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("monkey seed %u: %ld actions in %s s (%s)\n", seed, actions,
              FormatFixed2(seconds).c_str(), monkey.Tally().c_str());
  dialog.reset();
}

}  // namespace
