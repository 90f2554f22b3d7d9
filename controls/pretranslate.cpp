#include "pretranslate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

class PreTranslateFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) {
      return false;
    }
    auto* keyDown = static_cast<QKeyEvent*>(event);
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
};

}  // namespace

void InstallPreTranslateFilter(QApplication& application) {
  static PreTranslateFilter* installed = nullptr;
  if (installed == nullptr) {
    installed = new PreTranslateFilter(&application);
    application.installEventFilter(installed);
  }
}
