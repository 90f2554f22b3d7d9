// The monkey's rules, checked on texts made by hand: each must accept what
// the window may show and name what it must not.
#include "monkey_invariants.h"

#include <gtest/gtest.h>

#include "core/log/output_log.h"
#include "core/numbers/number_text.h"

namespace {

struct FieldCase {
  const char* text;
  bool atRest;
};

class FieldAtRest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldAtRest, AcceptsOnlyTheMarkerAndCanonicalValues) {
  EXPECT_EQ(CheckFieldAtRest("field", GetParam().text).empty(), GetParam().atRest);
}

INSTANTIATE_TEST_SUITE_P(Texts, FieldAtRest,
                         ::testing::Values(FieldCase{"0.00", true}, FieldCase{"0.57", true},
                                           FieldCase{"1.00", true}, FieldCase{"?", true},
                                           FieldCase{"1.01", false}, FieldCase{"0.5", false},
                                           FieldCase{"", false}, FieldCase{"0,50", false},
                                           FieldCase{"0.", false}, FieldCase{"??", false},
                                           FieldCase{"0.500", false}));

TEST(StepCount, ZeroAndTwoToTheEndOnly) {
  for (int count : {0, 2, 3, 999, 1000}) {
    EXPECT_EQ(CheckStepCount("web", count), "") << count;
  }
  for (int count : {-1, 1, 1001}) {
    EXPECT_NE(CheckStepCount("web", count), "") << count;
  }
}

class LogCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::size_t i = 0; i < kSeriesLength; ++i) {
      series[i] = static_cast<float>(i % 100) / 100.0f;
    }
  }
  std::string Head() const { return FormatLogHead(formula); }
  std::string Refreshed() const { return FormatRefreshedLog(formula, series[0], series[1]); }
  std::string Entry(int step) const {
    return FormatLogEntry(step, series[static_cast<std::size_t>(step)]);
  }

  const std::string formula = "        = 1 - abs(0.30 - Xn)";
  ValuationSeries series{};
};

TEST_F(LogCheck, AcceptsWhatARefreshAndTheStepsWrite) {
  EXPECT_EQ(CheckLog(Refreshed(), formula, series), "");
  EXPECT_EQ(CheckLog(Refreshed() + Entry(2) + Entry(3) + "\n" + Entry(4), formula, series), "");
  EXPECT_EQ(CheckLog(Refreshed() + Entry(7) + "\n" + Entry(8), formula, series), "")
      << "a line left open before a refresh ends at the first entry";
  EXPECT_EQ(CheckLog(Head(), formula, series), "") << "a page just cleared";
  EXPECT_EQ(CheckLog(Head() + Entry(41) + Entry(42) + "\n", formula, series), "");
}

TEST_F(LogCheck, NamesEveryWayTheLogCanGoWrong) {
  const std::string other = "        = 1 - abs(0.40 - Xn)";
  EXPECT_NE(CheckLog(FormatRefreshedLog(other, series[0], series[1]), formula, series), "")
      << "the formula of another degree";
  EXPECT_NE(CheckLog(FormatRefreshedLog(formula, series[0], 0.77f), formula, series), "")
      << "x[01] of another estimate";
  EXPECT_NE(CheckLog(Refreshed() + FormatLogEntry(5, 0.99f), formula, series), "")
      << "an entry from an earlier series";
  EXPECT_NE(CheckLog(Refreshed() + Entry(40), formula, series), "") << "a page's last step";
  EXPECT_NE(CheckLog(Refreshed() + "    x[01] = 0.01", formula, series), "") << "step 1";
  EXPECT_NE(CheckLog(Refreshed() + Entry(2) + Entry(3) + Entry(4), formula, series), "")
      << "three on a line";
  EXPECT_NE(CheckLog(Refreshed() + "    x[02] = 0,02", formula, series), "") << "a comma";
  EXPECT_NE(CheckLog("", formula, series), "") << "an empty log";
}

}  // namespace
