// The run report against values worked out by hand from the valuations: what
// the stored series does, where f's fixed points lie and how they act, and
// the mean log slope along the run.
#include "core/report/run_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "cli/series_command.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kAnyLyapunov = 99.0;  // not checked
const double kRoot5 = std::sqrt(5.0);
const double kEps = static_cast<double>(1e-6f);

struct ExpectedPoint {
  double x;
  double slope;  // one slope: none of these lies on a corner inside (0, 1)
  Stability stability;
};

struct ReportCase {
  const char* name;
  SentenceKind sentence;
  float degree;
  float estimate;
  RunBehaviour behaviour;
  int fromStep;  // 0: not checked
  int period;
  std::vector<double> values;  // the stored singles from s[fromStep] on; empty: not checked
  std::vector<ExpectedPoint> points;
  std::vector<FixedInterval> intervals;
  double lyapunov;
  double lyapunovTolerance;
  bool roundedOnto;
};

// Values near the golden section and just below 1 are one single-precision
// step from the real fixed point, whichever side rounding picks.
constexpr double kOneSingleStep = 6.0e-8;

const ReportCase kCases[] = {
    // 1 - |0.3 - x| takes 0.9 to 0.4 and back: slope -1 everywhere on the
    // run, fixed point (1 + k)/2 with k as stored (0.3f, not 0.3).
    {"cycle_of_two_around_a_neutral_point",
     0,
     0.30f,
     0.90f,
     RunBehaviour::kCycle,
     1,
     2,
     {0.8999999761581421, 0.40000003576278687},
     {{(1.0 + static_cast<double>(0.30f)) / 2.0, -1.0, Stability::kNeutral}},
     {},
     0.0,
     0.0,
     false},
    // 1 - x/2: x* = 1/(1 + 1/2), every term ln(1/2).
    {"settles_within_rounding_around_two_thirds",
     2,
     0.50f,
     0.90f,
     RunBehaviour::kSettlesWithinRounding,
     0,
     2,
     {},
     {{2.0 / 3.0, -0.5, Stability::kAttracting}},
     {},
     -std::log(2.0),
     1e-12,
     false},
    // The tent map 1 - |1 - 2x|: 0.9f = 7549747/2^23 keeps an odd numerator
    // over a halving power of two, reaching 1 at s[24] and 0 at s[25]. Every
    // slope is +-2, the left piece is fixed at (k - 1)/k = 0, the right one
    // at (1 + k)/(2 + k).
    {"rounding_lands_on_the_repelling_zero",
     4,
     1.00f,
     0.90f,
     RunBehaviour::kSettles,
     25,
     1,
     {0.0},
     {{0.0, 2.0, Stability::kRepelling}, {2.0 / 3.0, -2.0, Stability::kRepelling}},
     {},
     std::log(2.0),
     1e-12,
     true},
    // x^2: from s[10] on exactly 0, where f' = 2x = 0.
    {"squares_fall_to_zero_at_step_ten",
     6,
     0.0f,
     0.90f,
     RunBehaviour::kSettles,
     10,
     1,
     {0.0},
     {{0.0, 0.0, Stability::kAttracting}, {1.0, 2.0, Stability::kRepelling}},
     {},
     -kInf,
     0.0,
     false},
    // (1 - x)^2 takes 0 to 1 and 1 to 0; f'(1) = 0. Fixed where
    // x^2 - 3x + 1 = 0, slope -2(1 - x*) = 1 - sqrt 5.
    {"emphatic_liar_cycles_zero_one",
     7,
     0.0f,
     0.0f,
     RunBehaviour::kCycle,
     1,
     2,
     {0.0, 1.0},
     {{(3.0 - kRoot5) / 2.0, 1.0 - kRoot5, Stability::kRepelling}},
     {},
     -kInf,
     0.0,
     false},
    // eps + 1.3x up to the clamp, 2 + eps - 1.3x after it: [0.7, 1] maps
    // into itself with slopes +-1.3, never landing in the clamp's 1.5e-6.
    {"slopes_of_one_point_three_wander",
     3,
     0.30f,
     0.90f,
     RunBehaviour::kNoRepeat,
     0,
     0,
     {},
     {{(2.0 + kEps) / (2.0 + static_cast<double>(0.30f)), -1.3, Stability::kRepelling}},
     {},
     std::log(1.3),
     1e-6,
     false},
    // sqrt(1 - x) = x at (sqrt 5 - 1)/2, slope -1/(2x*) = -(sqrt 5 + 1)/4.
    // The mean is ln 0.809 = -0.2119 plus a start-up of alternating terms
    // (ln 1.58, ln 0.60, ln 1.20, ...) summing to about +0.7, over 998.
    {"modest_liar_settles_on_the_golden_section",
     9,
     0.0f,
     0.90f,
     RunBehaviour::kSettles,
     0,
     1,
     {(kRoot5 - 1.0) / 2.0},
     {{(kRoot5 - 1.0) / 2.0, -(kRoot5 + 1.0) / 4.0, Stability::kAttracting}},
     {},
     -0.211,
     0.002,
     false},
    // sqrt(1 - u) for u = 2^-24 lies just below 1 - 2^-25, the midpoint, so
    // 1 - 2^-24 maps to itself. Slope 1/(2 sqrt x): infinite at 0, 1/2 at 1;
    // the start-up adds about +0.7/998 to ln(1/2).
    {"modest_truth_teller_stops_just_below_one",
     8,
     0.0f,
     0.50f,
     RunBehaviour::kSettles,
     0,
     1,
     {1.0 - std::ldexp(1.0, -24)},
     {{0.0, kInf, Stability::kRepelling}, {1.0, 0.5, Stability::kAttracting}},
     {},
     -0.692,
     0.002,
     false},
    // With k = 1, 1 - |1 - x| = x on all of [0, 1]; so do 1 and 5 with k = 0.
    {"truth_teller_one_fixes_every_x",
     0,
     1.00f,
     0.90f,
     RunBehaviour::kSettles,
     1,
     1,
     {0.8999999761581421},
     {},
     {{0.0, 1.0}},
     0.0,
     0.0,
     false},
    {"false_zero_fixes_every_x",
     1,
     0.0f,
     0.50f,
     RunBehaviour::kSettles,
     1,
     1,
     {0.5},
     {},
     {{0.0, 1.0}},
     0.0,
     0.0,
     false},
    {"as_false_as_false_zero_fixes_every_x",
     5,
     0.0f,
     0.30f,
     RunBehaviour::kSettles,
     1,
     1,
     {0.30000001192092896},
     {},
     {{0.0, 1.0}},
     0.0,
     0.0,
     false},
    // Without eps, x + 0 would fix every x; with it the run creeps up by eps
    // a step and only the clamp near 1 is fixed, flat.
    {"epsilon_leaves_only_the_clamp_fixed",
     3,
     0.0f,
     0.50f,
     RunBehaviour::kNoRepeat,
     0,
     0,
     {},
     {{1.0, 0.0, Stability::kAttracting}},
     {},
     0.0,
     0.0,
     false},
    // f = 1 for every x: flat, so the exponent is -inf though f stays put.
    {"constant_one_is_flat",
     2,
     1.00f,
     0.30f,
     RunBehaviour::kSettles,
     2,
     1,
     {1.0},
     {{1.0, 0.0, Stability::kAttracting}},
     {},
     -kInf,
     0.0,
     false},
};

