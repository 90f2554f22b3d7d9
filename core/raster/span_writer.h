// Writes a line's pixels into an image: colours to bytes as llvmpipe stores
// them in an RGBA8 target, rows turned over (spans count from the bottom).
#pragma once

#include <cstdint>

#include "core/raster/line_rasteriser.h"
#include "core/raster/rgba_image.h"

// A channel in [0, 1] to a byte: clamped, scaled in single precision,
// rounded to nearest with ties to even (0.5 becomes 128, 0.3 becomes 76).
std::uint8_t ChannelByte(float channel);

void WriteSpans(const LinePixels& pixels, RgbaImage& image);
