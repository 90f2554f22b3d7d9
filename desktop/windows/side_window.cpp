#include "desktop/windows/side_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

constexpr int kGap = 8;

}  // namespace

QRect OwnerScreenArea(const QWidget& owner) {
  const QScreen* screen =
      owner.screen() != nullptr ? owner.screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

int RoomBesideOwner(const QWidget& window, const QWidget& owner) {
  const QRect main = owner.frameGeometry();
  const QRect area = OwnerScreenArea(owner);
  const int frame = window.frameGeometry().width() - window.width();
  return std::max(area.right() - main.right(), main.left() - area.left()) - kGap - frame;
}

void PlaceBesideOwner(QWidget& window, const QWidget& owner) {
  const QRect main = owner.frameGeometry();
  const QRect area = OwnerScreenArea(owner);
  const QSize size = window.frameGeometry().size();
  QPoint at(main.right() + 1 + kGap, main.top());
  if (area.isValid() && at.x() + size.width() > area.right() + 1) {
    const int left = main.left() - kGap - size.width();
    at.setX(left >= area.left() ? left : std::max(area.left(), area.right() + 1 - size.width()));
  }
  window.move(at);
}
