// The diagrams as an SVG drawing, written from their strokes with the
// standard library alone: the lines the views draw, in their colours, on
// black, each diagram in its own rectangle of the picture. A vector file of
// the same picture a PNG holds, for the page, which has no Qt.
#pragma once

#include <string>
#include <vector>

#include "core/diagrams/drawing.h"

// One diagram's strokes and where it stands, in pixels from the top left.
struct SvgPart {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<Stroke> strokes;
};

// The whole file for a picture of width x height pixels (one SVG unit a
// pixel). The unit square maps onto each part as the views map it, with a
// margin of 0.01 on every side and y upwards; lines are one pixel wide at
// the picture's own size. Empty when the picture has no area.
std::string SvgOfDiagrams(int width, int height, const std::vector<SvgPart>& parts);

// "#rrggbb" for a colour as the views' pixels have it.
std::string SvgColour(const Rgb& colour);
