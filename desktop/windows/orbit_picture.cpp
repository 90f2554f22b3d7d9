#include "desktop/windows/orbit_picture.h"

#include <algorithm>
#include <cmath>

namespace {

QRect Logical(const OrbitRect& r, double dpr) {
  return QRectF(r.x / dpr, r.y / dpr, r.width / dpr, r.height / dpr).toAlignedRect();
}

const QList<QRgb>& Palette() {
  static const QList<QRgb> palette(OrbitPalette().begin(), OrbitPalette().end());
  return palette;
}

}  // namespace

OrbitFrame OrbitFrameForWidget(QSize size, double dpr) {
  return OrbitFrameFor(static_cast<int>(std::lround(size.width() * dpr)),
                       static_cast<int>(std::lround(size.height() * dpr)),
                       std::max(1, static_cast<int>(std::lround(dpr))));
}

OrbitLayout OrbitLayoutFor(QSize size, double dpr) {
  const OrbitFrame frame = OrbitFrameForWidget(size, dpr);
  return {Logical(frame.dots, dpr), Logical(frame.strip, dpr)};
}

OrbitView OrbitViewFor(const OrbitRequest& request, double low, double high, QSize size, double dpr,
                       bool keepColumns) {
  return OrbitViewForFrame(request, low, high, OrbitFrameForWidget(size, dpr), keepColumns);
}

QImage OrbitImageOf(const std::vector<std::uint8_t>& pixels, const OrbitFrame& frame) {
  QImage image(pixels.data(), frame.width, frame.height, frame.width, QImage::Format_Indexed8);
  image.setColorTable(Palette());
  return image;
}

void DrawOrbitImage(QPainter& painter, const std::vector<std::uint8_t>& pixels,
                    const OrbitFrame& frame, double dpr) {
  constexpr int kBandRows = 64;
  for (int top = 0; top < frame.height; top += kBandRows) {
    const int rows = std::min(kBandRows, frame.height - top);
    QImage band(pixels.data() + static_cast<std::size_t>(top) * frame.width, frame.width, rows,
                frame.width, QImage::Format_Indexed8);
    band.setColorTable(Palette());
    band.setDevicePixelRatio(dpr);
    painter.drawImage(QPointF(0.0, top / dpr), band);
  }
}
