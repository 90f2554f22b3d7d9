#include "desktop/views/retained_picture.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Bit for bit: equal bits plot equal pictures, and a NaN is equal to itself.
template <typename T>
bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameParams(const RunParams& a, const RunParams& b) {
  return a.sentence == b.sentence && SameBits(a.degree, b.degree) &&
         SameBits(a.estimate, b.estimate);
}

// How many vertices the whole web trace has for a counter: the first red line,
// then three per step i = 2 .. min(counter - 1, kLastTraceStep).
std::size_t TraceVertexCount(int counter) {
  if (counter <= 0) {
    return 0;
  }
  const int steps = std::max(0, std::min(counter - 1, kLastTraceStep) - 1);
  return 2 + 3 * static_cast<std::size_t>(steps);
}

}  // namespace

PictureSource CurrentPictureSource(QSize pixels, int mode, int counter, bool secondIterate) {
  return {pixels, mode, counter, g_runParams, g_series, secondIterate};
}

PaintPlan PlanPaint(const std::optional<PictureSource>& last, const PictureSource& now) {
  if (!last || last->pixels != now.pixels || last->mode != now.mode ||
      !SameParams(last->params, now.params) || !SameBits(last->series, now.series) ||
      last->secondIterate != now.secondIterate) {
    return PaintPlan::kRedraw;
  }
  if (last->counter == now.counter) {
    return PaintPlan::kReuse;
  }
  if (now.mode == 1 && now.counter > last->counter) {
    return TraceVertexCount(now.counter) == TraceVertexCount(last->counter) ? PaintPlan::kReuse
                                                                            : PaintPlan::kAddSteps;
  }
  return PaintPlan::kRedraw;
}

std::optional<Stroke> AddedTraceStroke(int shownCounter, int counter,
                                       const ValuationSeries& series) {
  std::optional<Stroke> whole = WebTraceStroke([counter] { return counter; }, series);
  const std::size_t drawn = TraceVertexCount(shownCounter);
  if (!whole || whole->vertices.size() <= drawn) {
    return std::nullopt;
  }
  whole->vertices.erase(whole->vertices.begin(),
                        whole->vertices.begin() + static_cast<std::ptrdiff_t>(drawn));
  whole->colour = whole->vertices.front().colour;
  return whole;
}
