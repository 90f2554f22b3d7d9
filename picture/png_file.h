// PNG files through libpng, the same bytes on every machine: no time stamp,
// no text, fixed compression.
#pragma once

#include <cstdint>
#include <vector>

#include "core/raster/rgba_image.h"

// The opaque picture as 8-bit RGB; empty when libpng fails.
std::vector<unsigned char> EncodePng(const RgbaImage& image);

// One byte a pixel, rows top first, each an index into `palette` (colours
// as 0xAARRGGBB, alpha ignored; at most 256); empty when libpng fails.
std::vector<unsigned char> EncodeIndexedPng(const std::vector<std::uint8_t>& indices, int width,
                                            int height, const std::vector<std::uint32_t>& palette);
