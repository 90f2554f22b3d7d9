// The controller driven as a person drives it: keys and clicks into the real
// main window, with the real animation workers behind it.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/layout/resource.h"
#include "core/numbers/series.h"
#include "desktop/animation/animation_worker.h"
#include "desktop/views/diagram_view.h"
#include "main_window_fixture.h"

namespace {

// Closing ends the workers without waiting out their step; only a hang (a
// worker never woken, a join on a thread that waits for this one) takes
// anywhere near this long.
constexpr std::chrono::milliseconds kWorkersEnd{5000};

class Controller : public MainWindowTest {
 protected:
  QComboBox* Picker() const { return qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO)); }
  QLineEdit* Field(int id) const { return qobject_cast<QLineEdit*>(Item(id)); }
  QString GraphText() const { return qobject_cast<QPushButton*>(Item(IDC_GRAPH_BUTTON))->text(); }
  QString TruthWord() const { return qobject_cast<QLabel*>(Item(IDC_TRUTH_WORD))->text(); }
  QString Log() const { return qobject_cast<QLabel*>(Item(IDC_OUTPUT))->text(); }
  int WebStep() const { return dialog->m_webView->m_stepCounter.load(); }
  int SeriesStep() const { return dialog->m_seriesView->m_stepCounter.load(); }

  void Press(int id, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = Item(id);
    target->setFocus();
    ASSERT_TRUE(WaitFor([&] { return target->hasFocus(); }));
    QTest::keyClick(target, key, modifiers);
  }
  // The picker's item i, chosen from the keyboard as a person would.
  void ChooseSentence(int index) {
    Press(IDC_SENTENCE_COMBO, Qt::Key_Home);
    for (int i = 0; i < index; ++i) {
      QTest::keyClick(Picker(), Qt::Key_Down);
    }
  }
  // Starts the animation and waits for its first step.
  void StartRunning() {
    Press(IDC_GRAPH_BUTTON, Qt::Key_G);
    ASSERT_FALSE(dialog->m_paused);
    ASSERT_TRUE(WaitFor([&] { return WebStep() >= 2 && SeriesStep() >= 2; }));
  }
  void ExpectPausedAtStepZero() {
    EXPECT_TRUE(dialog->m_paused);
    EXPECT_TRUE(dialog->m_webView->IsStopped());
    EXPECT_EQ(GraphText(), "Graph");
    QTest::qWait(kStepIntervalMs + 200);  // a step under way must not undo the reset
    EXPECT_EQ(WebStep(), 0);
    EXPECT_EQ(SeriesStep(), 0);
  }
};

TEST_F(Controller, StartUpState) {
  EXPECT_EQ(Picker()->currentIndex(), 0);
  EXPECT_EQ(Picker()->itemText(0), "This sentence is 0.30 True");
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->text(), "0.30");
  EXPECT_EQ(Field(IDC_ESTIMATE_EDIT)->text(), "0.90");
  EXPECT_EQ(TruthWord(), "true");
  EXPECT_EQ(GraphText(), "&Graph");
  EXPECT_EQ(Log(),
            "         = 1 - abs(0.30 - Xn)\n"
            "\n"
            "    x[00] = 0.00    x[01] = 0.90\n");
  EXPECT_FALSE(qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->isChecked());
  EXPECT_EQ(g_enteredDegree, 0.3f);
  EXPECT_EQ(g_enteredEstimate, 0.9f);
  EXPECT_EQ(g_runParams.sentence, 0);
  EXPECT_EQ(g_runParams.degree, 0.3f);
  EXPECT_EQ(g_runParams.estimate, 0.9f);
  EXPECT_TRUE(dialog->m_paused);
  EXPECT_FALSE(dialog->windowIcon().isNull());
  EXPECT_EQ(qobject_cast<QLabel*>(Item(IDC_FORMULA_PICTURE))->pixmap().size(), QSize(28, 11));
  QTest::qWait(kStepIntervalMs + 200);
  EXPECT_EQ(WebStep(), 0) << "nothing moves until Graph";
  EXPECT_EQ(SeriesStep(), 0);
}

