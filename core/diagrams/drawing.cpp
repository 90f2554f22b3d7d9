#include "core/diagrams/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/numbers/number_text.h"
#include "core/numbers/sentence.h"
#include "core/numbers/valuation.h"

namespace {

ColouredVertex At(double x, double y, Rgb colour) {
  return {x, y, colour};
}

// Series values are stored in single precision and plotted widened.
double Value(const ValuationSeries& series, int i) {
  return static_cast<double>(series[static_cast<std::size_t>(i)]);
}

// f as the series applies it: each value stored in single precision.
float StoredValuation(float x) {
  return static_cast<float>(EvaluateSentence(x));
}

// Non-negative floats are ordered as their bit patterns, so halving the
// distance between two patterns bisects the numbers between them.
// (memcpy rather than std::bit_cast, which the page's C++ library lacks.)
std::uint32_t Bits(float x) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

float FromBits(std::uint32_t bits) {
  float x = 0.0f;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// For a predicate that differs at lo and hi (lo < hi, both in [0, 1]): the
// two neighbouring numbers between them where it changes.
template <typename Predicate>
void BisectChange(float lo, float hi, const Predicate& above, std::vector<float>& out) {
  const bool atLo = above(lo);
  if (atLo == above(hi)) {
    return;
  }
  std::uint32_t low = Bits(lo);
  std::uint32_t high = Bits(hi);
  while (high - low > 1) {
    const std::uint32_t middle = low + (high - low) / 2;
    if (above(FromBits(middle)) == atLo) {
      low = middle;
    } else {
      high = middle;
    }
  }
  out.push_back(FromBits(low));
  out.push_back(FromBits(high));
}

// Where f's corners lie in terms of its corner argument: at 0, and for the
// sentence capped at 1 also where 1 - |d| + epsilon reaches the cap.
std::vector<double> CornerThresholds(SentenceKind sentence) {
  if (sentence == 3) {
    return {-valuation_detail::kEpsilon, 0.0, valuation_detail::kEpsilon};
  }
  return {0.0};
}

void SortUnique(std::vector<float>& xs) {
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
}

}  // namespace

std::vector<float> SecondIterateCorners() {
  const SentenceKind sentence = g_runParams.sentence;
  const float degree = g_runParams.degree;
  std::vector<float> corners;
  if (std::isnan(SentenceCornerArgument(sentence, degree, 0.0f))) {
    return corners;
  }
  const std::vector<double> thresholds = CornerThresholds(sentence);
  // f's own corners; between them f is monotone, so each piece takes each
  // corner's abscissa at most once.
  std::vector<float> pieces{0.0f, 1.0f};
  for (const double t : thresholds) {
    BisectChange(
        0.0f, 1.0f, [&](float x) { return SentenceCornerArgument(sentence, degree, x) > t; },
        pieces);
  }
  SortUnique(pieces);
  corners = pieces;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    for (const double t : thresholds) {
      BisectChange(
          pieces[i], pieces[i + 1],
          [&](float x) { return SentenceCornerArgument(sentence, degree, StoredValuation(x)) > t; },
          corners);
    }
  }
  SortUnique(corners);
  return corners;
}

Stroke SecondIterateStroke() {
  std::vector<float> xs = SecondIterateCorners();
  xs.reserve(xs.size() + kSecondIterateSamples + 1);
  for (int i = 0; i <= kSecondIterateSamples; ++i) {
    xs.push_back(static_cast<float>(static_cast<double>(i) / kSecondIterateSamples));
  }
  SortUnique(xs);
  Stroke curve{Primitive::kLineStrip, kSecondIterateColour, {}};
  curve.vertices.reserve(xs.size());
  for (const float x : xs) {
    const float y = StoredValuation(StoredValuation(x));
    curve.vertices.push_back(At(x, y, kSecondIterateColour));
  }
  return curve;
}

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
  return WebDiagramStrokes(readCounter, series, false);
}

std::vector<Stroke> WebDiagramStrokes(const StepCounterRead& readCounter,
                                      const ValuationSeries& series, bool secondIterate) {
  std::vector<Stroke> strokes{FrameStroke(), DiagonalStroke(), CurveStroke()};
  if (secondIterate) {
    strokes.push_back(SecondIterateStroke());
  }
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

std::string DescribeWebDiagramStep(int step, const ValuationSeries& series, bool secondIterate) {
  return DescribeDiagramStep(step, series) + (secondIterate ? ", f∘f shown" : "");
}
