#include "desktop/resources/resources.h"

#include <cmath>
#include <cstdlib>

#include "core/layout/resource.h"

namespace {

// Index of every colour the icon uses.
constexpr int kNavy = 4;
constexpr int kSilver = 7;
constexpr int kGray = 8;
constexpr int kRed = 9;
constexpr int kLime = 10;

QImage BlankIndexedImage(int width, int height, int fill) {
  QImage image(width, height, QImage::Format_Indexed8);
  const auto& palette = StandardPalette();
  image.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
  image.fill(static_cast<uint>(fill));
  return image;
}

void Plot(QImage& image, int x, int y, int index) {
  if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
    image.setPixel(x, y, static_cast<uint>(index));
  }
}

// Bresenham's line, both end points included, so the picture is the same on
// every machine (no anti-aliasing, no painter).
void Line(QImage& image, int x0, int y0, int x1, int y1, int index) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Plot(image, x0, y0, index);
    if (x0 == x1 && y0 == y1) {
      return;
    }
    const int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x0 += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

// A cobweb: spokes from the centre, rings joining them, a spider near the
// centre and the green staircase that gives the web diagram its name.
QImage CobwebIcon(int size) {
  QImage image = BlankIndexedImage(size, size, kNavy);
  const double centre = (size - 1) / 2.0;
  const double reach = size / 2.0 - 1.0;
  constexpr int kSpokes = 8;
  const double rings[] = {0.35, 0.65, 0.95};
  auto spokePoint = [&](int spoke, double fraction, int& x, int& y) {
    const double angle = spoke * 2.0 * M_PI / kSpokes + M_PI / kSpokes;
    x = static_cast<int>(std::lround(centre + fraction * reach * std::cos(angle)));
    y = static_cast<int>(std::lround(centre + fraction * reach * std::sin(angle)));
  };
  for (int spoke = 0; spoke < kSpokes; ++spoke) {
    int x = 0;
    int y = 0;
    spokePoint(spoke, 1.0, x, y);
    Line(image, static_cast<int>(centre), static_cast<int>(centre), x, y, kGray);
  }
  for (double ring : rings) {
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
      int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      spokePoint(spoke, ring, x0, y0);
      spokePoint((spoke + 1) % kSpokes, ring, x1, y1);
      Line(image, x0, y0, x1, y1, kSilver);
    }
  }
  const int step = size / 8;
  for (int i = 0; i < 3; ++i) {
    const int x = size / 4 + i * step;
    const int y = size - size / 4 - i * step;
    Line(image, x, y, x + step, y, kLime);
    Line(image, x + step, y, x + step, y - step, kLime);
  }
  const int spider = static_cast<int>(centre);
  const int body = size >= 32 ? 2 : 1;
  for (int y = spider - body; y <= spider; ++y) {
    for (int x = spider - body; x <= spider; ++x) {
      Plot(image, x, y, kRed);
    }
  }
  return image;
}

}  // namespace

const std::array<QRgb, 16>& StandardPalette() {
  static const std::array<QRgb, 16> kPalette = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return kPalette;
}

QImage LoadBitmapImage(int bitmapId) {
  if (bitmapId != IDB_FORMULA) {
    return {};
  }
  QImage image = BlankIndexedImage(kFormulaBitmapWidth, kFormulaBitmapHeight, kPaletteBlack);
  for (int y = 0; y < kFormulaBitmapHeight; ++y) {
    for (int x = 0; x < kFormulaBitmapWidth; ++x) {
      if (kFormulaBitmapRows[static_cast<std::size_t>(y)][x] == '#') {
        image.setPixel(x, y, kPaletteWhite);
      }
    }
  }
  return image;
}

QImage LoadIconImage(int iconId, int size) {
  if (iconId != IDR_MAINFRAME || (size != 32 && size != 16)) {
    return {};
  }
  return CobwebIcon(size);
}

QIcon LoadIcon(int iconId) {
  QIcon icon;
  for (int size : {32, 16}) {
    const QImage image = LoadIconImage(iconId, size);
    if (!image.isNull()) {
      icon.addPixmap(QPixmap::fromImage(image));
    }
  }
  return icon;
}
