#include "picture/gif_export.h"

#include "picture/gif_encoder.h"
#include "picture/sheet_pixels.h"

namespace {

// Eight entries hold the diagrams' seven colours and the see-through one, and
// a small palette keeps the codes short; only a picture with other shades
// needs more.
constexpr int kSmallPaletteBits = 3;
constexpr int kLargestPaletteBits = 8;

// The encoder's pixels, 0xAARRGGBB, from the rasteriser's RGBA bytes.
void ToGifPixels(const RgbaImage& image, std::vector<GifPixel>& pixels) {
  pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  const std::uint8_t* rgba = image.rgba.data();
  for (GifPixel& pixel : pixels) {
    pixel = 0xFF000000u | (GifPixel{rgba[0]} << 16) | (GifPixel{rgba[1]} << 8) | rgba[2];
    rgba += 4;
  }
}

}  // namespace

FileContent GifOfSheets(const std::vector<Sheet>& sheets, int width, int height,
                        const FramePace& pace, const SheetProgress& progress) {
  const int total = static_cast<int>(sheets.size());
  std::vector<GifPixel> pixels;
  for (int bits = kSmallPaletteBits;; bits = kLargestPaletteBits) {
    GifEncoder encoder(width, height, pace.delayMs / 10, pace.loops, bits);
    SheetFrames frames(width, height);
    bool paletteTooSmall = false;
    for (int i = 0; i < total && !paletteTooSmall; ++i) {
      ToGifPixels(frames.Draw(sheets[static_cast<std::size_t>(i)]), pixels);
      if (!encoder.AddFrame(pixels.data(), width)) {
        paletteTooSmall = encoder.PaletteFull() && bits < kLargestPaletteBits;
        if (!paletteTooSmall) {
          break;
        }
      }
      if (progress && !progress(i + 1, total)) {
        return {WriteOutcome::kCancelled, {}, {}};
      }
    }
    if (paletteTooSmall) {
      continue;
    }
    FileContent content;
    content.bytes = encoder.Finish(&content.why);
    if (content.bytes.empty()) {
      content.outcome = WriteOutcome::kNotWritten;
    }
    return content;
  }
}
