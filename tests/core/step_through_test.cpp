// Teaching with a run: the steps a user can step to or type, the log at any
// step, and f∘f drawn with its corners where they are.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/diagrams/drawing.h"
#include "core/log/output_log.h"
#include "core/numbers/sentence.h"
#include "core/numbers/series.h"
#include "core/numbers/step_rules.h"

namespace {

TEST(StepThrough, StepsGoWhereTheAnimationGoes) {
  const struct {
    const char* name;
    int from;
    int next;
    int previous;
  } cases[] = {
      {"the start skips 1", 0, 2, 0},     {"never shown, between", 1, 2, 0},
      {"first shown step", 2, 3, 0},      {"one step back", 3, 4, 2},
      {"a page boundary", 40, 41, 39},    {"the last value", 999, 1000, 998},
      {"the end stays", 1000, 1000, 999}, {"below the start", -3, 0, 0},
      {"past the end", 1005, 1005, 1000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextShownStep(c.from), c.next) << c.name;
    EXPECT_EQ(PreviousShownStep(c.from), c.previous) << c.name;
  }
  // Forward from 0 visits exactly the counts the animation shows.
  int step = 0;
  int visited = 1;
  while (NextShownStep(step) != step) {
    step = NextShownStep(step);
    ++visited;
  }
  EXPECT_EQ(visited, kSeriesLength);  // 0, 2, 3, ..., 1000
}

TEST(StepThrough, TypedStepCounts) {
  const struct {
    const char* text;
    bool valid;
    int step;
    const char* refusal;
  } cases[] = {
      {"0", true, 0, ""},
      {"1000", true, 1000, ""},
      {" 51 ", true, 51, ""},
      {"0007", true, 7, ""},
      {"1001", false, 0, "1001 is past the last step: a whole number from 0 to 1000."},
      {"99999999999999999999", false, 0,
       "99999999999999999999 is past the last step: a whole number from 0 to 1000."},
      {"-1", false, 0, "\"-1\" is not a step count: a whole number from 0 to 1000."},
      {"2.5", false, 0, "\"2.5\" is not a step count: a whole number from 0 to 1000."},
      {"x", false, 0, "\"x\" is not a step count: a whole number from 0 to 1000."},
      {"", false, 0, "Type a step count: a whole number from 0 to 1000."},
  };
  for (const auto& c : cases) {
    const StepCountText parsed = ParseStepCount(c.text);
    EXPECT_EQ(parsed.valid, c.valid) << c.text;
    EXPECT_EQ(parsed.step, c.step) << c.text;
    EXPECT_EQ(parsed.refusal, c.refusal) << c.text;
  }
}

TEST(StepThrough, TheLogAtAStepIsWhatAnUninterruptedRunLeaves) {
  ComputeSeriesValues(0.30f, 0.90f, 3);
  std::string formula;
  FormatFormula(formula);
  std::string log = FormatRefreshedLog(formula, SeriesAt(0), SeriesAt(1));
  bool lineOpen = false;
  for (int step = 0; step <= kSeriesLength;
       step = NextShownStep(step) == step ? step + 1 : NextShownStep(step)) {
    AppendStepToLog(log, lineOpen, step, formula, g_series);
    const LogAtStep shown = RebuildLogAtStep(step, true, formula, g_series);
    ASSERT_EQ(shown.text, log) << step;
    ASSERT_EQ(shown.lineOpen, lineOpen) << step;
    ASSERT_EQ(RebuildLogAtStep(step, false, formula, g_series).text,
              FormatRefreshedLog(formula, SeriesAt(0), SeriesAt(1)))
        << step;
  }
}

float Stored(float x) {
  return static_cast<float>(EvaluateSentence(x));
}

TEST(StepThrough, SecondIterateIsFTwiceInSinglePrecision) {
  for (SentenceKind sentence = 0; sentence < kSentenceCount; ++sentence) {
    for (const float degree : {0.0f, 0.3f, 0.75f, 1.0f}) {
      ComputeSeriesValues(degree, 0.9f, sentence);
      const Stroke curve = SecondIterateStroke();
      ASSERT_EQ(curve.colour, kSecondIterateColour);
      ASSERT_EQ(curve.vertices.front().x, 0.0);
      ASSERT_EQ(curve.vertices.back().x, 1.0);
      for (std::size_t i = 0; i < curve.vertices.size(); ++i) {
        const ColouredVertex& v = curve.vertices[i];
        const float x = static_cast<float>(v.x);
        ASSERT_EQ(v.y, static_cast<double>(Stored(Stored(x)))) << sentence << " at " << x;
        if (i > 0) {
          ASSERT_LT(curve.vertices[i - 1].x, v.x) << sentence;
        }
      }
    }
  }
  // The staircase stays on top, and nothing else is drawn in f∘f's colour.
  ComputeSeriesValues(0.3f, 0.9f, 3);
  const std::vector<Stroke> strokes = WebDiagramStrokes([] { return 60; }, g_series, true);
  ASSERT_EQ(strokes.size(), 5u);
  EXPECT_EQ(strokes[3].colour, kSecondIterateColour);
  EXPECT_EQ(strokes[4].colour, kTraceRed);
  for (const Stroke& s : {strokes[0], strokes[1], strokes[2], strokes[4]}) {
    for (const ColouredVertex& v : s.vertices) {
      EXPECT_NE(v.colour, kSecondIterateColour);
    }
  }
  EXPECT_EQ(DescribeWebDiagramStep(3, g_series, true),
            DescribeDiagramStep(3, g_series) + ", f∘f shown");
  EXPECT_EQ(DescribeWebDiagramStep(3, g_series, false), DescribeDiagramStep(3, g_series));
}

TEST(StepThrough, SecondIterateHasAVertexOnEachCornerBetweenFsSamples) {
  // Corners worked out by hand: f's own, and the points f takes to it.
  const struct {
    const char* name;
    SentenceKind sentence;
    float degree;
    double corner;
  } cases[] = {
      {"3 at 0.30: f's corner", 3, 0.30f, 1.0 / 1.3},
      {"3 at 0.30: rising to it", 3, 0.30f, (1.0 / 1.3) / 1.3},
      {"3 at 0.30: falling to it", 3, 0.30f, (2.0 - 1.0 / 1.3) / 1.3},
      {"3 at 0.50: rising to it", 3, 0.50f, (2.0 / 3.0) / 1.5},
      {"4 at 0.30: falling to it", 4, 0.30f, (1.3 - 0.3 / 1.3) / 1.3},
      {"4 at 0.75: rising to it", 4, 0.75f, (0.75 / 1.75 - 0.25) / 1.75},
      {"4 at 0.75: falling to it", 4, 0.75f, (1.75 - 0.75 / 1.75) / 1.75},
  };
  for (const auto& c : cases) {
    ComputeSeriesValues(c.degree, 0.9f, c.sentence);
    double nearestSample = 1.0;
    for (const ColouredVertex& v : CurveStroke().vertices) {
      nearestSample = std::min(nearestSample, std::abs(v.x - c.corner));
    }
    ASSERT_GT(nearestSample, 1e-4) << c.name << ": not between two of f's samples";
    bool found = false;
    for (const ColouredVertex& v : SecondIterateStroke().vertices) {
      found = found || std::abs(v.x - c.corner) <= 3e-7;  // a few single-precision steps
    }
    EXPECT_TRUE(found) << c.name;
  }
}

}  // namespace