TEST_F(Controller, ViewsSitInTheirPlaceholders) {
  EXPECT_EQ(dialog->m_webView->parentWidget(), Item(IDC_WEB_PLACEHOLDER));
  EXPECT_EQ(dialog->m_seriesView->parentWidget(), Item(IDC_SERIES_PLACEHOLDER));
  EXPECT_EQ(dialog->m_webView->m_mode, 1);
  EXPECT_EQ(dialog->m_seriesView->m_mode, 0);
  EXPECT_EQ(dialog->m_webView->geometry(), Item(IDC_WEB_PLACEHOLDER)->rect());
  EXPECT_EQ(g_notifyWnd.load(), dialog.get()) << "the web view's creation named the dialog";
}

struct SentenceCase {
  const char* name;
  int index;
  const char* truthWord;
  bool degreeEnabled;
};

class ChoosingASentence : public Controller, public ::testing::WithParamInterface<SentenceCase> {};

TEST_P(ChoosingASentence, SetsTruthWordAndDegreeFieldKeepsItsValue) {
  ChooseSentence(GetParam().index);
  EXPECT_EQ(g_selectedSentence, GetParam().index);
  EXPECT_EQ(g_runParams.sentence, GetParam().index);
  EXPECT_EQ(TruthWord(), GetParam().truthWord);
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->isEnabled(), GetParam().degreeEnabled);
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->text(), "0.30");
  EXPECT_EQ(Picker()->currentIndex(), GetParam().index);
  EXPECT_EQ(Picker()->count(), 10);
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, ChoosingASentence,
    ::testing::Values(SentenceCase{"truth_teller", 0, "true", true},
                      SentenceCase{"liar", 1, "false", true},
                      SentenceCase{"as_true_as_estimated_true", 2, "true", true},
                      SentenceCase{"as_true_as_estimated_false", 3, "true", true},
                      SentenceCase{"as_false_as_estimated_true", 4, "false", true},
                      SentenceCase{"as_false_as_estimated_false", 5, "false", true},
                      SentenceCase{"very_true", 6, "true", false},
                      SentenceCase{"very_false", 7, "true", false},
                      SentenceCase{"fairly_true", 8, "true", false},
                      SentenceCase{"fairly_false", 9, "true", false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(Controller, DegreeFieldComesBackWhenADegreeSentenceIsChosenAgain) {
  ChooseSentence(7);
  ASSERT_FALSE(Field(IDC_DEGREE_EDIT)->isEnabled());
  ChooseSentence(3);
  EXPECT_TRUE(Field(IDC_DEGREE_EDIT)->isEnabled());
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->text(), "0.30");
}

TEST_F(Controller, NoSelectionCountsAsASentenceWithoutDegree) {
  Picker()->setCurrentIndex(-1);
  dialog->OnSentenceChanged();
  EXPECT_EQ(g_selectedSentence, -1);
  EXPECT_FALSE(Field(IDC_DEGREE_EDIT)->isEnabled());
  EXPECT_EQ(TruthWord(), "true");
  EXPECT_EQ(Picker()->count(), 10);
}

TEST_F(Controller, TypingADegreeRewritesAllTenCaptions) {
  QStringList before;
  for (int i = 0; i < 10; ++i) {
    before << Picker()->itemText(i);
  }
  QLineEdit* degree = Field(IDC_DEGREE_EDIT);
  degree->setFocus();
  degree->selectAll();
  QTest::keyClick(degree, Qt::Key_5);
  ASSERT_EQ(degree->text(), "0.50");
  EXPECT_EQ(g_enteredDegree, 0.5f);
  EXPECT_EQ(Picker()->itemText(0), "This sentence is 0.50 True");
  EXPECT_EQ(Picker()->itemText(5), "This sentence is 0.50 as False as it is estimated to be False");
  for (int i = 6; i < 10; ++i) {
    EXPECT_EQ(Picker()->itemText(i), before[i]) << "no degree in sentence " << i;
  }
  EXPECT_TRUE(Log().startsWith("         = 1 - abs(0.50 - Xn)\n"));
}

TEST_F(Controller, EveryFieldChangePausesAndReturnsBothViewsToStepZero) {
  StartRunning();
  QLineEdit* estimate = Field(IDC_ESTIMATE_EDIT);
  estimate->setFocus();
  estimate->setCursorPosition(4);
  QTest::keyClick(estimate, Qt::Key_Backspace);
  EXPECT_EQ(estimate->text(), "0.9");
  ExpectPausedAtStepZero();
}

TEST_F(Controller, GraphKeyTogglesWhereverTheFocusIs) {
  for (int id : {IDC_SENTENCE_COMBO, IDC_DEGREE_EDIT, IDC_ESTIMATE_EDIT, IDC_RESTART_BUTTON,
                 IDC_SHOW_OUTPUT}) {
    SCOPED_TRACE(id);
    Press(id, Qt::Key_G);
    EXPECT_FALSE(dialog->m_paused);
    EXPECT_FALSE(dialog->m_webView->IsStopped());
    EXPECT_EQ(GraphText(), "Pause");
    Press(id, Qt::Key_G, Qt::ShiftModifier);
    EXPECT_TRUE(dialog->m_paused);
    EXPECT_TRUE(dialog->m_webView->IsStopped());
    EXPECT_EQ(GraphText(), "Graph");
  }
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->text(), "0.30") << "the field swallows the letter";
  EXPECT_EQ(Picker()->currentIndex(), 0);
}

