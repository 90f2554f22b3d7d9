#include "desktop/views/diagram_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "core/numbers/series.h"
#include "desktop/animation/animation_worker.h"
#include "desktop/views/gl_emit.h"
#include "desktop/views/render_target.h"

CDiagramView::CDiagramView() : m_target(std::make_unique<DiagramRenderTarget>()) {
  setFocusPolicy(Qt::NoFocus);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setAttribute(Qt::WA_NoMousePropagation);
}

CDiagramView::~CDiagramView() {
  // A worker holds a pointer to its view; none may outlive the view it steps.
  if (m_workerStarted) {
    ShutdownAnimationWorkers();
  }
}

void CDiagramView::CreateInPlaceholder(QWidget* placeholder, int mode, QWidget* notifyWnd) {
  m_mode = mode;
  m_stepCounter = 0;
  if (notifyWnd != nullptr) {
    SetNotifyWindow(notifyWnd);
  }
  setAccessibleName(mode == 1   ? QStringLiteral("Web diagram")
                    : mode == 0 ? QStringLiteral("Time-series diagram")
                                : QString());
  const QRect client = placeholder->contentsRect();
  m_width = client.width();
  m_height = client.height();
  setParent(placeholder);
  setGeometry(client);
  placeholder->installEventFilter(this);
  SetupPixelFormat(*m_target);
  show();
  StartAnimationWorker({this, m_mode, &m_stepCounter}, StepInterval());
  m_workerStarted = true;
}

void CDiagramView::ComputeSeries(float degree, float estimate, SentenceKind sentence) {
  ComputeSeriesValues(degree, estimate, sentence);
  m_stepCounter = 0;
  m_describedStep = -1;
}

void CDiagramView::RequestRestart() {
  AnimationRequestRestart();
  m_stepCounter = 0;
}
void CDiagramView::RequestStop() {
  AnimationRequestStop();
}
void CDiagramView::SignalStart() {
  AnimationSignalStart();
}
bool CDiagramView::IsStopped() const {
  return AnimationIsStopped();
}
void CDiagramView::SendPaint() {
  repaint();
}

void CDiagramView::paintEvent(QPaintEvent*) {
  const QImage picture = RenderPicture();
  // Painting runs on this thread for every step a worker reports, so the
  // words follow the picture, once per step.
  if (m_paintCounter != m_describedStep) {
    m_describedStep = m_paintCounter;
    setAccessibleDescription(QString::fromStdString(
        m_mode == 1 ? DescribeWebDiagramStep(m_paintCounter, g_series, m_secondIterate)
                    : DescribeDiagramStep(m_paintCounter, g_series)));
  }
  if (picture.isNull()) {
    return;  // silently unpainted: the black placeholder shows through
  }
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), picture);
}

QImage CDiagramView::RenderPicture() {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  m_paintCounter = m_stepCounter.load();
  const PictureSource source =
      CurrentPictureSource(pixels, m_mode, m_paintCounter, m_mode == 1 && m_secondIterate);
  const PaintPlan plan = PlanPaint(m_lastSource, source);
  if (plan == PaintPlan::kReuse) {
    m_lastSource->counter = source.counter;
    return m_lastPicture;
  }
  if (!m_target->Begin(pixels)) {
    DiscardRetainedPicture();
    return QImage();
  }
  if (plan == PaintPlan::kAddSteps && m_target->KeepsLastPicture()) {
    // Only the steps taken since the last paint: the trace lies on top of
    // everything and is drawn in step order, so they go over what is there.
    ContinueDiagramPaint(pixels.width(), pixels.height());
    if (const auto added = AddedTraceStroke(m_lastSource->counter, m_paintCounter, g_series)) {
      EmitStroke(*added);
    }
  } else {
    BeginDiagramPaint(pixels.width(), pixels.height());
    switch (m_mode) {
      case 0:
        DrawTimeSeries();
        break;
      case 1:
        DrawWebDiagram();
        break;
      default:
        break;  // an unknown mode shows plain black
    }
  }
  QImage picture = m_target->End();
  picture.setDevicePixelRatio(ratio);
  m_lastSource = source;
  m_lastPicture = picture;
  return picture;
}

void CDiagramView::DiscardRetainedPicture() {
  m_lastSource.reset();
  m_lastPicture = QImage();
}

void CDiagramView::ShowSecondIterate(bool shown) {
  m_secondIterate = shown;
  m_describedStep = -1;
}

void CDiagramView::DrawFrame() {
  EmitStroke(FrameStroke());
}
void CDiagramView::DrawDiagonal() {
  EmitStroke(DiagonalStroke());
}
void CDiagramView::DrawCurve() {
  EmitStroke(CurveStroke());
}

void CDiagramView::DrawWebDiagram() {
  DrawFrame();
  DrawDiagonal();
  DrawCurve();
  if (m_secondIterate) {
    EmitStroke(SecondIterateStroke());
  }
  if (const auto trace = WebTraceStroke(CounterReader(), g_series)) {
    EmitStroke(*trace);
  }
}

void CDiagramView::DrawTimeSeries() {
  if (const auto page = TimeSeriesStroke(CounterReader(), g_series)) {
    EmitStroke(*page);
  }
}

StepCounterRead CDiagramView::CounterReader() const {
  return [counter = m_paintCounter] { return counter; };
}

bool CDiagramView::eventFilter(QObject* watched, QEvent* event) {
  // Keep filling the placeholder should a layout resize it after creation.
  if (watched == parentWidget() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->contentsRect());
  }
  return QWidget::eventFilter(watched, event);
}

void CDiagramView::mousePressEvent(QMouseEvent* event) {
  event->accept();
}
void CDiagramView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}
void CDiagramView::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}
void CDiagramView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}
void CDiagramView::wheelEvent(QWheelEvent* event) {
  event->accept();
}
void CDiagramView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

namespace {
std::atomic<int> g_viewStepInterval{kStepIntervalMs};
}

void CDiagramView::SetStepInterval(int intervalMs) {
  g_viewStepInterval = intervalMs;
}
int CDiagramView::StepInterval() {
  return g_viewStepInterval;
}
