// Stepping by hand in the real main window: after Go to Step, Step Forward
// or Step Back the whole window, both diagrams' words and the log are what
// the animation shows at that step, pixel for pixel, with f∘f shown or not.
#include <QCheckBox>
#include <QImage>
#include <QScreen>
#include <QTimerEvent>
#include <string>

#include "core/layout/resource.h"
#include "core/numbers/series.h"
#include "core/numbers/step_rules.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/go_to_step_dlg.h"
#include "main_window_fixture.h"

namespace {

struct Shown {
  QImage window;
  QString webWords;
  QString seriesWords;
  QString log;
};

class StepThrough : public MainWindowTest {
 protected:
  Shown Now() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return {dialog->screen()
                ->grabWindow(dialog->winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32),
            dialog->m_webView->accessibleDescription(),
            dialog->m_seriesView->accessibleDescription(), dialog->m_outputText};
  }
  // One step as the workers take it: both counters, both paints, then the
  // notification that logs it.
  void AnimateTo(int step) {
    dialog->m_webView->m_stepCounter = step;
    dialog->m_seriesView->m_stepCounter = step;
    dialog->m_webView->repaint();
    dialog->m_seriesView->repaint();
    QTimerEvent timer(0);
    QCoreApplication::sendEvent(dialog.get(), &timer);
  }
  void Key(Qt::Key key) {
    dialog->m_graphButton.setFocus();
    QTest::keyClick(&dialog->m_graphButton, key);
  }
};

void ExpectSame(const Shown& byHand, const Shown& animated, const std::string& how) {
  SCOPED_TRACE(how);
  EXPECT_EQ(byHand.webWords, animated.webWords);
  EXPECT_EQ(byHand.seriesWords, animated.seriesWords);
  EXPECT_EQ(byHand.log, animated.log);
  EXPECT_TRUE(byHand.window == animated.window);
}

TEST_F(StepThrough, GoToStepAndStepKeysShowWhatTheAnimationShows) {
  const struct {
    const char* name;
    SentenceKind sentence;
    float degree;
    float estimate;
    bool secondIterate;
  } runs[] = {{"period 2", 0, 0.30f, 0.90f, false},
              {"never repeating, f∘f", 3, 0.30f, 0.90f, true},
              {"f∘f with four corners", 4, 0.75f, 0.20f, true}};
  const int checked[] = {0, 2, 3, 41, 80, 1000};
  qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->setChecked(true);
  for (const auto& run : runs) {
    if (dialog->m_webView->SecondIterateShown() != run.secondIterate) {
      dialog->ToggleSecondIterate();
    }
    g_selectedSentence = run.sentence;
    g_enteredDegree = run.degree;
    g_enteredEstimate = run.estimate;
    dialog->RestartGraphing();
    // The animation from step 0, the line of the log closed as in a new
    // window, keeping what it shows at the checked steps.
    g_logLineOpen = false;
    std::vector<Shown> animated;
    std::size_t next = 0;
    for (int step = 0; step <= kSeriesLength && next < std::size(checked);
         step = NextShownStep(step)) {
      AnimateTo(step);
      if (step == checked[next]) {
        animated.push_back(Now());
        ++next;
      }
    }
    ASSERT_EQ(animated.size(), std::size(checked));
    if (run.secondIterate) {
      EXPECT_TRUE(animated.back().webWords.endsWith(QStringLiteral(", f∘f shown")));
    }
    for (std::size_t i = 0; i < std::size(checked); ++i) {
      const int step = checked[i];
      const std::string at = std::string(run.name) + ", step " + std::to_string(step);
      dialog->RestartGraphing();
      dialog->ShowStep(step);  // what Go to Step's OK does
      ExpectSame(Now(), animated[i], at + " by Go to Step");
      if (step > 0) {
        dialog->ShowStep(step == 2 ? 0 : step - 1);
        Key(Qt::Key_Period);
        ExpectSame(Now(), animated[i], at + " by Step Forward");
      }
      if (step < kSeriesLength) {
        dialog->ShowStep(step == 0 ? 2 : step + 1);
        Key(Qt::Key_Comma);
        ExpectSame(Now(), animated[i], at + " by Step Back");
      }
    }
  }
}

TEST_F(StepThrough, GoToStepRefusesWhatIsNoStepAndLeavesTheWindowAsItWas) {
  CGoToStepDlg ask(0, dialog.get());
  for (const char* text : {"1001", "-1", "abc", ""}) {
    ask.m_count.setText(QString::fromLatin1(text));
    EXPECT_FALSE(ask.TryAccept()) << text;
    EXPECT_FALSE(ask.m_refusal.text().isEmpty()) << text;
  }
  EXPECT_EQ(dialog->m_seriesView->m_stepCounter.load(), 0);
  ask.m_count.setText(QStringLiteral("51"));
  EXPECT_TRUE(ask.TryAccept());
  EXPECT_EQ(ask.Step(), 51);
  // "." in a value field still starts a number, and steps nothing.
  auto* estimate = Item(IDC_ESTIMATE_EDIT);
  estimate->setFocus();
  QTest::keyClick(estimate, Qt::Key_Period);
  EXPECT_EQ(dialog->m_seriesView->m_stepCounter.load(), 0);
}

}  // namespace
