#include "two_view_window.h"

#include <QPalette>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <cstdlib>

namespace {

QLabel* BlackPlaceholder(QWidget* parent, QRect geometry) {
  auto* label = new QLabel(parent);
  // A sunken frame makes the client area smaller than the control.
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(2);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, Qt::black);
  label->setPalette(palette);
  label->setGeometry(geometry);
  return label;
}

bool Near(QRgb pixel, QColor colour) {
  return std::abs(qRed(pixel) - colour.red()) <= 3 &&
         std::abs(qGreen(pixel) - colour.green()) <= 3 &&
         std::abs(qBlue(pixel) - colour.blue()) <= 3;
}

}  // namespace

TwoViewWindow::TwoViewWindow() {
  dialog.resize(640, 380);
  webPlaceholder = BlackPlaceholder(&dialog, QRect(10, 10, 304, 304));
  seriesPlaceholder = BlackPlaceholder(&dialog, QRect(326, 10, 304, 204));
  button = new QPushButton(QStringLiteral("Graph"), &dialog);
  button->setGeometry(10, 330, 100, 30);
  marker = new QLabel(&dialog);
  marker->setAutoFillBackground(true);
  QPalette palette = marker->palette();
  palette.setColor(QPalette::Window, kMarkerColour);
  marker->setPalette(palette);
  marker->setGeometry(326, 250, 40, 40);

  web = new CDiagramView;
  series = new CDiagramView;
  web->CreateInPlaceholder(webPlaceholder, 1, &dialog);
  series->CreateInPlaceholder(seriesPlaceholder, 0, nullptr);
}

TwoViewWindow::~TwoViewWindow() {
  delete web;
  delete series;
}

bool TwoViewWindow::ShowAndWait() {
  dialog.show();
  return QTest::qWaitForWindowExposed(&dialog);
}

QImage ScreenImage(const QWidget* widget) {
  const QWidget* window = widget->window();
  const QPoint origin = widget->mapTo(window, QPoint(0, 0));
  return window->screen()
      ->grabWindow(window->winId(), origin.x(), origin.y(), widget->width(), widget->height())
      .toImage();
}

bool HasColourNear(const QImage& view, double x, double y, QColor colour, int radius) {
  // The projection maps [-0.01, 1.01] onto the whole view, y upward.
  const int column = static_cast<int>(std::floor((x + 0.01) / 1.02 * view.width()));
  const int fromBottom = static_cast<int>(std::floor((y + 0.01) / 1.02 * view.height()));
  const int row = view.height() - 1 - fromBottom;
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const QPoint p(column + dx, row + dy);
      if (view.valid(p) && Near(view.pixel(p), colour)) {
        return true;
      }
    }
  }
  return false;
}

bool IsAllBlack(const QImage& view) {
  for (int y = 0; y < view.height(); ++y) {
    for (int x = 0; x < view.width(); ++x) {
      if ((view.pixel(x, y) & 0xffffffu) != 0) {
        return false;
      }
    }
  }
  return !view.isNull();
}
