// The orbit diagram as the window and the command draw it: the shaded dots,
// the Lyapunov strip under them, axes with tick labels and the marker of the
// run on screen, painted at any size.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>

#include "orbit_runner.h"

// Where the dots and the strip go in a picture of `size` (logical pixels).
struct OrbitLayout {
  QRect dots;
  QRect strip;
};
OrbitLayout OrbitLayoutFor(QSize size);

// The view a picture of `size` at `scale` device pixels per logical pixel
// needs for `request` over the values [low, high]: one column and one row per
// device pixel (the request's own column count when `keepColumns`).
OrbitView OrbitViewFor(const OrbitRequest& request, double low, double high, QSize size,
                       double scale, bool keepColumns = false);

struct OrbitMarks {
  std::optional<double> marker;  // the run on screen's parameter
  int cursorColumn = -1;         // the keyboard's column, -1 for none
};

// Paints the whole diagram on black into the painter's (0, 0, size).
void PaintOrbitDiagram(QPainter& painter, QSize size, const OrbitPicture& picture,
                       const OrbitMarks& marks);

// "k" or "x0", the axis's symbol.
const char* OrbitAxisSymbol(OrbitAxis axis);
