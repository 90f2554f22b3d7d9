// What a view's last picture was drawn from, and what the next paint must do
// about it. A paint from the same source shows the same picture again; a web
// diagram whose step counter has only grown, over the same series, needs only
// the new steps of its trace drawn on top, because the trace is drawn last and
// in step order. Either way the picture is the one a whole new drawing gives,
// pixel for pixel; a whole drawing of a long trace is what a paint must not
// cost on every animation step.
#pragma once

#include <QSize>
#include <optional>

#include "core/diagrams/drawing.h"
#include "core/numbers/series.h"

struct PictureSource {
  QSize pixels;
  int mode = 0;
  int counter = 0;
  RunParams params;
  ValuationSeries series{};
  // A web diagram with f∘f under its staircase.
  bool secondIterate = false;
};

// The source of a picture drawn now: the model as it stands, with `counter`.
PictureSource CurrentPictureSource(QSize pixels, int mode, int counter, bool secondIterate = false);

enum class PaintPlan {
  kReuse,     // the last picture is the right one
  kAddSteps,  // draw AddedTraceStroke(last.counter, now.counter) over the last picture
  kRedraw,    // draw everything afresh
};

// `last` is empty when there is no picture to build on.
PaintPlan PlanPaint(const std::optional<PictureSource>& last, const PictureSource& now);
