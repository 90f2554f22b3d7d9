// An animated GIF (GIF89a) of opaque pictures, through giflib: one global
// palette that holds every colour exactly (the diagrams have a handful, so
// no dithering or quantising is needed), and each frame stores only the
// rectangle that changed since the frame before. No Qt.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Colours as 0xAARRGGBB; the alpha byte is ignored.
using GifPixel = std::uint32_t;

class GifEncoder {
 public:
  // Pictures of width x height; `delayCentiseconds` each (GIF keeps
  // hundredths of a second), played `loops` times more after the first (0:
  // forever); a palette of 2^paletteBits colours (1 to 8).
  GifEncoder(int width, int height, int delayCentiseconds, int loops, int paletteBits);
  ~GifEncoder();
  GifEncoder(const GifEncoder&) = delete;
  GifEncoder& operator=(const GifEncoder&) = delete;

  // Adds a picture of width x height pixels, rows top first, `stride` pixels
  // apart. False when it fails; PaletteFull() says whether it has more
  // colours than the palette holds (a larger palette then does).
  bool AddFrame(const GifPixel* pixels, int stride);
  bool PaletteFull() const { return m_paletteFull; }

  // The whole file; empty with *error set when any step failed.
  std::vector<unsigned char> Finish(std::string* error);

 private:
  struct Rectangle {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
  };
  Rectangle ChangedSince(const GifPixel* pixels, int stride) const;
  bool IndexOf(GifPixel colour, unsigned char* index);
  bool Fail(const char* what);

  struct Output;
  std::unique_ptr<Output> m_output;
  int m_width;
  int m_height;
  int m_delay;
  int m_paletteSize;
  int m_frames = 0;
  std::vector<GifPixel> m_palette;
  std::vector<GifPixel> m_previous;
  bool m_paletteFull = false;
  std::string m_failure;
};
