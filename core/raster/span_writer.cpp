#include "span_writer.h"

#include <cmath>

std::uint8_t ChannelByte(float channel) {
  const float clamped = channel < 0.0f ? 0.0f : (channel > 1.0f ? 1.0f : channel);
  return static_cast<std::uint8_t>(std::nearbyint(clamped * 255.0f));
}

void WriteSpans(const LinePixels& pixels, RgbaImage& image) {
  const ColourPlane& plane = pixels.colour;
  const std::uint8_t flat[3] = {ChannelByte(plane.a0[0]), ChannelByte(plane.a0[1]),
                                ChannelByte(plane.a0[2])};
  for (const Span& span : pixels.spans) {
    std::uint8_t* out = image.rgba.data() + image.Offset(span.x0, image.height - 1 - span.y);
    for (int x = span.x0; x <= span.x1; ++x, out += 4) {
      for (int i = 0; i < 3; ++i) {
        out[i] = plane.constant ? flat[i]
                                : ChannelByte(plane.a0[i] + plane.dadx[i] * static_cast<float>(x) +
                                              plane.dady[i] * static_cast<float>(span.y));
      }
      out[3] = 255;
    }
  }
}
