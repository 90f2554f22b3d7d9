// When a view may show its last picture again or build on it, and what it
// draws on top: decided without a window, from what the pictures are drawn of.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "desktop/views/retained_picture.h"

namespace {

PictureSource Source(int mode, int counter) {
  ComputeSeriesValues(0.30f, 0.90f, 0);
  return CurrentPictureSource(QSize(300, 280), mode, counter);
}

struct PlanCase {
  std::string name;
  PictureSource last;
  PictureSource now;
  PaintPlan plan;
};

PictureSource With(PictureSource source, void (*change)(PictureSource&)) {
  change(source);
  return source;
}

class PlanningAPaint : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanningAPaint, BuildsOnTheLastPictureOnlyWhenThatGivesTheSamePicture) {
  EXPECT_EQ(PlanPaint(GetParam().last, GetParam().now), GetParam().plan);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanningAPaint,
    ::testing::Values(
        PlanCase{"SameWebPicture", Source(1, 500), Source(1, 500), PaintPlan::kReuse},
        PlanCase{"SameSeriesPicture", Source(0, 37), Source(0, 37), PaintPlan::kReuse},
        PlanCase{"WebStepTaken", Source(1, 499), Source(1, 500), PaintPlan::kAddSteps},
        PlanCase{"WebFirstStep", Source(1, 0), Source(1, 2), PaintPlan::kAddSteps},
        PlanCase{"WebSeveralSteps", Source(1, 3), Source(1, 900), PaintPlan::kAddSteps},
        // The trace ends with step 998: the last step to the limit adds no line.
        PlanCase{"WebLastStepAddsNothing", Source(1, 999), Source(1, 1000), PaintPlan::kReuse},
        PlanCase{"WebCounterBack", Source(1, 500), Source(1, 499), PaintPlan::kRedraw},
        PlanCase{"WebCounterZeroed", Source(1, 500), Source(1, 0), PaintPlan::kRedraw},
        // A time-series step may open a new page: always drawn whole (it is short).
        PlanCase{"SeriesStepTaken", Source(0, 10), Source(0, 11), PaintPlan::kRedraw},
        PlanCase{"OtherSize", Source(1, 5),
                 With(Source(1, 6), [](PictureSource& s) { s.pixels = QSize(600, 560); }),
                 PaintPlan::kRedraw},
        PlanCase{"OtherMode", Source(1, 5), Source(2, 5), PaintPlan::kRedraw},
        PlanCase{"OtherSentence", Source(1, 5),
                 With(Source(1, 6), [](PictureSource& s) { s.params.sentence = 3; }),
                 PaintPlan::kRedraw},
        PlanCase{"OtherDegree", Source(1, 5),
                 With(Source(1, 6), [](PictureSource& s) { s.params.degree = 0.31f; }),
                 PaintPlan::kRedraw},
        PlanCase{"OtherEstimate", Source(1, 5),
                 With(Source(1, 6), [](PictureSource& s) { s.params.estimate = 0.91f; }),
                 PaintPlan::kRedraw},
        // Already drawn steps would be wrong even if the counter only grew.
        PlanCase{"OneDrawnValueChanged", Source(1, 5),
                 With(Source(1, 6), [](PictureSource& s) { s.series[3] = 0.5f; }),
                 PaintPlan::kRedraw},
        PlanCase{"NotYetDrawnValueChanged", Source(1, 5),
                 With(Source(1, 6), [](PictureSource& s) { s.series[999] = 0.5f; }),
                 PaintPlan::kRedraw},
        PlanCase{"SameNotANumber",
                 With(Source(1, 5), [](PictureSource& s) { s.series[4] = std::nanf(""); }),
                 With(Source(1, 5), [](PictureSource& s) { s.series[4] = std::nanf(""); }),
                 PaintPlan::kReuse}),
    [](const auto& test) { return test.param.name; });

TEST(PlanningAPaint, NothingToBuildOnMeansDrawingAfresh) {
  EXPECT_EQ(PlanPaint(std::nullopt, Source(1, 0)), PaintPlan::kRedraw);
}

// ---- What goes on top ----

StepCounterRead Fixed(int counter) {
  return [counter] { return counter; };
}

struct AddedCase {
  int shown;
  int counter;
};

class AddingSteps : public ::testing::TestWithParam<AddedCase> {
 protected:
  void SetUp() override { ComputeSeriesValues(0.30f, 0.90f, 3); }  // never repeats itself
};

TEST_P(AddingSteps, WhatIsDrawnThenWhatIsAddedIsTheWholeTrace) {
  const auto [shown, counter] = GetParam();
  const auto added = AddedTraceStroke(shown, counter, g_series);
  ASSERT_TRUE(added.has_value());
  const auto whole = WebTraceStroke(Fixed(counter), g_series);
  std::vector<ColouredVertex> joined;
  if (const auto drawn = WebTraceStroke(Fixed(shown), g_series)) {
    joined = drawn->vertices;
    // The added part starts where the drawn part ends, like the whole strip.
    EXPECT_EQ(added->vertices.front().x, drawn->vertices.back().x);
    EXPECT_EQ(added->vertices.front().y, drawn->vertices.back().y);
  }
  joined.insert(joined.end(), added->vertices.begin(), added->vertices.end());
  EXPECT_EQ(joined, whole->vertices);
  EXPECT_EQ(added->primitive, Primitive::kLineStrip);
  EXPECT_EQ(added->colour, added->vertices.front().colour);
}

INSTANTIATE_TEST_SUITE_P(Ranges, AddingSteps,
                         ::testing::Values(AddedCase{0, 2}, AddedCase{0, 1000}, AddedCase{2, 3},
                                           AddedCase{3, 4}, AddedCase{4, 5}, AddedCase{2, 500},
                                           AddedCase{499, 500}, AddedCase{998, 999},
                                           AddedCase{500, 1000}),
                         [](const auto& test) {
                           return "From" + std::to_string(test.param.shown) + "To" +
                                  std::to_string(test.param.counter);
                         });

TEST_F(AddingSteps, NothingIsAddedWhenNoLineIsNew) {
  for (const auto [shown, counter] :
       {AddedCase{0, 0}, AddedCase{500, 500}, AddedCase{999, 1000}, AddedCase{1000, 1000}}) {
    EXPECT_FALSE(AddedTraceStroke(shown, counter, g_series).has_value())
        << shown << " to " << counter;
  }
}

}  // namespace
