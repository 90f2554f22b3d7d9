#include "core/numbers/series.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

TEST(ComputeSeries, StoresTheParametersFirst) {
  ComputeSeriesValues(0.25f, 0.75f, 4);
  EXPECT_EQ(g_runParams.sentence, 4);
  EXPECT_EQ(g_runParams.degree, 0.25f);
  EXPECT_EQ(g_runParams.estimate, 0.75f);
  EXPECT_EQ(SeriesAt(0), 0.0f);
  EXPECT_EQ(SeriesAt(1), 0.75f);
}

struct SeriesCase {
  const char* name;
  SentenceKind sentence;
  float degree;
  float estimate;
  int index;
  double expected;  // the stored single widened, compared bit for bit
};

TEST(ComputeSeries, MatchesTheKnownRuns) {
  const SeriesCase cases[] = {
      {"0: s[1] is x0", 0, 0.3f, 0.9f, 1, 0.8999999761581421},
      {"0: s[2]", 0, 0.3f, 0.9f, 2, 0.40000003576278687},
      {"0: s[3]", 0, 0.3f, 0.9f, 3, 0.8999999761581421},
      {"0: s[998]", 0, 0.3f, 0.9f, 998, 0.40000003576278687},
      {"0: s[999]", 0, 0.3f, 0.9f, 999, 0.8999999761581421},
      {"2: converges to 2/3", 2, 0.5f, 0.9f, 999, 0.6666666865348816},
      {"6: collapses to exactly 0", 6, 0.3f, 0.9f, 10, 0.0},
      {"6: stays 0", 6, 0.3f, 0.9f, 999, 0.0},
      {"7: from 0 alternates, s[2]", 7, 0.3f, 0.0f, 2, 1.0},
      {"7: from 0 alternates, s[999]", 7, 0.3f, 0.0f, 999, 0.0},
      {"10: falls back from s[2]", 10, 0.3f, 0.9f, 2, -9999.0},
      {"10: falls back to the end", 10, 0.3f, 0.9f, 999, -9999.0},
      {"10: keeps x0", 10, 0.3f, 0.9f, 1, 0.8999999761581421},
  };
  for (const auto& c : cases) {
    ComputeSeriesValues(c.degree, c.estimate, c.sentence);
    EXPECT_EQ(static_cast<double>(SeriesAt(c.index)), c.expected) << c.name;
  }
}

TEST(ComputeSeries, SentenceSixDecaysAsSquares) {
  ComputeSeriesValues(0.3f, 0.9f, 6);
  const double approx[] = {0.9,      0.81,      0.6561,   0.43047, 0.18530,
                           0.034337, 0.0011790, 1.39e-06, 1.88e-12};
  for (int i = 1; i <= 9; ++i) {
    EXPECT_NEAR(SeriesAt(i), approx[i - 1], approx[i - 1] * 1e-3) << i;
  }
  EXPECT_GT(SeriesAt(9), 0.0f);
  EXPECT_EQ(SeriesAt(10), 0.0f);
}

TEST(ComputeSeries, EachStepStartsFromTheStoredSingle) {
  ComputeSeriesValues(0.37f, 0.61f, 3);
  for (int i = 2; i < kSeriesLength; ++i) {
    g_runParams.sentence = 3;
    ASSERT_EQ(SeriesAt(i), static_cast<float>(EvaluateSentence(SeriesAt(i - 1)))) << i;
  }
}

TEST(ComputeSeries, IsRepeatable) {
  ComputeSeriesValues(0.43f, 0.17f, 5);
  const ValuationSeries first = g_series;
  ComputeSeriesValues(0.99f, 0.01f, 1);
  ComputeSeriesValues(0.43f, 0.17f, 5);
  EXPECT_EQ(g_series, first);
}

}  // namespace
