// The two diagrams' geometry, compared exactly: primitives, colours, vertices
// and their order, for the step counters that matter.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/diagrams/drawing.h"
#include "core/numbers/sentence.h"
#include "core/numbers/series.h"

namespace {

constexpr Rgb kOrange{1.0f, 0.5f, 0.0f};
constexpr Rgb kYellow{1.0f, 1.0f, 0.0f};
constexpr Rgb kRed{1.0f, 0.0f, 0.0f};

StepCounterRead Fixed(int counter) {
  return [counter] { return counter; };
}

// The series of sentence 0 with k = 0.30 and x0 = 0.90, copied to the heap
// with nothing around it, so that a read past s[999] is caught by the
// address sanitizer.
class DiagramGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    ComputeSeriesValues(0.30f, 0.90f, 0);
    series_ = std::make_unique<ValuationSeries>(g_series);
  }
  const ValuationSeries& s() const { return *series_; }
  double S(int i) const { return static_cast<double>(s()[static_cast<std::size_t>(i)]); }

  std::unique_ptr<ValuationSeries> series_;
};

// ---- The fixed parts of the web diagram ----

TEST_F(DiagramGeometry, FrameIsAGreySquareOutlineStartingAtTheOrigin) {
  const Stroke frame = FrameStroke();
  EXPECT_EQ(frame.primitive, Primitive::kLineStrip);
  EXPECT_EQ(frame.colour, (Rgb{0.3f, 0.3f, 0.3f}));
  const Rgb c = frame.colour;
  const std::vector<ColouredVertex> expected{{0, 0, c}, {0, 1, c}, {1, 1, c}, {1, 0, c}, {0, 0, c}};
  EXPECT_EQ(frame.vertices, expected);
}

TEST_F(DiagramGeometry, DiagonalIsOneLighterGreyLine) {
  const Stroke diagonal = DiagonalStroke();
  EXPECT_EQ(diagonal.primitive, Primitive::kLines);
  EXPECT_EQ(diagonal.colour, (Rgb{0.4f, 0.4f, 0.4f}));
  const Rgb c = diagonal.colour;
  EXPECT_EQ(diagonal.vertices, (std::vector<ColouredVertex>{{0, 0, c}, {1, 1, c}}));
}

TEST_F(DiagramGeometry, CurveHas101SamplesEndingJustShortOfOne) {
  const Stroke curve = CurveStroke();
  EXPECT_EQ(curve.primitive, Primitive::kLineStrip);
  EXPECT_EQ(curve.colour, (Rgb{0.0f, 0.5f, 0.0f}));
  ASSERT_EQ(curve.vertices.size(), 101u);
  EXPECT_EQ(curve.vertices.front().x, 0.0);
  // The single-precision step falls short: no sample lands on x = 1.
  EXPECT_EQ(curve.vertices.back().x, 0.9999993443489075);
  EXPECT_EQ(curve.vertices[1].x, static_cast<double>(0.01f));
  for (const ColouredVertex& v : curve.vertices) {
    EXPECT_EQ(v.colour, curve.colour);
    // The valuation is sampled at the single-precision x and kept unrounded.
    EXPECT_EQ(v.y, EvaluateSentence(static_cast<float>(v.x))) << "x = " << v.x;
    EXPECT_EQ(static_cast<double>(static_cast<float>(v.x)), v.x);
  }
  EXPECT_TRUE(std::is_sorted(curve.vertices.begin(), curve.vertices.end(),
                             [](const auto& a, const auto& b) { return a.x < b.x; }));
}

TEST_F(DiagramGeometry, CurveOfSentenceZeroPeaksAtTheDegree) {
  const Stroke curve = CurveStroke();
  // The degree is the stored single, widened: 1 - |0.3f - 0|.
  EXPECT_EQ(curve.vertices.front().y, 1.0 - static_cast<double>(0.30f));
  EXPECT_NEAR(curve.vertices[30].y, 1.0, 1e-6);  // x = 0.3
}

// ---- The web trace ----

TEST_F(DiagramGeometry, NoTraceBeforeTheFirstStep) {
  for (int counter : {0, -1, INT_MIN}) {
    EXPECT_FALSE(WebTraceStroke(Fixed(counter), s()).has_value()) << counter;
    EXPECT_EQ(WebDiagramStrokes(Fixed(counter), s()).size(), 3u) << counter;
  }
}

TEST_F(DiagramGeometry, FirstStepIsOneRedLineUpFromTheEstimate) {
  const auto trace = WebTraceStroke(Fixed(2), s());
  ASSERT_TRUE(trace.has_value());
  EXPECT_EQ(trace->primitive, Primitive::kLineStrip);
  EXPECT_EQ(trace->colour, kRed);
  const std::vector<ColouredVertex> expected{{0.9f, 0.0, kRed}, {0.9f, S(2), kRed}};
  EXPECT_EQ(trace->vertices, expected);
  EXPECT_NEAR(S(2), 0.4, 1e-6);
}

