// The pictures of the two diagrams as plain data: which primitive, which
// colours, which vertices, in the order they are handed to OpenGL. Nothing
// here needs a rendering context, so the geometry can be compared exactly.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/numbers/series.h"

// Vertices of the time-series diagram are a page of this many indices apart.
inline constexpr int kPageLength = 50;
// Horizontal distance between two values of a page: the float nearest 1/49.
inline constexpr float kPageStep = 0.020408163f;
// Sampling step of the valuation curve, accumulated in single precision.
inline constexpr float kCurveStep = 0.01f;
// The trace reads s[i + 1], so its last step must stop one short of the end.
inline constexpr int kLastTraceStep = kSeriesLength - 2;

enum class Primitive { kLineStrip, kLines };

// A colour as glColor3f receives it.
struct Rgb {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kFrameColour{0.3f, 0.3f, 0.3f};
inline constexpr Rgb kDiagonalColour{0.4f, 0.4f, 0.4f};
inline constexpr Rgb kCurveColour{0.0f, 0.5f, 0.0f};
inline constexpr Rgb kTraceRed{1.0f, 0.0f, 0.0f};
inline constexpr Rgb kSeriesColour{1.0f, 0.0f, 0.0f};
// f∘f: a colour no other line of either diagram has.
inline constexpr Rgb kSecondIterateColour{0.0f, 0.6f, 0.6f};
// Samples of f∘f over [0, 1] besides its corners: f∘f of the steep
// sentences swings several times as fast as f.
inline constexpr int kSecondIterateSamples = 1000;

// A vertex as glVertex2d receives it, with the colour current when it is sent.
struct ColouredVertex {
  double x = 0.0;
  double y = 0.0;
  Rgb colour;
  friend bool operator==(const ColouredVertex&, const ColouredVertex&) = default;
};

// One glBegin/glEnd pair. `colour` is set right after glBegin, before any
// vertex; a vertex whose colour differs from the one before it is preceded by
// its own glColor3f.
struct Stroke {
  Primitive primitive = Primitive::kLineStrip;
  Rgb colour;
  std::vector<ColouredVertex> vertices;
};

// Reads a view's step counter. The web trace calls it at every loop test, the
// time series once, so a counter moved by the worker mid-paint is seen as
// each diagram expects.
using StepCounterRead = std::function<int()>;

Stroke FrameStroke();
Stroke DiagonalStroke();
// 101 samples (x, f(x)) of the current sentence, x from 0 to just under 1.
Stroke CurveStroke();

// f∘f of the current sentence, x from 0 to 1: every value is f applied
// twice and stored in single precision after each application, as the
// series stores it, so the curve meets the staircase's corners exactly.
// Besides the even samples it has a vertex on each side of every corner of
// f∘f (the corners of f and the points f takes to them), one single-precision
// number apart, so no corner is cut.
Stroke SecondIterateStroke();
// The abscissae where f∘f of the current sentence has a corner, as pairs of
// neighbouring single-precision numbers around it, in increasing order.
std::vector<float> SecondIterateCorners();

// The staircase of the iteration; nothing (not even an empty strip) while the
// counter is 0 or less.
std::optional<Stroke> WebTraceStroke(const StepCounterRead& readCounter,
                                     const ValuationSeries& series);
// Frame, diagonal, curve, then the trace if there is one.
std::vector<Stroke> WebDiagramStrokes(const StepCounterRead& readCounter,
                                      const ValuationSeries& series);
// The same with f∘f after the curve when `secondIterate` is set: the
// staircase stays on top.
std::vector<Stroke> WebDiagramStrokes(const StepCounterRead& readCounter,
                                      const ValuationSeries& series, bool secondIterate);

// How many vertices the whole web trace has for a counter: the first red
// line, then three per step i = 2 .. min(counter - 1, kLastTraceStep).
std::size_t WebTraceVertexCount(int counter);

// The part of the web trace for `counter` that the trace for `shownCounter`
// does not already hold: the vertices a whole trace would emit after the
// ones already drawn, with the same colours. Its first vertex repeats where
// the drawn part ends, as the whole strip does, so the join draws nothing.
// Drawn over the picture of `shownCounter`, it gives the picture of
// `counter`, since the trace is drawn last and in step order. Nothing when
// there is nothing to add.
std::optional<Stroke> AddedTraceStroke(int shownCounter, int counter,
                                       const ValuationSeries& series);

// The current page of the series; nothing while the counter is 0 or less, an
// empty strip at the start of each page.
std::optional<Stroke> TimeSeriesStroke(const StepCounterRead& readCounter,
                                       const ValuationSeries& series);

// What a view shows at a step count, in words for a screen reader:
// "step 34 of 1000, x[34] = 0.78", the value the trace has reached (the last
// of the series once the run is complete); "step 0 of 1000" before the first.
std::string DescribeDiagramStep(int step, const ValuationSeries& series);
// The web diagram's words: the same, then ", f∘f shown" when it is.
std::string DescribeWebDiagramStep(int step, const ValuationSeries& series, bool secondIterate);