TEST_F(Controller, HeldGraphKeyTogglesOncePerRepeat) {
  QWidget* picker = Item(IDC_SENTENCE_COMBO);
  picker->setFocus();
  for (int repeat = 0; repeat < 3; ++repeat) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, "g", repeat > 0);
    QApplication::sendEvent(picker, &press);
  }
  EXPECT_FALSE(dialog->m_paused) << "three toggles from paused";
  EXPECT_EQ(GraphText(), "Pause");
}

TEST_F(Controller, GraphMnemonicWorksUntilTheButtonTextChanges) {
  Press(IDC_SENTENCE_COMBO, Qt::Key_G, Qt::AltModifier);
  // A mnemonic clicks the button the way a mouse does, with a short press.
  EXPECT_TRUE(WaitFor([&] { return !dialog->m_paused; }, 1000)) << "Alt+G pressed \"&Graph\"";
  EXPECT_EQ(GraphText(), "Pause");
  QTest::keyClick(Picker(), Qt::Key_G, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_FALSE(dialog->m_paused) << "\"Pause\" has no mnemonic";
  EXPECT_EQ(GraphText(), "Pause");
}

TEST_F(Controller, RestartKeyReturnsToStepZeroAndLeavesItPaused) {
  StartRunning();
  Press(IDC_DEGREE_EDIT, Qt::Key_R);
  ExpectPausedAtStepZero();
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->text(), "0.30");
  StartRunning();
  Press(IDC_SENTENCE_COMBO, Qt::Key_R, Qt::ShiftModifier);
  ExpectPausedAtStepZero();
}

TEST_F(Controller, RestartButtonWhilePausedRecomputesAndStaysPaused) {
  StartRunning();
  Press(IDC_GRAPH_BUTTON, Qt::Key_Space);  // pause by the button itself
  ASSERT_TRUE(dialog->m_paused);
  QTest::qWait(kStepIntervalMs + 100);
  ASSERT_GT(WebStep(), 0);
  QTest::mouseClick(Item(IDC_RESTART_BUTTON), Qt::LeftButton);
  ExpectPausedAtStepZero();
}

