#include "orbit_picture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>

#include "number_text.h"
#include "orbit_raster.h"

namespace {

constexpr int kLeft = 52;
constexpr int kRight = 28;  // room for the last tick label
constexpr int kTop = 10;
constexpr int kBottom = 30;
constexpr int kGap = 6;
constexpr int kTicks = 5;
const QColor kAxisColour = QColor::fromRgb(kOrbitAxis);
const QColor kMarkerColour = QColor::fromRgb(kOrbitMarker);
const QColor kCursorColour = QColor::fromRgb(kOrbitCursor);

// Enough decimals that neighbouring ticks differ, through the tool's own
// number text.
std::string TickText(double value, double span) {
  if (span >= 0.2) {
    return FormatFixed2(value);
  }
  if (span >= 0.02) {
    return FormatFixed3(value);
  }
  return span >= 0.002 ? FormatFixed4(value) : FormatFixed6(value);
}

QImage ImageOf(const std::vector<std::uint32_t>& pixels, int width, int height) {
  return QImage(reinterpret_cast<const uchar*>(pixels.data()), width, height, width * 4,
                QImage::Format_RGB32);
}

// In bands, each shown through the picture's own bytes: the painter turns
// an indexed image into colours before drawing it, and a band at a time
// that copy stays small at any size.
void DrawDots(QPainter& painter, const QRect& target, const OrbitPicture& picture) {
  constexpr int kBandRows = 64;
  const int width = picture.view.request.columns;
  const int rows = picture.view.rows;
  static const QList<QRgb> palette(OrbitPalette().begin(), OrbitPalette().end());
  for (int top = 0; top < rows; top += kBandRows) {
    const int bandRows = std::min(kBandRows, rows - top);
    QImage band(picture.dots.data() + static_cast<std::size_t>(top) * width, width, bandRows, width,
                QImage::Format_Indexed8);
    band.setColorTable(palette);
    const double scale = static_cast<double>(target.height()) / rows;
    painter.drawImage(
        QRectF(target.left(), target.top() + top * scale, target.width(), bandRows * scale), band);
  }
}

double XOf(const QRect& rect, const OrbitRequest& request, double parameter) {
  return rect.left() + (parameter - request.from) / (request.to - request.from) * rect.width();
}

}  // namespace

OrbitLayout OrbitLayoutFor(QSize size) {
  const int width = std::max(1, size.width() - kLeft - kRight);
  const int strip = std::clamp(size.height() / 8, 20, 80);
  const int dots = std::max(1, size.height() - kTop - kBottom - kGap - strip);
  return {QRect(kLeft, kTop, width, dots), QRect(kLeft, kTop + dots + kGap, width, strip)};
}

OrbitView OrbitViewFor(const OrbitRequest& request, double low, double high, QSize size,
                       double scale, bool keepColumns) {
  const OrbitLayout layout = OrbitLayoutFor(size);
  OrbitView view;
  view.request = request;
  if (!keepColumns) {
    view.request.columns = std::clamp(static_cast<int>(std::lround(layout.dots.width() * scale)),
                                      kOrbitFewestColumns, kOrbitMostColumns);
  }
  view.low = low;
  view.high = high;
  view.rows = std::max(1, static_cast<int>(std::lround(layout.dots.height() * scale)));
  view.stripRows = std::max(1, static_cast<int>(std::lround(layout.strip.height() * scale)));
  return view;
}

const char* OrbitAxisSymbol(OrbitAxis axis) {
  return axis == OrbitAxis::kDegree ? "k" : "x0";
}

void PaintOrbitDiagram(QPainter& painter, QSize size, const OrbitPicture& picture,
                       const OrbitMarks& marks) {
  const OrbitView& view = picture.view;
  const OrbitRequest& request = view.request;
  const OrbitLayout layout = OrbitLayoutFor(size);
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::black);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  DrawDots(painter, layout.dots, picture);
  painter.drawImage(layout.strip, ImageOf(picture.strip, request.columns, view.stripRows));

  QFont font = painter.font();
  font.setPixelSize(11);
  // Crisp text keeps the picture within the palette's colours.
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setPen(kAxisColour);
  // The frames lie just outside the pixels, so the edge columns stay seen.
  painter.drawRect(layout.dots.adjusted(-1, -1, 0, 0));
  painter.drawRect(layout.strip.adjusted(-1, -1, 0, 0));
  const double xSpan = request.to - request.from;
  const double ySpan = view.high - view.low;
  for (int i = 0; i < kTicks; ++i) {
    const double t = static_cast<double>(i) / (kTicks - 1);
    const int x = layout.dots.left() + static_cast<int>(std::lround(t * (layout.dots.width() - 1)));
    painter.drawLine(x, layout.strip.bottom(), x, layout.strip.bottom() + 4);
    const QString xText = QString::fromStdString(TickText(request.from + t * xSpan, xSpan));
    painter.drawText(QRect(x - 40, layout.strip.bottom() + 5, 80, 14), Qt::AlignHCenter, xText);
    const int y =
        layout.dots.bottom() - static_cast<int>(std::lround(t * (layout.dots.height() - 1)));
    painter.drawLine(layout.dots.left() - 4, y, layout.dots.left(), y);
    const QString yText = QString::fromStdString(TickText(view.low + t * ySpan, ySpan));
    painter.drawText(QRect(0, y - 7, kLeft - 6, 14), Qt::AlignRight | Qt::AlignVCenter, yText);
  }
  painter.drawText(QRect(layout.dots.right() - 40, layout.strip.bottom() + 16, 40, 14),
                   Qt::AlignRight, QString::fromLatin1(OrbitAxisSymbol(request.axis)));
  painter.drawText(QRect(0, layout.strip.top(), kLeft - 6, layout.strip.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("λ"));

  const int bottom = layout.strip.bottom();
  if (marks.marker && *marks.marker >= request.from && *marks.marker <= request.to) {
    const double x = XOf(layout.dots, request, *marks.marker);
    painter.setPen(kMarkerColour);
    painter.drawLine(QPointF(x, layout.dots.top()), QPointF(x, bottom));
  }
  if (marks.cursorColumn >= 0 && marks.cursorColumn < request.columns) {
    const double x =
        layout.dots.left() + (marks.cursorColumn + 0.5) * layout.dots.width() / request.columns;
    painter.setPen(QPen(kCursorColour, 1, Qt::DashLine));
    painter.drawLine(QPointF(x, layout.dots.top()), QPointF(x, bottom));
  }
}
