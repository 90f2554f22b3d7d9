#include "core/log/output_log.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/numbers/sentence.h"

namespace {

std::string Formula() {
  std::string formula;
  FormatFormula(formula);
  return formula;
}

// The log after a refresh of sentence 0 with k 0.30 and x0 0.90.
class SentenceZeroLog : public ::testing::Test {
 protected:
  void SetUp() override {
    ComputeSeriesValues(0.3f, 0.9f, 0);
    log = FormatRefreshedLog(Formula(), SeriesAt(0), SeriesAt(1));
  }
  bool Step(int step) { return AppendStepToLog(log, lineOpen, step, Formula(), g_series); }
  void Steps(int first, int last) {
    for (int step = first; step <= last; ++step) {
      Step(step);
    }
  }

  std::string log;
  bool lineOpen = false;
};

TEST_F(SentenceZeroLog, FirstThreeStepsReadAsTheExample) {
  Steps(2, 4);
  EXPECT_EQ(log,
            "         = 1 - abs(0.30 - Xn)\n"
            "\n"
            "    x[00] = 0.00    x[01] = 0.90\n"
            "    x[02] = 0.40    x[03] = 0.90\n"
            "    x[04] = 0.40");
  EXPECT_TRUE(lineOpen);
}

TEST_F(SentenceZeroLog, PageClearsToTheFormulaAloneAtEveryFortiethStep) {
  Steps(2, 39);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3 + 19);
  EXPECT_FALSE(lineOpen);
  Steps(40, 40);
  EXPECT_EQ(log, "         = 1 - abs(0.30 - Xn)\n\n") << "no x[40], no x[00]/x[01] line";
  Steps(41, 79);
  EXPECT_TRUE(log.ends_with("x[77] = 0.90    x[78] = 0.40\n    x[79] = 0.90")) << log;
  EXPECT_NE(log.find("\n\n    x[41] = 0.90    x[42] = 0.40\n"), std::string::npos) << log;
  EXPECT_TRUE(lineOpen) << "79 stands alone";
  Steps(80, 80);
  EXPECT_EQ(log, FormatLogHead(Formula()));
  EXPECT_FALSE(lineOpen);
}

TEST_F(SentenceZeroLog, LastStepOfARunLeavesTheHeadAlone) {
  Steps(961, 999);
  EXPECT_NE(log.find("    x[999] = 0.90"), std::string::npos);
  EXPECT_TRUE(Step(1000));
  EXPECT_EQ(log, FormatLogHead(Formula()));
  EXPECT_FALSE(lineOpen);
}

TEST_F(SentenceZeroLog, StepsCancelledByARefreshChangeNothing) {
  const std::string before = log;
  for (int step : {0, 1, -5}) {
    lineOpen = true;
    EXPECT_FALSE(Step(step)) << step;
    EXPECT_EQ(log, before) << step;
    EXPECT_TRUE(lineOpen) << step;
  }
}

TEST_F(SentenceZeroLog, OpenLineFromAnEarlierRunShiftsThePairs) {
  lineOpen = true;
  Steps(2, 3);
  EXPECT_EQ(log.substr(log.find("x[01]")), "x[01] = 0.90\n    x[02] = 0.40\n    x[03] = 0.90");
}

struct EntryCase {
  const char* name;
  int step;
  float value;
  const char* expected;
};

class LogEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(LogEntry, StepHasAtLeastTwoDigitsValueTwoDecimals) {
  EXPECT_EQ(FormatLogEntry(GetParam().step, GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogEntry,
    ::testing::Values(EntryCase{"leading_zero", 2, 0.4f, "    x[02] = 0.40"},
                      EntryCase{"two_digits", 41, 1.0f, "    x[41] = 1.00"},
                      EntryCase{"three_digits", 100, 0.0f, "    x[100] = 0.00"},
                      EntryCase{"last_value", 999, 0.5f, "    x[999] = 0.50"},
                      EntryCase{"exact_half_rounds_up", 7, 0.125f, "    x[07] = 0.13"},
                      EntryCase{"float_below_half", 8, 0.3f, "    x[08] = 0.30"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(LogHead, TwoLineFormulaGivesTwoLinesBeforeTheBlankLine) {
  ComputeSeriesValues(0.3f, 0.9f, 1);
  const std::string formula = Formula();
  ASSERT_NE(formula.find('\n'), std::string::npos);
  const std::string log = FormatRefreshedLog(formula, SeriesAt(0), SeriesAt(1));
  EXPECT_EQ(log, " " + formula + "\n\n    x[00] = 0.00    x[01] = 0.90\n");
  EXPECT_EQ(std::count(log.begin(), log.find("\n\n") + log.begin(), '\n'), 1);
}

TEST(LogEntries, HundredAndBeyondFromTheSeries) {
  ValuationSeries series{};
  for (int i = 0; i < kSeriesLength; ++i) {
    series[static_cast<std::size_t>(i)] = static_cast<float>(i % 100) / 100.0f;
  }
  std::string log = "head";
  bool lineOpen = false;
  AppendStepToLog(log, lineOpen, 101, "f", series);
  AppendStepToLog(log, lineOpen, 102, "f", series);
  AppendStepToLog(log, lineOpen, 999, "f", series);
  EXPECT_EQ(log, "head    x[101] = 0.01    x[102] = 0.02\n    x[999] = 0.99");
}

}  // namespace
