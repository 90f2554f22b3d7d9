// The output log as the panel shows it: the worker's step notification is
// delivered as it arrives from the time-series worker (a timer event of id 0
// to the dialog) with the counters set by hand, then once from real workers.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimerEvent>
#include <clocale>

#include "core/layout/resource.h"
#include "core/numbers/sentence.h"
#include "desktop/views/diagram_view.h"
#include "main_window_fixture.h"

namespace {

class LogPanel : public MainWindowTest {
 protected:
  QString Log() const { return qobject_cast<QLabel*>(Item(IDC_OUTPUT))->text(); }
  void ShowOutput(bool shown) {
    qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->setChecked(shown);
  }
  // What the time-series worker does after the repaint of `step`.
  void Notify(int step) {
    dialog->m_seriesView->m_stepCounter = step;
    QTimerEvent timer(0);
    QApplication::sendEvent(dialog.get(), &timer);
  }
  void NotifyAll(int first, int last) {
    for (int step = first; step <= last; ++step) {
      Notify(step);
    }
  }
  static QString Head() {
    std::string formula;
    FormatFormula(formula);
    return QString::fromStdString(" " + formula + "\n\n");
  }
};

const char* const kHeadOfSentenceZero = "         = 1 - abs(0.30 - Xn)\n\n";

TEST_F(LogPanel, FirstThreeStepsReadAsTheExample) {
  ShowOutput(true);
  NotifyAll(2, 4);
  EXPECT_EQ(Log(),
            "         = 1 - abs(0.30 - Xn)\n"
            "\n"
            "    x[00] = 0.00    x[01] = 0.90\n"
            "    x[02] = 0.40    x[03] = 0.90\n"
            "    x[04] = 0.40");
}

TEST_F(LogPanel, UncheckedShowOutputFreezesTheLog) {
  const QString atStart = Log();
  NotifyAll(2, 5);
  EXPECT_EQ(Log(), atStart);
  ShowOutput(true);
  Notify(6);
  EXPECT_EQ(Log(), atStart + "    x[06] = 0.40") << "resumes with the step current now";
}

TEST_F(LogPanel, PageClearsToTheFormulaAtFortyAndEighty) {
  ShowOutput(true);
  NotifyAll(2, 39);
  EXPECT_TRUE(Log().endsWith("    x[38] = 0.40    x[39] = 0.90\n"));
  Notify(40);
  EXPECT_EQ(Log(), kHeadOfSentenceZero) << "no x[40] and no x[00]/x[01] line";
  NotifyAll(41, 79);
  EXPECT_TRUE(
      Log().startsWith(QString(kHeadOfSentenceZero) + "    x[41] = 0.90    x[42] = 0.40\n"));
  EXPECT_TRUE(Log().endsWith("    x[79] = 0.90"));
  Notify(80);
  EXPECT_EQ(Log(), kHeadOfSentenceZero);
}

TEST_F(LogPanel, StepsFromHundredOnShowThreeDigits) {
  ShowOutput(true);
  NotifyAll(101, 102);
  EXPECT_TRUE(Log().endsWith("    x[101] = 0.90    x[102] = 0.40\n"));
  NotifyAll(998, 999);
  EXPECT_TRUE(Log().endsWith("    x[998] = 0.40    x[999] = 0.90\n"));
}

TEST_F(LogPanel, LastStepOfARunLeavesTheHeadAlone) {
  ShowOutput(true);
  NotifyAll(961, 999);
  Notify(1000);
  EXPECT_EQ(Log(), kHeadOfSentenceZero);
  EXPECT_FALSE(g_logLineOpen);
}

TEST_F(LogPanel, LogsTheStepOfTheNotifyingTimeSeriesView) {
  ShowOutput(true);
  dialog->m_webView->m_stepCounter = 7;  // the web worker runs at its own pace
  Notify(2);
  dialog->m_webView->m_stepCounter = 0;  // or has not taken its first step yet
  Notify(3);
  EXPECT_TRUE(
      Log().endsWith("    x[00] = 0.00    x[01] = 0.90\n    x[02] = 0.40    x[03] = 0.90\n"))
      << Log().toStdString();
}

TEST_F(LogPanel, StepCancelledByARefreshChangesNothing) {
  ShowOutput(true);
  const QString refreshed = Log();
  for (int step : {0, 1}) {
    Notify(step);
    EXPECT_EQ(Log(), refreshed) << "the x[00]/x[01] line stays, step " << step;
  }
  EXPECT_FALSE(g_logLineOpen);
}

TEST_F(LogPanel, RefreshRewritesTheHeadButKeepsAnOpenLine) {
  ShowOutput(true);
  NotifyAll(2, 4);
  ASSERT_TRUE(g_logLineOpen);
  QTest::mouseClick(Item(IDC_RESTART_BUTTON), Qt::LeftButton);
  EXPECT_EQ(Log(), QString(kHeadOfSentenceZero) + "    x[00] = 0.00    x[01] = 0.90\n");
  EXPECT_TRUE(g_logLineOpen);
  Notify(2);
  EXPECT_TRUE(Log().endsWith("x[01] = 0.90\n    x[02] = 0.40\n")) << "the pairs shift by one";
}

TEST_F(LogPanel, ChoosingASentenceKeepsAFreshlyCheckedShowOutput) {
  QTest::mouseClick(Item(IDC_SHOW_OUTPUT), Qt::LeftButton);
  ASSERT_TRUE(qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->isChecked());
  Item(IDC_SENTENCE_COMBO)->setFocus();
  QTest::keyClick(Item(IDC_SENTENCE_COMBO), Qt::Key_Down);
  EXPECT_TRUE(qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->isChecked());
  Notify(2);
  EXPECT_TRUE(Log().contains("x[02]"));
}

TEST_F(LogPanel, TwoLineFormulaOfSentenceOne) {
  ShowOutput(true);
  Item(IDC_SENTENCE_COMBO)->setFocus();
  QTest::keyClick(Item(IDC_SENTENCE_COMBO), Qt::Key_Down);
  ASSERT_EQ(g_selectedSentence, 1);
  const QString head = Head();
  ASSERT_EQ(head.count('\n'), 3) << "two formula lines, then the blank line";
  EXPECT_EQ(Log(), head + "    x[00] = 0.00    x[01] = 0.90\n");
  NotifyAll(39, 40);
  EXPECT_EQ(Log(), head);
}

TEST_F(LogPanel, RealRunLogsEveryStepOnceAndInOrder) {
  ShowOutput(true);
  QWidget* graph = Item(IDC_GRAPH_BUTTON);
  graph->setFocus();
  QTest::keyClick(graph, Qt::Key_G);
  ASSERT_TRUE(WaitFor([&] { return Log().contains("x[04]"); }, 5000));
  QTest::keyClick(graph, Qt::Key_G);
  QList<int> steps;
  const QRegularExpression entry(R"(x\[(\d+)\])");
  for (const auto& match : entry.globalMatch(Log())) {
    steps << match.captured(1).toInt();
  }
  ASSERT_GE(steps.size(), 5);
  for (int i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i], i) << Log().toStdString();
  }
}

