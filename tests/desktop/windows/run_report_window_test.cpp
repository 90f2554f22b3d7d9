// The Run Report window in the real main window's modal loop: opened from the
// window menu's command, following a change of sentence, taking keys while
// the main window runs modally, and going when the main window closes.
#include <QComboBox>
#include <QPointer>
#include <QTimer>

#include "core/layout/resource.h"
#include "desktop/windows/run_report_window.h"
#include "desktop/windows/window_menu.h"
#include "main_window_fixture.h"

namespace {

using RunReportWindow = MainWindowTest;

TEST_F(RunReportWindow, FollowsTheRunAndClosesWithTheMainWindow) {
  const QRect mainBefore = dialog->frameGeometry();
  QPointer<CRunReportWindow> report;
  QTimer::singleShot(20000, dialog.get(), [&] { dialog->done(-2); });  // never hang
  QTimer::singleShot(0, dialog.get(), [&] {
    ASSERT_EQ(QApplication::activeModalWidget(), dialog.get());
    dialog->OnSysCommand(IDM_RUNREPORT, 0);
    report = CRunReportWindow::Find(dialog.get());
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report));
    EXPECT_TRUE(report->ReportText().startsWith(
        "From step 1 on the values repeat every 2 steps: 0.90, 0.40."))
        << report->ReportText().toStdString();
    EXPECT_FALSE(report->frameGeometry().intersects(dialog->frameGeometry()));
    EXPECT_EQ(report->accessibleName(), "Run Report");

    // Chosen again, the one window comes forward.
    dialog->OnSysCommand(IDM_RUNREPORT, 0);
    EXPECT_EQ(dialog->findChildren<CRunReportWindow*>().size(), 1);

    // Sentence 6 from the main window's keyboard: the report follows.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    auto* picker = qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO));
    picker->setFocus();
    ASSERT_TRUE(WaitFor([&] { return picker->hasFocus(); }));
    QTest::keyClick(picker, Qt::Key_Home);
    for (int i = 0; i < 6; ++i) {
      QTest::keyClick(picker, Qt::Key_Down);
    }
    EXPECT_TRUE(report->ReportText().startsWith("From step 10 on the value stays at 0.00."))
        << report->ReportText().toStdString();
    EXPECT_EQ(dialog->frameGeometry(), mainBefore);

    // Keys through the window system, which drops them for windows the
    // modal main window blocks: Escape closes the report.
    report->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(report));
    QTest::keyClick(report->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([&] { return report.isNull(); }));

    dialog->OnSysCommand(IDM_RUNREPORT, 0);
    report = CRunReportWindow::Find(dialog.get());
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report));
    dialog->OnSysCommand(SC_CLOSE, 0);
  });
  // Hidden first, so that exec shows it modally as the application does: a
  // dialog already on screen would run the loop without blocking anything.
  dialog->hide();
  EXPECT_EQ(dialog->exec(), IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return report.isNull(); }));
}

}  // namespace
