#include "core/raster/span_writer.h"

#include <cmath>
#include <cstring>

std::uint8_t ChannelByte(float channel) {
  const float clamped = channel < 0.0f ? 0.0f : (channel > 1.0f ? 1.0f : channel);
  return static_cast<std::uint8_t>(std::nearbyint(clamped * 255.0f));
}

void WriteSpans(const LinePixels& pixels, RgbaImage& image) {
  const ColourPlane& plane = pixels.colour;
  std::uint8_t* const rows = image.rgba.data();
  if (plane.constant) {
    // One colour for the whole line: a four-byte word stored pixel by pixel,
    // which the compiler turns into wide stores along a row.
    const std::uint8_t pixel[4] = {ChannelByte(plane.a0[0]), ChannelByte(plane.a0[1]),
                                   ChannelByte(plane.a0[2]), 255};
    for (const Span& span : pixels.spans) {
      std::uint8_t* out = rows + image.Offset(span.x0, image.height - 1 - span.y);
      for (int x = span.x0; x <= span.x1; ++x, out += 4) {
        std::memcpy(out, pixel, 4);
      }
    }
    return;
  }
  for (const Span& span : pixels.spans) {
    std::uint8_t* out = rows + image.Offset(span.x0, image.height - 1 - span.y);
    for (int x = span.x0; x <= span.x1; ++x, out += 4) {
      for (int i = 0; i < 3; ++i) {
        out[i] = ChannelByte(plane.a0[i] + plane.dadx[i] * static_cast<float>(x) +
                             plane.dady[i] * static_cast<float>(span.y));
      }
      out[3] = 255;
    }
  }
}
