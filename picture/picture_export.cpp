#include "picture/picture_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QSvgGenerator>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "core/numbers/series.h"
#include "desktop/views/gl_emit.h"
#include "desktop/views/render_target.h"
#include "picture/gif_export.h"
#include "picture/headless_gl.h"

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

QImage RenderInApplicationContext(const std::vector<Stroke>& strokes, QSize pixels,
                                  QString* error) {
  DiagramRenderTarget target;
  if (target.Create() != SurfaceFailure::kNone || !target.Begin(pixels)) {
    *error = QStringLiteral("no OpenGL context can be had");
    return QImage();
  }
  BeginDiagramPaint(pixels.width(), pixels.height());
  for (const Stroke& stroke : strokes) {
    EmitStroke(stroke);
  }
  return target.End().convertToFormat(QImage::Format_RGB32);
}

void PaintVectorSheet(QPainter& painter, const Sheet& sheet, QSizeF size, double scale) {
  painter.fillRect(QRectF(QPointF(0, 0), size), Qt::black);
  for (const SheetPart& part : sheet.parts) {
    painter.save();
    painter.translate(QPointF(part.rect.topLeft()) * scale);
    PaintStrokes(painter, DiagramStrokes(part.mode, part.counter, part.secondIterate),
                 QSizeF(part.rect.size()) * scale);
    painter.restore();
  }
  if (!sheet.label.isEmpty()) {
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(12 * scale + 0.5));
    painter.setFont(font);
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(QRectF(QPointF(6, 4) * scale, size), Qt::AlignLeft | Qt::AlignTop,
                     sheet.label);
  }
}

// False with *drawError set when OpenGL cannot draw a diagram, or with it
// untouched when the device fails.
bool WritePng(QIODevice& device, const Sheet& sheet, QSize size, GlSource source,
              QString* drawError) {
  const QImage picture = RenderSheet(sheet, size, source, drawError);
  return !picture.isNull() && picture.save(&device, "PNG");
}

bool WriteSvg(QIODevice& device, const Sheet& sheet, QSize size) {
  QSvgGenerator generator;
  generator.setOutputDevice(&device);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(kPictureDotsPerInch);
  generator.setTitle(QStringLiteral("Veridrift"));
  QPainter painter;
  if (!painter.begin(&generator)) {
    return false;
  }
  PaintVectorSheet(painter, sheet, QSizeF(size), 1.0);
  return painter.end();
}

bool WritePdf(QIODevice& device, const std::vector<Sheet>& sheets, QSize size) {
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
  for (const Sheet& sheet : sheets) {
    if (!first) {
      writer.newPage();
    }
    first = false;
    PaintVectorSheet(painter, sheet, QSizeF(size) * scale, scale);
  }
  return painter.end();
}

QString Reason(const QString& path, const QString& why) {
  return QStringLiteral("cannot write %1: %2").arg(path, why);
}

}  // namespace

std::optional<PictureFormat> PictureFormatOfPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) {
    return PictureFormat::kPng;
  }
  if (suffix == QLatin1String("svg")) {
    return PictureFormat::kSvg;
  }
  if (suffix == QLatin1String("pdf")) {
    return PictureFormat::kPdf;
  }
  if (suffix == QLatin1String("gif")) {
    return PictureFormat::kGif;
  }
  return std::nullopt;
}

std::vector<Stroke> DiagramStrokes(int mode, int counter, bool secondIterate) {
  const StepCounterRead read = [counter] { return counter; };
  if (mode == 1) {
    return WebDiagramStrokes(read, g_series, secondIterate);
  }
  std::vector<Stroke> strokes;
  if (mode == 0) {
    if (auto page = TimeSeriesStroke(read, g_series)) {
      strokes.push_back(std::move(*page));
    }
  }
  return strokes;
}

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

QImage RenderStrokes(const std::vector<Stroke>& strokes, QSize pixels, GlSource source,
                     QString* error) {
  return source == GlSource::kHeadless ? RenderStrokesHeadless(strokes, pixels, error)
                                       : RenderInApplicationContext(strokes, pixels, error);
}

QImage RenderSheet(const Sheet& sheet, QSize size, GlSource source, QString* error) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::black);
  for (const SheetPart& part : sheet.parts) {
    const QImage diagram =
        RenderStrokes(DiagramStrokes(part.mode, part.counter, part.secondIterate), part.rect.size(),
                      source, error);
    if (diagram.isNull()) {
      return QImage();
    }
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(part.rect.topLeft(), diagram);
  }
  return picture;
}

