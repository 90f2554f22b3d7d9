#include "desktop/controls/pretranslate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

class PreTranslateFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease) {
      m_walkedKey = nullptr;
    }
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) {
      return false;
    }
    auto* keyDown = static_cast<QKeyEvent*>(event);
    // A key press that the receiver ignores travels on to its parents, and
    // this filter sees it again for each; the walk runs once per key press,
    // at the first delivery. (Auto-repeated presses may reuse one event
    // object, but each starts again at the focused widget, not an ancestor.)
    if (keyDown == m_walkedKey && IsAncestorOf(receiver, m_walkedReceiver)) {
      return false;
    }
    m_walkedKey = keyDown;
    m_walkedReceiver = static_cast<QWidget*>(receiver);
    for (auto* widget = static_cast<QWidget*>(receiver); widget != nullptr;
         widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
      if (auto* handler = dynamic_cast<CPreTranslate*>(widget)) {
        if (handler->PreTranslateMessage(keyDown)) {
          return true;
        }
      }
    }
    return false;
  }

 private:
  static bool IsAncestorOf(const QObject* candidate, const QWidget* widget) {
    for (const QWidget* w = widget != nullptr ? widget->parentWidget() : nullptr; w != nullptr;
         w = w->parentWidget()) {
      if (w == candidate) {
        return true;
      }
    }
    return false;
  }

  const QKeyEvent* m_walkedKey = nullptr;
  QPointer<QWidget> m_walkedReceiver;
};

}  // namespace

void InstallPreTranslateFilter(QApplication& application) {
  static PreTranslateFilter* installed = nullptr;
  if (installed == nullptr) {
    installed = new PreTranslateFilter(&application);
    application.installEventFilter(installed);
  }
}