void PrintTo(const ReportCase& c, std::ostream* out) {
  *out << c.name;
}

class RunReportCase : public ::testing::TestWithParam<ReportCase> {};

TEST_P(RunReportCase, MatchesTheHandDerivation) {
  const ReportCase& c = GetParam();
  ComputeSeriesValues(c.degree, c.estimate, c.sentence);
  const RunReport r = AnalyseRun();
  EXPECT_EQ(r.behaviour, c.behaviour);
  if (c.fromStep != 0) {
    EXPECT_EQ(r.fromStep, c.fromStep);
  }
  EXPECT_EQ(r.period, c.period);
  if (!c.values.empty()) {
    ASSERT_EQ(r.values.size(), c.values.size());
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_NEAR(r.values[i], c.values[i], kOneSingleStep) << "value " << i;
    }
  }
  if (c.behaviour == RunBehaviour::kSettlesWithinRounding) {
    // Two neighbouring singles, one on each side of the fixed point.
    ASSERT_EQ(r.values.size(), 2u);
    EXPECT_EQ(std::nextafter(std::min(r.values[0], r.values[1]), 2.0f),
              std::max(r.values[0], r.values[1]));
    EXPECT_LT(std::min(r.values[0], r.values[1]), c.points[0].x);
    EXPECT_GT(std::max(r.values[0], r.values[1]), c.points[0].x);
  }
  ASSERT_EQ(r.fixedPoints.size(), c.points.size());
  for (std::size_t i = 0; i < c.points.size(); ++i) {
    const FixedPoint& found = r.fixedPoints[i];
    EXPECT_NEAR(found.x, c.points[i].x, 1e-9) << "point " << i;
    EXPECT_FALSE(found.corner) << "point " << i;
    if (std::isinf(c.points[i].slope)) {
      EXPECT_EQ(found.slopeLeft, c.points[i].slope) << "point " << i;
    } else {
      EXPECT_NEAR(found.slopeLeft, c.points[i].slope, 1e-7) << "point " << i;
    }
    EXPECT_EQ(found.stability, c.points[i].stability) << "point " << i;
  }
  ASSERT_EQ(r.fixedIntervals.size(), c.intervals.size());
  for (std::size_t i = 0; i < c.intervals.size(); ++i) {
    EXPECT_EQ(r.fixedIntervals[i].from, c.intervals[i].from);
    EXPECT_EQ(r.fixedIntervals[i].to, c.intervals[i].to);
  }
  if (std::isinf(c.lyapunov) || c.lyapunovTolerance == 0.0) {
    EXPECT_EQ(r.lyapunov, c.lyapunov);
  } else if (c.lyapunov != kAnyLyapunov) {
    EXPECT_NEAR(r.lyapunov, c.lyapunov, c.lyapunovTolerance);
  }
  EXPECT_EQ(r.roundedOntoFixedPoint, c.roundedOnto);
}

