// The orbit diagram's drawing area: shows the latest picture, turns drags,
// the wheel and keys into views to compute, and a click into a parameter.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/windows/orbit_picture.h"

// What part of the unit square is shown: the axis over [from, to], the
// values over [low, high].
struct OrbitBox {
  double from = 0.0;
  double to = 1.0;
  double low = 0.0;
  double high = 1.0;
  bool operator==(const OrbitBox&) const = default;
};

class COrbitPlot : public QWidget {
  Q_OBJECT

 public:
  explicit COrbitPlot(QWidget* parent = nullptr);

  void SetPicture(std::shared_ptr<const OrbitPicture> picture);
  const OrbitPicture* Picture() const { return m_picture.get(); }
  void SetMarker(std::optional<double> marker);
  std::optional<double> Marker() const { return m_marker; }
  // The column the keyboard points at, -1 for none.
  int CursorColumn() const { return m_cursor; }

  // Where a point of the widget lies in the shown picture's axis and value.
  std::optional<QPointF> ParameterAt(QPointF point) const;
  int ColumnAt(double x) const;

 Q_SIGNALS:
  void zoomTo(OrbitBox box);
  void columnChosen(int column);
  void pointerMoved(QString text);
  void backRequested();
  void resetRequested();
  void cursorMoved();
  void resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  OrbitBox ShownBox() const;
  // The shown box scaled by `factor` around the point (x, y) of the square.
  void ZoomAround(double x, double y, double factor);
  void MoveCursor(int by);

  std::shared_ptr<const OrbitPicture> m_picture;
  std::vector<std::uint8_t> m_pixels;  // the composed picture; empty when stale
  OrbitFrame m_frame;
  std::optional<double> m_marker;
  int m_cursor = -1;
  std::optional<QPoint> m_pressAt;
  QPoint m_dragTo;
};