TEST_F(DiagramGeometry, StepsCycleOrangeYellowRedAndJoinWithoutGaps) {
  const auto trace = WebTraceStroke(Fixed(6), s());
  ASSERT_TRUE(trace.has_value());
  const std::vector<ColouredVertex> expected{
      {S(1), S(0), kRed},    {S(1), S(2), kRed},                            // first line
      {S(1), S(2), kOrange}, {S(2), S(2), kOrange}, {S(2), S(3), kOrange},  // i = 2
      {S(2), S(3), kYellow}, {S(3), S(3), kYellow}, {S(3), S(4), kYellow},  // i = 3
      {S(3), S(4), kRed},    {S(4), S(4), kRed},    {S(4), S(5), kRed},     // i = 4
      {S(4), S(5), kOrange}, {S(5), S(5), kOrange}, {S(5), S(6), kOrange},  // i = 5
  };
  EXPECT_EQ(trace->vertices, expected);
}

struct TraceCase {
  std::string name;
  int counter;
  int lastStep;  // the last i traced; 1 for the first line only
  Rgb lastColour;
};

class WebTraceCounters : public DiagramGeometry, public ::testing::WithParamInterface<TraceCase> {};

TEST_P(WebTraceCounters, EndsWithTheRightStepInItsColour) {
  const TraceCase& c = GetParam();
  const auto trace = WebTraceStroke(Fixed(c.counter), s());
  ASSERT_TRUE(trace.has_value());
  const std::size_t steps = static_cast<std::size_t>(c.lastStep - 1);
  ASSERT_EQ(trace->vertices.size(), 2 + 3 * steps);
  const ColouredVertex& last = trace->vertices.back();
  EXPECT_EQ(last.x, S(c.lastStep));
  EXPECT_EQ(last.y, S(c.lastStep + 1));
  EXPECT_EQ(last.colour, c.lastColour);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, WebTraceCounters,
    ::testing::Values(TraceCase{"Two", 2, 1, kRed}, TraceCase{"Three", 3, 2, kOrange},
                      TraceCase{"Fifty", 50, 49, kRed}, TraceCase{"FiftyOne", 51, 50, kOrange},
                      TraceCase{"FiftyTwo", 52, 51, kYellow},
                      // The bound i <= 998: 997 steps, the last orange, ending at s[999].
                      TraceCase{"NineNinetyNine", 999, 998, kOrange},
                      TraceCase{"Thousand", 1000, 998, kOrange},
                      TraceCase{"BeyondTheSeries", INT_MAX, 998, kOrange}),
    [](const auto& testCase) { return testCase.param.name; });

TEST_F(DiagramGeometry, FullRunDrawsTheSameTraceAt999And1000) {
  EXPECT_EQ(WebTraceStroke(Fixed(999), s())->vertices, WebTraceStroke(Fixed(1000), s())->vertices);
}

TEST_F(DiagramGeometry, TraceRereadsTheCounterAtEveryLoopTest) {
  // The worker may move the counter mid-paint; here it drops back to 3 after
  // the first step has been drawn.
  std::vector<int> readings{1000, 1000, 3};
  std::size_t reads = 0;
  const StepCounterRead counter = [&] { return readings[std::min(reads++, readings.size() - 1)]; };
  const auto trace = WebTraceStroke(counter, s());
  ASSERT_TRUE(trace.has_value());
  EXPECT_EQ(trace->vertices.size(), 2u + 3u);
  EXPECT_EQ(reads, 3u);
}

TEST_F(DiagramGeometry, WebDiagramDrawsTheTraceOnTopOfFrameDiagonalAndCurve) {
  const std::vector<Stroke> strokes = WebDiagramStrokes(Fixed(3), s());
  ASSERT_EQ(strokes.size(), 4u);
  EXPECT_EQ(strokes[0].colour, kFrameColour);
  EXPECT_EQ(strokes[1].colour, kDiagonalColour);
  EXPECT_EQ(strokes[2].colour, kCurveColour);
  EXPECT_EQ(strokes[3].vertices, WebTraceStroke(Fixed(3), s())->vertices);
}

// ---- The time series ----

TEST_F(DiagramGeometry, PageStepIsTheFloatNearestOneFortyNinth) {
  EXPECT_EQ(static_cast<double>(kPageStep), 0.020408162847161293);
}

struct PageCase {
  std::string name;
  int counter;
  int firstIndex;  // series index of the vertex at x = 0
  int count;       // vertices on the page
};

class TimeSeriesCounters : public DiagramGeometry,
                           public ::testing::WithParamInterface<PageCase> {};

