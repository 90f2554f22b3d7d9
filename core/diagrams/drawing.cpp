#include "core/diagrams/drawing.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/numbers/number_text.h"
#include "core/numbers/sentence.h"

namespace {

ColouredVertex At(double x, double y, Rgb colour) {
  return {x, y, colour};
}

// Series values are stored in single precision and plotted widened.
double Value(const ValuationSeries& series, int i) {
  return static_cast<double>(series[static_cast<std::size_t>(i)]);
}

}  // namespace

Stroke FrameStroke() {
  const Rgb c = kFrameColour;
  return {
      Primitive::kLineStrip, c, {At(0, 0, c), At(0, 1, c), At(1, 1, c), At(1, 0, c), At(0, 0, c)}};
}

Stroke DiagonalStroke() {
  const Rgb c = kDiagonalColour;
  return {Primitive::kLines, c, {At(0, 0, c), At(1, 1, c)}};
}

Stroke CurveStroke() {
  Stroke curve{Primitive::kLineStrip, kCurveColour, {}};
  curve.vertices.reserve(101);
  // The step accumulates in single precision, but the loop test looks at the
  // unrounded sum: that gives 101 samples, the last just short of x = 1.
  float x = 0.0f;
  double next = 0.0;
  do {
    curve.vertices.push_back(At(x, EvaluateSentence(x), kCurveColour));
    next = static_cast<double>(x) + static_cast<double>(kCurveStep);
    x = static_cast<float>(next);
  } while (next < 1.0);
  return curve;
}

std::optional<Stroke> WebTraceStroke(const StepCounterRead& readCounter,
                                     const ValuationSeries& series) {
  if (readCounter() <= 0) {
    return std::nullopt;
  }
  Stroke trace{Primitive::kLineStrip, kTraceRed, {}};
  // The first line rises from x0 on the horizontal axis to the curve.
  trace.vertices.push_back(At(Value(series, 1), Value(series, 0), kTraceRed));
  trace.vertices.push_back(At(Value(series, 1), Value(series, 2), kTraceRed));
  float green = 0.0f;
  for (int i = 2; i < readCounter() && i <= kLastTraceStep; ++i) {
    // Orange, yellow, red in turn; held in single precision like the colour.
    const double sum = static_cast<double>(green) + 0.5;
    green = sum > 1.0 ? 0.0f : static_cast<float>(sum);
    const Rgb colour{1.0f, green, 0.0f};
    const double previous = Value(series, i - 1);
    const double current = Value(series, i);
    const double next = Value(series, i + 1);
    trace.vertices.push_back(At(previous, current, colour));  // joins the step before
    trace.vertices.push_back(At(current, current, colour));   // across to the diagonal
    trace.vertices.push_back(At(current, next, colour));      // up or down to the curve
  }
  return trace;
}

std::vector<Stroke> WebDiagramStrokes(const StepCounterRead& readCounter,
                                      const ValuationSeries& series) {
  std::vector<Stroke> strokes{FrameStroke(), DiagonalStroke(), CurveStroke()};
  if (auto trace = WebTraceStroke(readCounter, series)) {
    strokes.push_back(std::move(*trace));
  }
  return strokes;
}

std::optional<Stroke> TimeSeriesStroke(const StepCounterRead& readCounter,
                                       const ValuationSeries& series) {
  const int counter = readCounter();
  if (counter <= 0) {
    return std::nullopt;
  }
  const int first = counter / kPageLength * kPageLength;
  const int count = counter % kPageLength;
  Stroke page{Primitive::kLineStrip, kSeriesColour, {}};
  // The worker never takes the counter past the series, but a page must not
  // read beyond it whatever the counter says.
  for (int j = 0; j < count && first + j < kSeriesLength; ++j) {
    const double x = static_cast<double>(j) * static_cast<double>(kPageStep);
    page.vertices.push_back(At(x, Value(series, first + j), kSeriesColour));
  }
  return page;
}

std::string DescribeDiagramStep(int step, const ValuationSeries& series) {
  const int shown = step < 0 ? 0 : (step > kSeriesLength ? kSeriesLength : step);
  std::string text = "step " + std::to_string(shown) + " of " + std::to_string(kSeriesLength);
  if (shown > 0) {
    const int last = shown < kSeriesLength ? shown : kSeriesLength - 1;
    text +=
        ", x[" + FormatInt2(last) + "] = " + FormatFixed2(series[static_cast<std::size_t>(last)]);
  }
  return text;
}

std::size_t WebTraceVertexCount(int counter) {
  if (counter <= 0) {
    return 0;
  }
  const int steps = std::max(0, std::min(counter - 1, kLastTraceStep) - 1);
  return 2 + 3 * static_cast<std::size_t>(steps);
}

std::optional<Stroke> AddedTraceStroke(int shownCounter, int counter,
                                       const ValuationSeries& series) {
  std::optional<Stroke> whole = WebTraceStroke([counter] { return counter; }, series);
  const std::size_t drawn = WebTraceVertexCount(shownCounter);
  if (!whole || whole->vertices.size() <= drawn) {
    return std::nullopt;
  }
  whole->vertices.erase(whole->vertices.begin(),
                        whole->vertices.begin() + static_cast<std::ptrdiff_t>(drawn));
  whole->colour = whole->vertices.front().colour;
  return whole;
}
