// The whole orbit diagram as one byte a pixel, indices into OrbitPalette():
// the shaded dots, the Lyapunov strip, frames, ticks with their labels in
// the picture's own small type, and the marks. Window-free, so the window
// shows exactly the picture the command writes, and the command needs no
// display, no fonts and no application to draw it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/orbit/orbit_raster.h"
#include "core/orbit/orbit_view.h"

struct OrbitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Where the parts go in a picture of width x height pixels; margins and type
// grow by the whole-number `scale` (2 on a screen of double density).
struct OrbitFrame {
  int width = 0;
  int height = 0;
  int scale = 1;
  OrbitRect dots;
  OrbitRect strip;
};
OrbitFrame OrbitFrameFor(int width, int height, int scale);

// The view a frame needs for `request` over the values [low, high]: one
// column per pixel of the dots' width (the request's own count when
// `keepColumns`), one row per pixel of their height.
OrbitView OrbitViewForFrame(const OrbitRequest& request, double low, double high,
                            const OrbitFrame& frame, bool keepColumns);

struct OrbitMarks {
  std::optional<double> marker;  // the run on screen's parameter
  int cursorColumn = -1;         // the keyboard's column, -1 for none
};

// The picture, row by row from the top, frame.width bytes a row.
std::vector<std::uint8_t> ComposeOrbitImage(const OrbitPicture& picture, const OrbitFrame& frame,
                                            const OrbitMarks& marks);

// "k" or "x0", the axis's symbol.
const char* OrbitAxisSymbol(OrbitAxis axis);
