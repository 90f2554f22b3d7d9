#include "desktop/windows/orbit_plot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/numbers/number_text.h"

namespace {

// Farther than this between press and release is a drag, not a click.
constexpr int kClickSlack = 4;
constexpr double kWheelZoom = 0.8;  // the box's size after one notch in
constexpr double kKeyZoom = 0.5;
// A box narrower than single precision can tell apart shows nothing new.
constexpr double kNarrowest = 1e-5;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

COrbitPlot::COrbitPlot(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(260, 200);
  setAccessibleName(QStringLiteral("Orbit diagram"));
}

void COrbitPlot::SetPicture(std::shared_ptr<const OrbitPicture> picture) {
  if (m_picture == nullptr || picture->view.request.columns != m_picture->view.request.columns) {
    m_cursor = -1;
  }
  m_picture = std::move(picture);
  m_pixels.clear();
  update();
}

void COrbitPlot::SetMarker(std::optional<double> marker) {
  m_marker = marker;
  m_pixels.clear();
  update();
}

OrbitBox COrbitPlot::ShownBox() const {
  if (m_picture == nullptr) {
    return {};
  }
  const OrbitView& view = m_picture->view;
  return {view.request.from, view.request.to, view.low, view.high};
}

std::optional<QPointF> COrbitPlot::ParameterAt(QPointF point) const {
  const QRect dots = OrbitLayoutFor(size(), devicePixelRatioF()).dots;
  if (m_picture == nullptr || !dots.contains(point.toPoint())) {
    return std::nullopt;
  }
  const OrbitBox box = ShownBox();
  const double tx = (point.x() - dots.left()) / dots.width();
  const double ty = (dots.top() + dots.height() - point.y()) / dots.height();
  return QPointF(box.from + tx * (box.to - box.from), box.low + ty * (box.high - box.low));
}

int COrbitPlot::ColumnAt(double x) const {
  const QRect dots = OrbitLayoutFor(size(), devicePixelRatioF()).dots;
  const int columns = m_picture->view.request.columns;
  return std::clamp(static_cast<int>((x - dots.left()) / dots.width() * columns), 0, columns - 1);
}

void COrbitPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_picture == nullptr) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  // Composed once per change, a byte a pixel; a drag only draws over it.
  const double dpr = devicePixelRatioF();
  if (m_pixels.empty()) {
    m_frame = OrbitFrameForWidget(size(), dpr);
    m_pixels = ComposeOrbitImage(*m_picture, m_frame, {m_marker, m_cursor});
  }
  DrawOrbitImage(painter, m_pixels, m_frame, dpr);
  if (m_pressAt && (m_dragTo - *m_pressAt).manhattanLength() > kClickSlack) {
    painter.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
    painter.drawRect(QRect(*m_pressAt, m_dragTo).normalized());
  }
}

void COrbitPlot::resizeEvent(QResizeEvent* event) {
  m_pixels.clear();
  QWidget::resizeEvent(event);
  emit resized();
}

void COrbitPlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && ParameterAt(event->position())) {
    m_pressAt = event->position().toPoint();
    m_dragTo = *m_pressAt;
  }
}

void COrbitPlot::mouseMoveEvent(QMouseEvent* event) {
  const std::optional<QPointF> at = ParameterAt(event->position());
  if (at && m_picture != nullptr) {
    const char* symbol = OrbitAxisSymbol(m_picture->view.request.axis);
    emit pointerMoved(
        QStringLiteral("%1 = %2, value %3")
            .arg(QLatin1String(symbol), Text(FormatFixed4(at->x())), Text(FormatFixed4(at->y()))));
  }
  if (m_pressAt) {
    m_dragTo = event->position().toPoint();
    update();
  }
}

void COrbitPlot::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_pressAt || event->button() != Qt::LeftButton) {
    return;
  }
  const QPoint from = *m_pressAt;
  m_pressAt.reset();
  update();
  const QPoint to = event->position().toPoint();
  if ((to - from).manhattanLength() <= kClickSlack) {
    emit columnChosen(ColumnAt(from.x()));
    return;
  }
  const QRect dots = OrbitLayoutFor(size(), devicePixelRatioF()).dots;
  const std::optional<QPointF> a = ParameterAt(from);
  const std::optional<QPointF> b =
      ParameterAt(QPoint(std::clamp(to.x(), dots.left(), dots.right()),
                         std::clamp(to.y(), dots.top(), dots.bottom())));
  if (!a || !b) {
    return;
  }
  const OrbitBox box{std::min(a->x(), b->x()), std::max(a->x(), b->x()), std::min(a->y(), b->y()),
                     std::max(a->y(), b->y())};
  if (box.to - box.from >= kNarrowest && box.high - box.low >= kNarrowest) {
    emit zoomTo(box);
  }
}

void COrbitPlot::ZoomAround(double x, double y, double factor) {
  const OrbitBox shown = ShownBox();
  const auto scaled = [factor](double from, double to, double at, double* a, double* b) {
    const double width = std::clamp((to - from) * factor, kNarrowest, 1.0);
    const double share = (at - from) / (to - from);
    *a = std::clamp(at - share * width, 0.0, 1.0 - width);
    *b = *a + width;
  };
  OrbitBox box;
  scaled(shown.from, shown.to, x, &box.from, &box.to);
  scaled(shown.low, shown.high, y, &box.low, &box.high);
  if (!(box == shown)) {
    emit zoomTo(box);
  }
}

void COrbitPlot::wheelEvent(QWheelEvent* event) {
  const std::optional<QPointF> at = ParameterAt(event->position());
  const int notches = event->angleDelta().y() / 120;
  if (at && notches != 0) {
    ZoomAround(at->x(), at->y(), std::pow(kWheelZoom, notches));
  }
  event->accept();
}

void COrbitPlot::MoveCursor(int by) {
  if (m_picture == nullptr) {
    return;
  }
  const int columns = m_picture->view.request.columns;
  if (m_cursor < 0) {
    m_cursor = by > 0 ? 0 : columns - 1;
    if (m_marker) {
      const OrbitRequest& request = m_picture->view.request;
      const double t = (*m_marker - request.from) / (request.to - request.from);
      if (t >= 0.0 && t <= 1.0) {
        m_cursor = static_cast<int>(std::lround(t * (columns - 1)));
      }
    }
  } else {
    m_cursor = std::clamp(m_cursor + by, 0, columns - 1);
  }
  m_pixels.clear();
  update();
  emit cursorMoved();
}

void COrbitPlot::keyPressEvent(QKeyEvent* event) {
  const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      MoveCursor((event->key() == Qt::Key_Left ? -1 : 1) * (shift ? 10 : 1));
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (m_cursor >= 0) {
        emit columnChosen(m_cursor);
      }
      return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus: {
      if (m_picture == nullptr) {
        return;
      }
      const OrbitBox box = ShownBox();
      const OrbitRequest& request = m_picture->view.request;
      const double x = m_cursor >= 0 ? OrbitParameter(request, m_cursor) : (box.from + box.to) / 2;
      ZoomAround(x, (box.low + box.high) / 2,
                 event->key() == Qt::Key_Minus ? 1 / kKeyZoom : kKeyZoom);
      return;
    }
    case Qt::Key_Backspace:
      emit backRequested();
      return;
    case Qt::Key_Home:
      emit resetRequested();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}
