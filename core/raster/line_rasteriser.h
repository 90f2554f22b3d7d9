// One-pixel aliased lines as llvmpipe draws them: each line becomes a one
// pixel wide quad in 1/256 pixel fixed point, its ends moved so that a pixel
// is drawn when the line leaves the diamond inside it (the end's own diamond
// is left undrawn), and the quad filled with the bottom-left rule.
#pragma once

#include <vector>

#include "core/diagrams/drawing.h"
#include "core/raster/diagram_projection.h"

// Pixels [x0, x1] of the row y counted from the bottom.
struct Span {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
};

// A colour channel c at pixel (x, y): a0 + dadx * x + dady * y.
struct ColourPlane {
  float a0[3] = {0.0f, 0.0f, 0.0f};
  float dadx[3] = {0.0f, 0.0f, 0.0f};
  float dady[3] = {0.0f, 0.0f, 0.0f};
  bool constant = true;
};

struct LinePixels {
  std::vector<Span> spans;
  ColourPlane colour;
};

// The pixels of the line from `from` to `to` that lie inside a picture of
// width x height, into *pixels (emptied first); none for a line of no length.
void RasteriseLine(WindowPoint from, Rgb fromColour, WindowPoint to, Rgb toColour, int width,
                   int height, LinePixels* pixels);