INSTANTIATE_TEST_SUITE_P(HandWorked, RunReportCase, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SentenceSlope, OnACornerTakesThePieceToTheRightAndAtTheEndsTheInside) {
  EXPECT_EQ(SentenceSlope(0, 0.30f, 0.30f), -1.0);  // 1 - |k - x| at x = k
  EXPECT_EQ(SentenceSlope(4, 1.00f, 0.5), -2.0);    // the tent's top
  EXPECT_EQ(SentenceSlope(1, 0.0f, 1.0), 1.0);      // corner at 1: the left piece
  EXPECT_EQ(SentenceSlope(9, 0.0f, 1.0), -kInf);
  EXPECT_TRUE(std::isnan(SentenceSlope(10, 0.0f, 0.5)));
}

std::string RunCommand(std::vector<const char*> args, int* status, std::string* err) {
  args.insert(args.begin(), "veridrift-series");
  std::ostringstream out, errors;
  *status = RunSeriesCommand(static_cast<int>(args.size()), args.data(), out, errors);
  *err = errors.str();
  return out.str();
}

TEST(ReportText, LinesAndSentencesOfTheStartingRun) {
  int status = -1;
  std::string err;
  EXPECT_EQ(RunCommand({"--report", "0", "0.30", "0.90"}, &status, &err),
            "sentence: 0 This sentence is 0.30 True\n"
            "degree: 0.30\n"
            "estimate: 0.90\n"
            "behaviour: cycle\n"
            "from step: 1\n"
            "period: 2\n"
            "values: 0.899999976 0.400000036\n"
            "fixed point: 0.6500 slope -1.0000 neutral\n"
            "lyapunov exponent: 0.000 neutral\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(FormatReportSentences(AnalyseRun()),
            "From step 1 on the values repeat every 2 steps: 0.90, 0.40. f has one fixed point, "
            "0.6500, neutral (slope -1). Lyapunov exponent 0.000: nearby starts neither come "
            "together nor drift apart.");
}

TEST(ReportText, RoundingOntoARepellingPointIsSaid) {
  int status = -1;
  std::string err;
  EXPECT_EQ(RunCommand({"--report", "4", "1", "0.9"}, &status, &err),
            "sentence: 4 This sentence is 1.00 as False as it is estimated to be True\n"
            "degree: 1.00\n"
            "estimate: 0.90\n"
            "behaviour: settles\n"
            "from step: 25\n"
            "values: 0\n"
            "fixed point: 0.0000 slope 2.0000 repelling\n"
            "fixed point: 0.6667 slope -2.0000 repelling\n"
            "lyapunov exponent: 0.693 diverging\n"
            "note: rounding, not f, brought the run onto the repelling fixed point 0.0000 at "
            "step 25\n");
}

TEST(ReportText, BadArgumentsAfterReportAreRefusedAsWithout) {
  const struct {
    std::vector<const char*> args;
    const char* named;
  } cases[] = {
      {{"--report"}, "expected 3 arguments"},
      {{"--report", "2", "0.50", "0.9x"}, "ESTIMATE"},
      {{"--report", "2", "1.5", "0.9"}, "DEGREE"},
      {{"--report", "10", "0.5", "0.9"}, "SENTENCE"},
  };
  for (const auto& c : cases) {
    int status = -1;
    std::string err;
    EXPECT_EQ(RunCommand(c.args, &status, &err), "");
    EXPECT_EQ(status, kSeriesCommandUsageError);
    EXPECT_NE(err.find(c.named), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  }
}

}  // namespace
