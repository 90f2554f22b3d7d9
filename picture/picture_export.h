// The diagrams as files for handouts: the strokes a view draws, as a PNG
// drawn with OpenGL exactly as the view draws it, or as vector lines through
// QPainter in SVG and PDF, with the view's colours and projection.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/diagrams/drawing.h"

class QPainter;

enum class PictureFormat { kPng, kSvg, kPdf, kGif };

// By the path's suffix (.png, .svg, .pdf, .gif, in any case); nothing for
// others.
std::optional<PictureFormat> PictureFormatOfPath(const QString& path);

// What a view of `mode` (0 time series, 1 web) draws at step count `counter`
// from the current model, in the order it draws them; f∘f too on a web
// diagram when `secondIterate` is set.
std::vector<Stroke> DiagramStrokes(int mode, int counter, bool secondIterate = false);

// Where the unit square's point (x, y) lands in a picture of `size`, top-left
// origin: the view's gluOrtho2D(-0.01, 1.01, -0.01, 1.01) over the whole
// picture, y upward.
QPointF PicturePoint(double x, double y, QSizeF size);

// The strokes as lines in a picture of `size` at the painter's origin, in
// order, so what is drawn last lies on top. A line takes the colour of the
// vertex it ends at; the zero-length joins where a strip changes colour draw
// nothing, as in OpenGL. Paints no ground.
void PaintStrokes(QPainter& painter, const std::vector<Stroke>& strokes, QSizeF size);

// Which OpenGL a PNG is drawn with: a context that needs no display (for the
// command line), or the application's own, as the views use (in the window).
enum class GlSource { kHeadless, kApplication };

// The strokes drawn with OpenGL as a view draws them afresh, read back opaque
// (the surface's alpha is ignored). A null image, with *error set, when no
// context can be had.
QImage RenderStrokes(const std::vector<Stroke>& strokes, QSize pixels, GlSource source,
                     QString* error);

// One diagram placed on a sheet.
struct SheetPart {
  int mode = 1;
  int counter = 0;
  QRect rect;
  bool secondIterate = false;
};

// A picture of one or more diagrams on black; `label`, when not empty, is
// printed in the top-left corner (PDF pages carry their step number).
struct Sheet {
  std::vector<SheetPart> parts;
  QString label;
};

// The sheet drawn with OpenGL as a PNG holds it: black, each part where the
// sheet puts it. A null image, with *error set, when OpenGL cannot draw.
QImage RenderSheet(const Sheet& sheet, QSize size, GlSource source, QString* error);

// How long a GIF shows each frame, and how often it plays them again after
// the first time (0: forever).
struct FramePace {
  int delayMs = 500;
  int loops = 0;
};

// A file to write: a PNG or SVG holds one sheet, a PDF one page per sheet, a
// GIF one frame per sheet.
struct OutputFile {
  QString path;
  PictureFormat format = PictureFormat::kPng;
  std::vector<Sheet> sheets;
};

// Told after each sheet of an animation is drawn (done of total); false
// stops the write.
using SheetProgress = std::function<bool(int done, int total)>;

// How a write of diagram files ended.
enum class WriteOutcome {
  kWritten,     // every file in place
  kNotDrawn,    // OpenGL could not draw a picture
  kNotWritten,  // a file could not be made or put in place
  kCancelled,   // the progress callback stopped it
};

// Writes every file, each first to a temporary file beside it, and renames
// them into place only when all are written: a failure leaves no new file
// and every old one as it was, with *error saying why. A GIF's frames take
// `pace`.
WriteOutcome WriteDiagramFiles(const std::vector<OutputFile>& files, QSize sheetSize,
                               GlSource source, QString* error, const FramePace& pace = FramePace(),
                               const SheetProgress& progress = {});

// A picture drawn already (the orbit diagram) as a PNG at `path`, through the
// same temporary file and rename.
WriteOutcome WritePngImage(const QString& path, const QImage& image, QString* error);
