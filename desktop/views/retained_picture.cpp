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
    return WebTraceVertexCount(now.counter) == WebTraceVertexCount(last->counter)
               ? PaintPlan::kReuse
               : PaintPlan::kAddSteps;
  }
  return PaintPlan::kRedraw;
}
