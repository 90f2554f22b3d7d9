#include "picture/vector/vector_encoder.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstdlib>

namespace {

// Pixels per inch of an SVG's and a PDF's user space: a picture of W x H
// pixels is a page of W/96 x H/96 inches, the size it has on a screen at
// scale 1.
constexpr int kPictureDotsPerInch = 96;

QColor ColourOf(const Rgb& colour) {
  return QColor::fromRgbF(colour.r, colour.g, colour.b);
}

QPen LinePen(const Rgb& colour) {
  // One pixel wide whatever the scale, with no caps or joins reaching past
  // the vertices: OpenGL's lines have neither.
  QPen pen(ColourOf(colour), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
  pen.setCosmetic(true);
  return pen;
}

void PaintStrip(QPainter& painter, const Stroke& stroke, QSizeF size) {
  // Runs of one colour become one polyline each; a run starts where the line
  // before it ended, unless that join has no length (how the trace changes
  // colour between steps).
  const std::vector<ColouredVertex>& vertices = stroke.vertices;
  std::size_t start = 0;
  while (start + 1 < vertices.size()) {
    std::size_t end = start + 1;
    while (end + 1 < vertices.size() && vertices[end + 1].colour == vertices[end].colour) {
      ++end;
    }
    QPolygonF line;
    for (std::size_t i = start; i <= end; ++i) {
      const QPointF point = PicturePoint(vertices[i].x, vertices[i].y, size);
      if (line.isEmpty() || line.back() != point) {
        line.append(point);
      }
    }
    if (line.size() >= 2) {
      painter.setPen(LinePen(vertices[end].colour));
      painter.drawPolyline(line);
    }
    start = end;
  }
}

void PaintSegments(QPainter& painter, const Stroke& stroke, QSizeF size) {
  for (std::size_t i = 0; i + 1 < stroke.vertices.size(); i += 2) {
    const ColouredVertex& from = stroke.vertices[i];
    const ColouredVertex& to = stroke.vertices[i + 1];
    painter.setPen(LinePen(to.colour));
    painter.drawLine(PicturePoint(from.x, from.y, size), PicturePoint(to.x, to.y, size));
  }
}

void PaintPage(QPainter& painter, const VectorPage& page, QSizeF size, double scale) {
  painter.fillRect(QRectF(QPointF(0, 0), size), Qt::black);
  for (const VectorPart& part : page.parts) {
    painter.save();
    painter.translate(QPointF(part.rect.x, part.rect.y) * scale);
    PaintStrokes(painter, part.strokes, QSizeF(part.rect.width, part.rect.height) * scale);
    painter.restore();
  }
  if (!page.label.empty()) {
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(12 * scale + 0.5));
    painter.setFont(font);
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(QRectF(QPointF(6, 4) * scale, size), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(page.label));
  }
}

bool WriteSvg(QIODevice& device, const VectorJob& job) {
  const QSize size(job.width, job.height);
  QSvgGenerator generator;
  generator.setOutputDevice(&device);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(kPictureDotsPerInch);
  generator.setTitle(QStringLiteral("Veridrift"));
  QPainter painter;
  if (job.pages.empty() || !painter.begin(&generator)) {
    return false;
  }
  PaintPage(painter, job.pages.front(), QSizeF(size), 1.0);
  return painter.end();
}

bool WritePdf(QIODevice& device, const VectorJob& job) {
  const QSize size(job.width, job.height);
  QPdfWriter writer(&device);
  writer.setCreator(QStringLiteral("Veridrift"));
  writer.setTitle(QStringLiteral("Veridrift"));
  writer.setResolution(kPictureDotsPerInch);
  writer.setPageSize(QPageSize(QSizeF(size) / kPictureDotsPerInch, QPageSize::Inch, QString(),
                               QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&writer)) {
    return false;
  }
  // The page's device pixels may round differently from the picture's.
  const double scale = writer.width() / static_cast<double>(size.width());
  bool first = true;
  for (const VectorPage& page : job.pages) {
    if (!first) {
      writer.newPage();
    }
    first = false;
    PaintPage(painter, page, QSizeF(size) * scale, scale);
  }
  return painter.end();
}

// Only the command's own lines on standard error: Qt's warnings (about
// fonts, runtime folders, the platform) are not the user's business there.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// The labels need fonts, and fonts an application; a display they do not.
void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(DropMessage);
  static int argc = 1;
  static char name[] = "veridrift-series";
  static char* argv[] = {name, nullptr};
  // Lives as long as the process: the module is never unloaded.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

}  // namespace

QPointF PicturePoint(double x, double y, QSizeF size) {
  return {(x + 0.01) / 1.02 * size.width(), (1.01 - y) / 1.02 * size.height()};
}

void PaintStrokes(QPainter& painter, const std::vector<Stroke>& strokes, QSizeF size) {
  for (const Stroke& stroke : strokes) {
    if (stroke.primitive == Primitive::kLines) {
      PaintSegments(painter, stroke, size);
    } else {
      PaintStrip(painter, stroke, size);
    }
  }
}

bool EncodeVectorFile(const VectorJob& job, std::vector<unsigned char>* bytes, std::string* why) {
  EnsureApplication();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  const bool painted =
      job.format == PictureFormat::kPdf ? WritePdf(buffer, job) : WriteSvg(buffer, job);
  if (!painted) {
    *why = "the painter failed";
    return false;
  }
  const QByteArray& data = buffer.data();
  bytes->assign(data.begin(), data.end());
  return true;
}
