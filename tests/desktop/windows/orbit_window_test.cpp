// The Orbit Diagram window beside the real main window: opened from the
// window menu, zoomed by a drag, back again, and a click on a column setting
// the degree field as if typed.
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "core/layout/resource.h"
#include "core/numbers/number_text.h"
#include "core/numbers/series.h"
#include "desktop/windows/orbit_window.h"
#include "main_window_fixture.h"

namespace {

using OrbitDiagramWindow = MainWindowTest;

// The plot's point for the axis value x and the value y of the shown box.
QPoint PointOf(COrbitPlot* plot, double x, double y) {
  const OrbitBox box{plot->Picture()->view.request.from, plot->Picture()->view.request.to,
                     plot->Picture()->view.low, plot->Picture()->view.high};
  const QRect dots = OrbitLayoutFor(plot->size()).dots;
  return {dots.left() + static_cast<int>((x - box.from) / (box.to - box.from) * dots.width()),
          dots.top() + static_cast<int>((box.high - y) / (box.high - box.low) * dots.height())};
}

TEST_F(OrbitDiagramWindow, DragZoomBackAndAClickSetsTheDegree) {
  qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO))->setCurrentIndex(3);
  dialog->OnSentenceChanged();
  unsigned command = 0;
  for (const WindowMenuEntry& entry : dialog->SystemMenu()) {
    command = entry.text == "&Orbit Diagram..." ? entry.command : command;
  }
  ASSERT_EQ(command, IDM_ORBITDIAGRAM);
  dialog->OnSysCommand(command, 0);
  QPointer<COrbitWindow> orbit = COrbitWindow::Find(dialog.get());
  ASSERT_NE(orbit, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(orbit));
  EXPECT_FALSE(orbit->frameGeometry().intersects(dialog->frameGeometry()))
      << orbit->frameGeometry().x() << " " << orbit->frameGeometry().width() << " main "
      << dialog->frameGeometry().x() << " " << dialog->frameGeometry().width();
  COrbitPlot* plot = orbit->Plot();
  ASSERT_TRUE(WaitFor([&] { return plot->Picture() != nullptr && !orbit->Computing(); }));
  const OrbitRequest& whole = plot->Picture()->view.request;
  EXPECT_EQ(whole.from, 0.0);
  EXPECT_EQ(whole.to, 1.0);
  EXPECT_EQ(whole.columns,
            qRound(OrbitLayoutFor(plot->size()).dots.width() * plot->devicePixelRatioF()));
  EXPECT_EQ(plot->accessibleDescription().left(40), "sentence 3 over the degree 0.00 to 1.00;");

  // A drag from (0.25, 0.9) to (0.5, 0.6) shows that box once computed.
  const QPoint from = PointOf(plot, 0.25, 0.9);
  const QPoint to = PointOf(plot, 0.5, 0.6);
  QTest::mousePress(plot, Qt::LeftButton, {}, from);
  QTest::mouseMove(plot, to);
  QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
  ASSERT_TRUE(
      WaitFor([&] { return !orbit->Computing() && plot->Picture()->view.request.from > 0; }));
  const OrbitView& zoomed = plot->Picture()->view;
  EXPECT_NEAR(zoomed.request.from, 0.25, 0.01);
  EXPECT_NEAR(zoomed.request.to, 0.5, 0.01);
  EXPECT_NEAR(zoomed.low, 0.6, 0.01);
  EXPECT_NEAR(zoomed.high, 0.9, 0.01);

  // Back returns to the whole square.
  for (QPushButton* button : orbit->findChildren<QPushButton*>()) {
    if (button->text() == "&Back") {
      QTest::mouseClick(button, Qt::LeftButton);
    }
  }
  ASSERT_TRUE(
      WaitFor([&] { return !orbit->Computing() && plot->Picture()->view.request.from == 0; }));
  EXPECT_EQ(plot->Picture()->view.high, 1.0);

  // A click near k = 0.47 sets the field to the nearest two-decimal value of
  // the column under the pointer, and the marker follows the refreshed run.
  const QPoint at = PointOf(plot, 0.4712, 0.5);
  const float parameter = OrbitParameter(plot->Picture()->view.request, plot->ColumnAt(at.x()));
  QTest::mouseClick(plot, Qt::LeftButton, {}, at);
  auto* degree = qobject_cast<QLineEdit*>(Item(IDC_DEGREE_EDIT));
  EXPECT_EQ(degree->text().toStdString(), FormatFixed2(parameter));
  EXPECT_EQ(degree->text(), "0.47");
  EXPECT_EQ(g_runParams.degree, 0.47f);
  ASSERT_TRUE(plot->Marker().has_value());
  EXPECT_EQ(*plot->Marker(), static_cast<double>(0.47f));

  dialog->close();
  EXPECT_TRUE(WaitFor([&] { return orbit.isNull(); }));
}

}  // namespace
