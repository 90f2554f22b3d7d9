// A picture as plain bytes: opaque RGBA, four bytes a pixel, the top row
// first, as OpenGL's pictures are read back and as PNG stores them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;

  // An image of that size, black and opaque; empty for a size of no pixels.
  static RgbaImage Black(int width, int height);

  std::size_t Offset(int x, int row) const {
    return (static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
            static_cast<std::size_t>(x)) *
           4;
  }
};

// Every pixel black and opaque, as a view's picture starts.
void ClearToBlack(RgbaImage& image);
