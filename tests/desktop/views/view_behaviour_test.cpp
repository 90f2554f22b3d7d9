// How a view sits in its placeholder and that it takes no input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <memory>

#include "desktop/animation/animation_worker.h"
#include "two_view_window.h"

namespace {

// Counts the input events that reach a widget, directly or passed on from a
// child that ignored them.
class InputCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
        ++count;
        break;
      default:
        break;
    }
    return false;
  }
};

class ViewInWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<TwoViewWindow>();
    ASSERT_TRUE(window_->ShowAndWait());
  }
  std::unique_ptr<TwoViewWindow> window_;
};

TEST_F(ViewInWindow, FillsThePlaceholdersClientArea) {
  for (auto [view, placeholder] : {std::pair{window_->web, window_->webPlaceholder},
                                   std::pair{window_->series, window_->seriesPlaceholder}}) {
    EXPECT_EQ(view->parentWidget(), placeholder);
    EXPECT_EQ(view->geometry(), placeholder->contentsRect());
    EXPECT_EQ(view->m_width, placeholder->contentsRect().width());
    EXPECT_EQ(view->m_height, placeholder->contentsRect().height());
    EXPECT_TRUE(view->isVisible());
  }
  EXPECT_EQ(window_->web->m_mode, 1);
  EXPECT_EQ(window_->series->m_mode, 0);
}

TEST_F(ViewInWindow, KeepsFillingAResizedPlaceholderButKeepsItsRecordedSize) {
  window_->webPlaceholder->resize(200, 150);
  EXPECT_EQ(window_->web->geometry(), window_->webPlaceholder->contentsRect());
  EXPECT_EQ(window_->web->m_width, 300);
  EXPECT_EQ(window_->web->m_height, 300);
}

TEST_F(ViewInWindow, StartsAtStepZeroAndTheWebViewsWindowIsNotified) {
  EXPECT_EQ(window_->web->m_stepCounter, 0);
  EXPECT_EQ(window_->series->m_stepCounter, 0);
  // The time-series view came second with no window and left it in place.
  EXPECT_EQ(g_notifyWnd.load(), &window_->dialog);
}

TEST_F(ViewInWindow, ComputeSeriesZeroesOnlyItsOwnCounter) {
  window_->web->m_stepCounter = 40;
  window_->series->m_stepCounter = 40;
  window_->series->ComputeSeries(0.5f, 0.25f, 3);
  EXPECT_EQ(window_->series->m_stepCounter, 0);
  EXPECT_EQ(window_->web->m_stepCounter, 40);
  EXPECT_EQ(g_runParams.sentence, 3);
  EXPECT_EQ(g_series[1], 0.25f);
}

TEST_F(ViewInWindow, TakesNoInputAndOpensNoMenu) {
  InputCounter reachedPlaceholder;
  InputCounter reachedDialog;
  window_->webPlaceholder->installEventFilter(&reachedPlaceholder);
  window_->dialog.installEventFilter(&reachedDialog);
  CDiagramView* view = window_->web;
  view->m_stepCounter = 7;

  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(50, 50));
  QTest::mouseClick(view, Qt::RightButton, {}, QPoint(60, 60));
  QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(70, 70));
  QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseMove(view, QPoint(100, 100));
  QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(100, 100));
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            view->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(view, &menuKey);
  QTest::qWait(20);

  EXPECT_EQ(reachedPlaceholder.count, 0);
  EXPECT_EQ(reachedDialog.count, 0);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(view->m_stepCounter, 7);
  EXPECT_TRUE(view->IsStopped());
  EXPECT_FALSE(view->hasFocus());
}

}  // namespace