// The panel keeps its template rectangle, so a whole page must fit it in
// whatever font stands in for the log's own; the same at every scale factor
// (another run of this test program has the screen scaled by two).
TEST_F(LogPanel, WholePageFitsThePanelForOneAndTwoLineFormulas) {
  ShowOutput(true);
  for (const int sentence : {0, 1}) {
    SCOPED_TRACE(sentence);
    auto* picker = qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO));
    picker->setCurrentIndex(sentence);
    emit picker->activated(sentence);
    NotifyAll(2, 39);
    ASSERT_TRUE(Log().contains("    x[38] = ") && Log().endsWith("\n")) << Log().toStdString();
    QString page = Log();
    page.chop(1);  // the line feed after x[39] opens an empty line, which shows nothing
    const int lines = static_cast<int>(page.count('\n')) + 1;
    EXPECT_EQ(lines, sentence == 0 ? 22 : 23);
    const QWidget* panel = Item(IDC_OUTPUT);
    const QRect area = panel->contentsRect();
    const QFontMetrics metrics(panel->font(), panel);
    const QRect wrapped =
        metrics.boundingRect(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, page);
    const QRect unwrapped = metrics.boundingRect(area, Qt::AlignLeft | Qt::AlignTop, page);
    EXPECT_EQ(wrapped.height(), unwrapped.height()) << "no line of the page wraps";
    EXPECT_GE(wrapped.height(), lines * metrics.height()) << "one text line per log line";
    EXPECT_LE(wrapped.bottom(), area.bottom()) << "the last line, x[38] x[39], lies inside";
    Notify(40);
  }
}

TEST(Locale, CommaDecimalLocaleIsInForce) {
  // The window tests run under a comma-decimal locale when one is installed,
  // so every "0.30" they check proves the point is the tool's own.
  const std::string point = std::localeconv()->decimal_point;
  if (point != ",") {
    GTEST_SKIP() << "no comma-decimal locale installed (de_DE.UTF-8)";
  }
  SUCCEED();
}

}  // namespace
