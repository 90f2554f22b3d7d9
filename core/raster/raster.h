// The diagrams' pixels from their strokes, without OpenGL: what a view shows
// for the same strokes, pixel for pixel, where the view runs on Mesa's
// llvmpipe.
#pragma once

#include <vector>

#include "core/diagrams/drawing.h"
#include "core/raster/rgba_image.h"

// Draws the strokes in order over what the image holds, as a view draws on
// top of its last picture; start from RgbaImage::Black or ClearToBlack for a
// picture afresh.
void DrawStrokes(RgbaImage& image, const std::vector<Stroke>& strokes);
