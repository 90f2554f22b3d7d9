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

SheetGif::SheetGif(int width, int height, const FramePace& pace)
    : m_width(width), m_height(height), m_pace(pace) {
  Start(kSmallPaletteBits);
}

SheetGif::~SheetGif() = default;

void SheetGif::Start(int paletteBits) {
  m_paletteBits = paletteBits;
  m_encoder = std::make_unique<GifEncoder>(m_width, m_height, m_pace.delayMs / 10, m_pace.loops,
                                           paletteBits);
  m_frames = std::make_unique<SheetFrames>(m_width, m_height);
}

bool SheetGif::Encode(const Sheet& sheet) {
  ToGifPixels(m_frames->Draw(sheet), m_pixels);
  return m_encoder->AddFrame(m_pixels.data(), m_width);
}

void SheetGif::Add(const Sheet& sheet) {
  m_sheets.push_back(sheet);
  if (Encode(sheet) || !m_encoder->PaletteFull() || m_paletteBits == kLargestPaletteBits) {
    // A failure stays in the encoder, which Finish reports.
    return;
  }
  // More colours than the small palette holds: the frames so far again, with
  // the largest.
  Start(kLargestPaletteBits);
  for (const Sheet& again : m_sheets) {
    if (!Encode(again)) {
      return;
    }
  }
}

FileContent SheetGif::Finish() {
  FileContent content;
  content.bytes = m_encoder->Finish(&content.why);
  if (content.bytes.empty()) {
    content.outcome = WriteOutcome::kNotWritten;
  }
  return content;
}

FileContent GifOfSheets(const std::vector<Sheet>& sheets, int width, int height,
                        const FramePace& pace, const SheetProgress& progress) {
  const int total = static_cast<int>(sheets.size());
  SheetGif gif(width, height, pace);
  for (int i = 0; i < total; ++i) {
    gif.Add(sheets[static_cast<std::size_t>(i)]);
    if (progress && !progress(i + 1, total)) {
      return {WriteOutcome::kCancelled, {}, {}};
    }
  }
  return gif.Finish();
}