namespace {

// What writing one file's content came to. A failure with a reason is a
// picture that could not be drawn; without one, the device's fault.
enum class Content { kWritten, kFailed, kCancelled, kRefused };

// Writes each path's content through `write` to a temporary file beside it
// and renames them all into place only when every one is written.
using ContentWriter = std::function<Content(std::size_t, QIODevice&, QString* why)>;

WriteOutcome WriteInPlace(const QStringList& paths, const ContentWriter& write, QString* error) {
  std::vector<std::unique_ptr<QTemporaryFile>> written;
  for (std::size_t i = 0; i < static_cast<std::size_t>(paths.size()); ++i) {
    const QString& path = paths[static_cast<qsizetype>(i)];
    const QFileInfo target(path);
    const QString targetDir = target.absolutePath();
    if (!QFileInfo(targetDir).isDir()) {
      *error = Reason(path, QStringLiteral("no such folder"));
      return WriteOutcome::kNotWritten;
    }
    // Beside the target, so that the rename cannot cross file systems.
    auto temporary = std::make_unique<QTemporaryFile>(QDir(targetDir).filePath(
        QStringLiteral(".") + target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporary->open()) {
      *error = Reason(path, temporary->errorString());
      return WriteOutcome::kNotWritten;
    }
    QString why;
    Content content = write(i, *temporary, &why);
    if (content == Content::kWritten && !temporary->flush()) {
      content = Content::kFailed;
    }
    switch (content) {
      case Content::kWritten:
        break;
      case Content::kCancelled:
        *error = QStringLiteral("cancelled");
        return WriteOutcome::kCancelled;
      case Content::kRefused:
        *error = Reason(path, why);
        return WriteOutcome::kNotWritten;
      case Content::kFailed:
        // A picture that cannot be drawn is not the folder's fault.
        if (!why.isEmpty()) {
          *error = QStringLiteral("cannot draw %1: %2").arg(path, why);
          return WriteOutcome::kNotDrawn;
        }
        *error = Reason(path, temporary->errorString());
        return WriteOutcome::kNotWritten;
    }
    temporary->close();
    written.push_back(std::move(temporary));
  }
  for (std::size_t i = 0; i < written.size(); ++i) {
    // rename(2) replaces an existing file in one step; QFile::rename would not.
    const QByteArray from = QFile::encodeName(written[i]->fileName());
    const QByteArray to = QFile::encodeName(paths[static_cast<qsizetype>(i)]);
    if (std::rename(from.constData(), to.constData()) != 0) {
      *error =
          Reason(paths[static_cast<qsizetype>(i)], QString::fromLocal8Bit(std::strerror(errno)));
      return WriteOutcome::kNotWritten;
    }
    // Temporary files are made owner-only; a picture is an ordinary file.
    QFile::setPermissions(paths[static_cast<qsizetype>(i)],
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    written[i]->setAutoRemove(false);
  }
  return WriteOutcome::kWritten;
}

Content Written(bool ok) {
  return ok ? Content::kWritten : Content::kFailed;
}

}  // namespace

WriteOutcome WriteDiagramFiles(const std::vector<OutputFile>& files, QSize sheetSize,
                               GlSource source, QString* error, const FramePace& pace,
                               const SheetProgress& progress) {
  QStringList paths;
  for (const OutputFile& file : files) {
    paths.push_back(file.path);
  }
  return WriteInPlace(
      paths,
      [&](std::size_t i, QIODevice& device, QString* why) {
        const OutputFile& file = files[i];
        switch (file.format) {
          case PictureFormat::kPng:
            return Written(!file.sheets.empty() &&
                           WritePng(device, file.sheets.front(), sheetSize, source, why));
          case PictureFormat::kSvg:
            return Written(!file.sheets.empty() &&
                           WriteSvg(device, file.sheets.front(), sheetSize));
          case PictureFormat::kPdf:
            return Written(WritePdf(device, file.sheets, sheetSize));
          case PictureFormat::kGif:
            switch (WriteGif(device, file.sheets, sheetSize, source, pace, progress, why)) {
              case GifWrite::kWritten:
                return Content::kWritten;
              case GifWrite::kNotDrawn:
                return Content::kFailed;
              case GifWrite::kNotStored:
                why->clear();  // the device's fault, told by the device
                return Content::kFailed;
              case GifWrite::kCancelled:
                return Content::kCancelled;
              case GifWrite::kNotEncoded:
                return Content::kRefused;
            }
        }
        return Content::kFailed;
      },
      error);
}

// Qt's PNG quality 80 is a light deflate: a third of the default's time for
// a few per cent more bytes, and the picture is already drawn in a moment.
constexpr int kDrawnPngQuality = 80;

WriteOutcome WritePngImage(const QString& path, const QImage& image, QString* error) {
  return WriteInPlace(
      {path},
      [&](std::size_t, QIODevice& device, QString*) {
        return Written(image.save(&device, "PNG", kDrawnPngQuality));
      },
      error);
}
