#include "picture/gif_export.h"

#include <string>

#include "picture/frame_drawer.h"
#include "picture/gif_encoder.h"

namespace {

// Eight entries hold the diagrams' seven colours and the see-through one, and
// a small palette keeps the codes short; only a driver that draws other
// shades needs more.
constexpr int kSmallPaletteBits = 3;
constexpr int kLargestPaletteBits = 8;

}  // namespace

GifWrite WriteGif(QIODevice& device, const std::vector<Sheet>& sheets, QSize size, GlSource source,
                  const FramePace& pace, const SheetProgress& progress, QString* why) {
  const int total = static_cast<int>(sheets.size());
  for (int bits = kSmallPaletteBits;; bits = kLargestPaletteBits) {
    GifEncoder encoder(size.width(), size.height(), pace.delayMs / 10, pace.loops, bits);
    FrameDrawer drawer(size, source);
    bool paletteTooSmall = false;
    for (int i = 0; i < total && !paletteTooSmall; ++i) {
      const QImage picture = drawer.Draw(sheets[static_cast<std::size_t>(i)], why);
      if (picture.isNull()) {
        return GifWrite::kNotDrawn;
      }
      if (!encoder.AddFrame(reinterpret_cast<const GifPixel*>(picture.constBits()),
                            static_cast<int>(picture.bytesPerLine() / sizeof(GifPixel)))) {
        paletteTooSmall = encoder.PaletteFull() && bits < kLargestPaletteBits;
        if (!paletteTooSmall) {
          break;
        }
      }
      if (progress && !progress(i + 1, total)) {
        return GifWrite::kCancelled;
      }
    }
    if (paletteTooSmall) {
      continue;
    }
    std::string failure;
    const std::vector<unsigned char> bytes = encoder.Finish(&failure);
    if (bytes.empty()) {
      *why = QString::fromStdString(failure);
      return GifWrite::kNotEncoded;
    }
    const auto length = static_cast<qint64>(bytes.size());
    return device.write(reinterpret_cast<const char*>(bytes.data()), length) == length
               ? GifWrite::kWritten
               : GifWrite::kNotStored;
  }
}