TEST_P(TimeSeriesCounters, ShowsThePageOfTheCounter) {
  const PageCase& c = GetParam();
  const auto page = TimeSeriesStroke(Fixed(c.counter), s());
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ(page->primitive, Primitive::kLineStrip);
  EXPECT_EQ(page->colour, kRed);
  ASSERT_EQ(page->vertices.size(), static_cast<std::size_t>(c.count));
  for (int j = 0; j < c.count; ++j) {
    const ColouredVertex& v = page->vertices[static_cast<std::size_t>(j)];
    EXPECT_EQ(v.x, j * 0.020408162847161293) << j;
    EXPECT_EQ(v.y, S(c.firstIndex + j)) << j;
    EXPECT_EQ(v.colour, kRed);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Counters, TimeSeriesCounters,
    ::testing::Values(PageCase{"Two", 2, 0, 2}, PageCase{"Three", 3, 0, 3},
                      // A new page starts blank: an empty strip, nothing visible.
                      PageCase{"Fifty", 50, 50, 0}, PageCase{"FiftyOne", 51, 50, 1},
                      PageCase{"FiftyTwo", 52, 50, 2},
                      // s[999] is never shown.
                      PageCase{"NineNinetyNine", 999, 950, 49},
                      PageCase{"Thousand", 1000, 1000, 0}),
    [](const auto& testCase) { return testCase.param.name; });

TEST_F(DiagramGeometry, FirstSegmentRisesFromZeroToTheEstimate) {
  const auto page = TimeSeriesStroke(Fixed(2), s());
  ASSERT_TRUE(page.has_value());
  const std::vector<ColouredVertex> expected{{0.0, 0.0, kRed}, {0.020408162847161293, 0.9f, kRed}};
  EXPECT_EQ(page->vertices, expected);
}

TEST_F(DiagramGeometry, LastValueOfAPageSitsShortOfTheRightEdge) {
  EXPECT_EQ(TimeSeriesStroke(Fixed(999), s())->vertices.back().x, 48 * 0.020408162847161293);
}

TEST_F(DiagramGeometry, NothingAtAllBeforeTheFirstStep) {
  for (int counter : {0, -1, -50, INT_MIN}) {
    EXPECT_FALSE(TimeSeriesStroke(Fixed(counter), s()).has_value()) << counter;
  }
}

TEST_F(DiagramGeometry, TimeSeriesReadsTheCounterOnce) {
  int reads = 0;
  const auto page = TimeSeriesStroke([&] { return ++reads == 1 ? 3 : 49; }, s());
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(page->vertices.size(), 3u);
}

TEST_F(DiagramGeometry, CounterBeyondTheSeriesReadsNothingPastItsEnd) {
  for (int counter : {1001, 1049, INT_MAX}) {
    const auto page = TimeSeriesStroke(Fixed(counter), s());
    ASSERT_TRUE(page.has_value()) << counter;
    EXPECT_TRUE(page->vertices.empty()) << counter;
  }
}

// ---- Every counter of a run ----

TEST_F(DiagramGeometry, EveryCounterOfARunStaysInsideTheSeries) {
  for (int n = 0; n <= kSeriesLength; ++n) {
    const auto trace = WebTraceStroke(Fixed(n), s());
    const auto page = TimeSeriesStroke(Fixed(n), s());
    if (n == 0) {
      EXPECT_FALSE(trace.has_value());
      EXPECT_FALSE(page.has_value());
      continue;
    }
    const std::size_t steps = static_cast<std::size_t>(std::clamp(n - 2, 0, 997));
    ASSERT_EQ(trace->vertices.size(), 2 + 3 * steps) << n;
    ASSERT_EQ(page->vertices.size(), static_cast<std::size_t>(n % kPageLength)) << n;
  }
}

// ---- A sentence outside the catalogue ----

class UnknownSentence : public DiagramGeometry, public ::testing::WithParamInterface<int> {};

TEST_P(UnknownSentence, CurveAndTraceFallFarBelowTheWindow) {
  ComputeSeriesValues(0.30f, 0.90f, GetParam());
  const ValuationSeries series = g_series;
  const Stroke curve = CurveStroke();
  ASSERT_EQ(curve.vertices.size(), 101u);
  for (const ColouredVertex& v : curve.vertices) {
    EXPECT_EQ(v.y, -9999.0);
  }
  const auto trace = WebTraceStroke(Fixed(1000), series);
  ASSERT_TRUE(trace.has_value());
  EXPECT_EQ(trace->vertices[0], (ColouredVertex{0.9f, 0.0, kRed}));
  EXPECT_EQ(trace->vertices[1], (ColouredVertex{0.9f, -9999.0, kRed}));
  EXPECT_EQ(TimeSeriesStroke(Fixed(3), series)->vertices.back().y, -9999.0);
}

INSTANTIATE_TEST_SUITE_P(Indices, UnknownSentence, ::testing::Values(-1, 10, INT_MIN, INT_MAX));

}  // namespace
