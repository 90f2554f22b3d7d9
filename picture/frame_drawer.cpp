#include "picture/frame_drawer.h"

#include <QPainter>
#include <utility>

#include "desktop/views/gl_emit.h"
#include "desktop/views/render_target.h"
#include "picture/headless_gl.h"

FrameDrawer::FrameDrawer(QSize size, GlSource source) : m_size(size), m_source(source) {}

FrameDrawer::~FrameDrawer() = default;

QImage FrameDrawer::Draw(const Sheet& sheet, QString* error) {
  m_parts.resize(sheet.parts.size());
  if (sheet.parts.size() == 1 && sheet.parts.front().rect == QRect(QPoint(0, 0), m_size)) {
    return DrawPart(m_parts.front(), sheet.parts.front(), error);
  }
  QImage picture(m_size, QImage::Format_RGB32);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (std::size_t i = 0; i < m_parts.size(); ++i) {
    const QImage diagram = DrawPart(m_parts[i], sheet.parts[i], error);
    if (diagram.isNull()) {
      return QImage();
    }
    painter.drawImage(sheet.parts[i].rect.topLeft(), diagram);
  }
  return picture;
}

QImage FrameDrawer::DrawPart(Part& kept, const SheetPart& part, QString* error) {
  const PictureSource now =
      CurrentPictureSource(part.rect.size(), part.mode, part.counter, part.secondIterate);
  const PaintPlan plan = PlanPaint(kept.last, now);
  if (plan == PaintPlan::kReuse) {
    kept.last->counter = now.counter;
    return kept.image;
  }
  if (kept.last && kept.last->pixels != now.pixels) {
    kept = Part();
  }
  if (!Begin(kept, now.pixels, error)) {
    kept = Part();
    return QImage();
  }
  const bool onTop =
      plan == PaintPlan::kAddSteps && (kept.target == nullptr || kept.target->KeepsLastPicture());
  std::vector<Stroke> strokes;
  if (onTop) {
    if (auto added = AddedTraceStroke(kept.last->counter, now.counter, g_series)) {
      strokes.push_back(std::move(*added));
    }
  } else {
    strokes = DiagramStrokes(part.mode, part.counter, part.secondIterate);
  }
  kept.image = Finish(kept, strokes, !onTop, now.pixels, error);
  kept.last = kept.image.isNull() ? std::nullopt : std::optional<PictureSource>(now);
  return kept.image;
}

bool FrameDrawer::Begin(Part& kept, QSize pixels, QString* error) {
  if (m_source == GlSource::kHeadless) {
    if (kept.headless == nullptr) {
      kept.headless = std::make_unique<HeadlessPicture>(pixels);
    }
    return true;
  }
  if (kept.target == nullptr) {
    kept.target = std::make_unique<DiagramRenderTarget>();
    if (kept.target->Create() != SurfaceFailure::kNone) {
      *error = QStringLiteral("no OpenGL context can be had");
      return false;
    }
  }
  if (!kept.target->Begin(pixels)) {
    *error = QStringLiteral("no OpenGL context can be had");
    return false;
  }
  return true;
}

QImage FrameDrawer::Finish(Part& kept, const std::vector<Stroke>& strokes, bool afresh,
                           QSize pixels, QString* error) {
  if (kept.headless != nullptr) {
    return kept.headless->Draw(strokes, afresh, error);
  }
  if (afresh) {
    BeginDiagramPaint(pixels.width(), pixels.height());
  } else {
    ContinueDiagramPaint(pixels.width(), pixels.height());
  }
  for (const Stroke& stroke : strokes) {
    EmitStroke(stroke);
  }
  return kept.target->End().convertToFormat(QImage::Format_RGB32);
}