TEST_F(Controller, OpeningThePickerPausesEvenWithoutAChoice) {
  StartRunning();
  Picker()->showPopup();
  EXPECT_TRUE(dialog->m_paused);
  EXPECT_EQ(GraphText(), "Graph");
  Picker()->hidePopup();
  EXPECT_TRUE(dialog->m_webView->IsStopped());
  EXPECT_EQ(g_selectedSentence, 0);
}

TEST_F(Controller, EnterAndEscapeNeverCloseOrPress) {
  for (int id : {IDC_SENTENCE_COMBO, IDC_DEGREE_EDIT, IDC_ESTIMATE_EDIT, IDC_GRAPH_BUTTON,
                 IDC_RESTART_BUTTON, IDC_SHOW_OUTPUT}) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      SCOPED_TRACE(std::to_string(id) + " key " + std::to_string(key));
      Press(id, key);
      EXPECT_TRUE(dialog->isVisible());
      EXPECT_EQ(GraphText(), "&Graph");
      EXPECT_FALSE(qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->isChecked());
    }
  }
}

TEST_F(Controller, EnterInAValueFieldNormalisesItFirst) {
  QLineEdit* estimate = Field(IDC_ESTIMATE_EDIT);
  estimate->setFocus();
  estimate->setCursorPosition(4);
  QTest::keyClick(estimate, Qt::Key_Backspace);
  QTest::keyClick(estimate, Qt::Key_Backspace);
  ASSERT_EQ(estimate->text(), "0.");
  QTest::keyClick(estimate, Qt::Key_Return);
  EXPECT_EQ(estimate->text(), "0.00");
  EXPECT_EQ(g_enteredEstimate, 0.0f);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(Controller, AboutBoxLeavesTheAnimationRunningBehindIt) {
  qobject_cast<QCheckBox*>(Item(IDC_SHOW_OUTPUT))->setChecked(true);
  StartRunning();
  int stepWhenOpened = -1;
  int stepBeforeClosing = -1;
  QString logBeforeClosing;
  QTimer::singleShot(0, dialog.get(), [&] {
    QWidget* about = nullptr;
    (void)QTest::qWaitFor([&] { return (about = QApplication::activeModalWidget()) != nullptr; },
                          HangBoundMs(2000));
    stepWhenOpened = SeriesStep();
    (void)QTest::qWaitFor([&] { return SeriesStep() >= stepWhenOpened + 2; },
                          HangBoundMs(10 * kStepIntervalMs));
    stepBeforeClosing = SeriesStep();
    logBeforeClosing = Log();
    if (about != nullptr) {
      QTest::keyClick(about, Qt::Key_Return);
    }
  });
  dialog->OnSysCommand(IDM_ABOUTBOX, 0);  // the real modal About box
  EXPECT_GE(stepBeforeClosing, stepWhenOpened + 2) << "diagrams go on behind the box";
  // The counter moves before its step is logged: the entry before it is there.
  EXPECT_TRUE(
      logBeforeClosing.contains(QString("x[%1]").arg(stepBeforeClosing - 1, 2, 10, QChar('0'))))
      << logBeforeClosing.toStdString();
  EXPECT_FALSE(dialog->m_paused);
  EXPECT_EQ(GraphText(), "Pause");
}

TEST_F(Controller, ClosingWhileTheAnimationRunsEndsTheWorkersAtOnce) {
  StartRunning();
  QTimer::singleShot(0, dialog.get(), [&] { dialog->OnSysCommand(SC_CLOSE, 0); });
  EXPECT_EQ(dialog->exec(), IDCANCEL);
  const auto before = std::chrono::steady_clock::now();
  dialog.reset();
  const auto took = std::chrono::steady_clock::now() - before;
  EXPECT_LT(took, HangBound(kWorkersEnd))
      << "hang check: the workers took "
      << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms to end";
  EXPECT_EQ(g_notifyWnd.load(), nullptr);
}

}  // namespace
