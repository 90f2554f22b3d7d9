#include "monkey.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>

#include "core/layout/resource.h"
#include "core/numbers/sentence.h"
#include "core/numbers/series.h"
#include "desktop/animation/animation_worker.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/sentence_dlg.h"
#include "event_loop_wait.h"
#include "monkey_invariants.h"

namespace {

struct KeyStroke {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  char character;  // nonzero: sent as this character
};

// What a person's fingers may do anywhere in the window. Ctrl+V and the like
// reach a value field as control characters; Alt+G is the button's mnemonic
// while it still reads "&Graph".
const std::array kKeys = {
    KeyStroke{"0", Qt::Key_0, {}, '0'},
    KeyStroke{"1", Qt::Key_1, {}, '1'},
    KeyStroke{"2", Qt::Key_2, {}, '2'},
    KeyStroke{"3", Qt::Key_3, {}, '3'},
    KeyStroke{"4", Qt::Key_4, {}, '4'},
    KeyStroke{"5", Qt::Key_5, {}, '5'},
    KeyStroke{"6", Qt::Key_6, {}, '6'},
    KeyStroke{"7", Qt::Key_7, {}, '7'},
    KeyStroke{"8", Qt::Key_8, {}, '8'},
    KeyStroke{"9", Qt::Key_9, {}, '9'},
    KeyStroke{".", Qt::Key_Period, {}, '.'},
    KeyStroke{".", Qt::Key_Period, {}, '.'},
    KeyStroke{",", Qt::Key_Comma, {}, ','},
    KeyStroke{"-", Qt::Key_Minus, {}, '-'},
    KeyStroke{"e", Qt::Key_E, {}, 'e'},
    KeyStroke{"Space", Qt::Key_Space, {}, ' '},
    KeyStroke{"Backspace", Qt::Key_Backspace, {}, 0},
    KeyStroke{"Backspace", Qt::Key_Backspace, {}, 0},
    KeyStroke{"Delete", Qt::Key_Delete, {}, 0},
    KeyStroke{"Delete", Qt::Key_Delete, {}, 0},
    KeyStroke{"Return", Qt::Key_Return, {}, 0},
    KeyStroke{"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, 0},
    KeyStroke{"Escape", Qt::Key_Escape, {}, 0},
    KeyStroke{"g", Qt::Key_G, {}, 'g'},
    KeyStroke{"G", Qt::Key_G, Qt::ShiftModifier, 'G'},
    KeyStroke{"g", Qt::Key_G, {}, 'g'},
    KeyStroke{"r", Qt::Key_R, {}, 'r'},
    KeyStroke{"R", Qt::Key_R, Qt::ShiftModifier, 'R'},
    KeyStroke{"Alt+G", Qt::Key_G, Qt::AltModifier, 0},
    KeyStroke{"Left", Qt::Key_Left, {}, 0},
    KeyStroke{"Right", Qt::Key_Right, {}, 0},
    KeyStroke{"Up", Qt::Key_Up, {}, 0},
    KeyStroke{"Down", Qt::Key_Down, {}, 0},
    KeyStroke{"Home", Qt::Key_Home, {}, 0},
    KeyStroke{"End", Qt::Key_End, {}, 0},
    KeyStroke{"Shift+Left", Qt::Key_Left, Qt::ShiftModifier, 0},
    KeyStroke{"Shift+Right", Qt::Key_Right, Qt::ShiftModifier, 0},
    KeyStroke{"Shift+Home", Qt::Key_Home, Qt::ShiftModifier, 0},
    KeyStroke{"Shift+End", Qt::Key_End, Qt::ShiftModifier, 0},
    KeyStroke{"Tab", Qt::Key_Tab, {}, 0},
    KeyStroke{"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, 0},
    KeyStroke{"Ctrl+V", Qt::Key_V, Qt::ControlModifier, 0},
    KeyStroke{"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, 0},
    KeyStroke{"Ctrl+X", Qt::Key_X, Qt::ControlModifier, 0},
    KeyStroke{"Ctrl+A", Qt::Key_A, Qt::ControlModifier, 0},
};

// Texts a person might paste: numbers in every spelling the C library reads,
// texts longer than the field, other scripts' digits, and plain rubbish.
const std::array kClips = {
    "0.5",    "0.123", "9999",  "-5",    "abc", "1e30",  "1e-9",    "0x10", "nan",
    "inf",    "-0",    " 0.5",  "0,75",  "1.",  ".5",    "",        "?",    "0.5\n",
    "１",     "٣",     "1.00",  "0.99",  "2",   "1e308", "-1e-300", "0.0",  "12345678901234",
    "0.5abc", "+0.5",  "\t0.3", "00.50", "1.5", "-.5",   "0x1p-2",  "..",   "€"};

const char* const kFieldNames[] = {"degree field", "estimate field"};
const int kFieldIds[] = {IDC_DEGREE_EDIT, IDC_ESTIMATE_EDIT};

std::string Text(const QString& text) {
  return text.toStdString();
}

// Closes whatever popup or modal window an action opened, from inside its
// event loop: menus with Escape, the About box through its own close.
void DismissPopupsAndModals() {
  for (int i = 0; i < 5; ++i) {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      QTest::keyClick(popup, Qt::Key_Escape);
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      QTest::keyClick(modal, Qt::Key_Escape);
    }
  }
}

}  // namespace

Monkey::Monkey(CSentenceDlg& dialog, std::uint32_t seed) : m_dialog(dialog), m_random(seed) {}

QWidget* Monkey::Item(int id) const {
  return m_dialog.GetDlgItem(id);
}

QWidget* Monkey::FocusTarget() const {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && focus->window() == &m_dialog ? focus : &m_dialog;
}

// The monkey waits in the event loop, not with QTest::qWait, which sleeps
// between its looks: the loop takes each worker's call the moment it comes,
// as the application's own loop does.
constexpr int kMonkeyPollMs = 2;

void Monkey::Settle(int ms) const {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (ms > 0) {
    RunEventLoopUntil([] { return false; }, ms, kMonkeyPollMs);
  }
}

std::string Monkey::Act() {
  // Weights: keys most, then pastes, clicks and pauses; the slow or nested
  // actions rarely.
  static constexpr int kWeights[kKinds] = {235, 45, 45, 28, 15, 50, 55, 10, 2, 15};
  int pick = Draw(500);
  int kind = 0;
  while (pick >= kWeights[kind]) {
    pick -= kWeights[kind];
    ++kind;
  }
  ++m_counts[kind];
  std::string done;
  switch (kind) {
    case 0:
      done = TypeKey();
      break;
    case 1:
      done = ClickButton();
      break;
    case 2:
      done = ClickField();
      break;
    case 3:
      done = PickerKeys();
      break;
    case 4:
      done = PickerPopup();
      break;
    case 5:
      done = Paste();
      break;
    case 6:
      done = Wait();
      break;
    case 7:
      done = WindowMenu();
      break;
    case 8:
      done = RunToTheEnd();
      break;
    default:
      done = HoldKey();
      break;
  }
  Settle(0);
  if (QWidget* popup = QApplication::activePopupWidget()) {
    // A key opened the picker's list (Space, Alt+Down): a person closes it
    // before going on.
    QTest::keyClick(popup, Qt::Key_Escape);
    Settle(0);
    done += ", list closed";
  }
  if (QApplication::activeWindow() != &m_dialog) {
    // With no window manager on the test display, nobody activates the main
    // window again when a window of its own (the About box) closes; a
    // desktop does.
    m_dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&m_dialog, 2000)) {
      done += ", window not active again";
    }
  }
  return done;
}

std::string Monkey::Tally() const {
  static const char* const kNames[kKinds] = {
      "keys",   "button clicks", "field clicks", "picker keys",     "picker lists",
      "pastes", "pauses",        "window menus", "runs to the end", "held keys"};
  std::string tally;
  for (int i = 0; i < kKinds; ++i) {
    tally += std::string(i > 0 ? ", " : "") + kNames[i] + " " + std::to_string(m_counts[i]);
  }
  return tally;
}

std::string Monkey::TypeKey() {
  const KeyStroke& stroke = kKeys[static_cast<std::size_t>(Draw(kKeys.size()))];
  QWidget* target = FocusTarget();
  if (stroke.character != 0) {
    QTest::keyClick(target, stroke.character, stroke.modifiers);
  } else {
    QTest::keyClick(target, stroke.key, stroke.modifiers);
  }
  return std::string("key ") + stroke.name + " in " + target->metaObject()->className();
}

std::string Monkey::HoldKey() {
  // A key held down: the desktop repeats its press, marked as a repeat, as
  // fast as the events come; every repeat counts.
  static const KeyStroke kHeld[] = {{"g", Qt::Key_G, {}, 'g'},
                                    {"r", Qt::Key_R, {}, 'r'},
                                    {"Backspace", Qt::Key_Backspace, {}, 0},
                                    {"Delete", Qt::Key_Delete, {}, 0},
                                    {"5", Qt::Key_5, {}, '5'},
                                    {".", Qt::Key_Period, {}, '.'},
                                    {"Right", Qt::Key_Right, {}, 0},
                                    {"Down", Qt::Key_Down, {}, 0}};
  const KeyStroke& stroke = kHeld[Draw(8)];
  const int repeats = 2 + Draw(40);
  QWidget* target = FocusTarget();
  const QString text = stroke.character != 0 ? QString(QChar(stroke.character)) : QString();
  for (int i = 0; i < repeats; ++i) {
    QTest::simulateEvent(target, true, stroke.key, stroke.modifiers, text, i > 0);
    if (i + 1 < repeats) {
      QTest::simulateEvent(target, false, stroke.key, stroke.modifiers, text, true);
    }
  }
  QTest::simulateEvent(target, false, stroke.key, stroke.modifiers, text, false);
  return std::string("hold ") + stroke.name + " for " + std::to_string(repeats) + " presses in " +
         target->metaObject()->className();
}

std::string Monkey::ClickButton() {
  static const int kButtons[] = {IDC_GRAPH_BUTTON, IDC_GRAPH_BUTTON, IDC_RESTART_BUTTON,
                                 IDC_SHOW_OUTPUT};
  static const char* const kNames[] = {"Graph", "Graph", "Restart", "Show Output"};
  const int which = Draw(4);
  QWidget* button = Item(kButtons[which]);
  QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
  return std::string("click ") + kNames[which];
}

std::string Monkey::ClickField() {
  const int which = Draw(2);
  const int x = Draw(64);
  const bool twice = Draw(4) == 0;
  auto* field = qobject_cast<QLineEdit*>(Item(kFieldIds[which]));
  const QPoint at(std::min(x, field->width() - 1), field->height() / 2);
  if (twice) {
    QTest::mouseDClick(field, Qt::LeftButton, {}, at);
  } else {
    QTest::mouseClick(field, Qt::LeftButton, {}, at);
  }
  return std::string(twice ? "double-click " : "click ") + kFieldNames[which] + " at x " +
         std::to_string(at.x());
}

std::string Monkey::PickerKeys() {
  static const Qt::Key kMoves[] = {Qt::Key_Up,   Qt::Key_Down, Qt::Key_Down,
                                   Qt::Key_Home, Qt::Key_End,  Qt::Key_PageDown};
  static const char* const kNames[] = {"Up", "Down", "Down", "Home", "End", "PageDown"};
  const int move = Draw(6);
  QWidget* picker = Item(IDC_SENTENCE_COMBO);
  picker->setFocus(Qt::TabFocusReason);
  QTest::keyClick(picker, kMoves[move]);
  return std::string("picker key ") + kNames[move];
}

std::string Monkey::PickerPopup() {
  const int downs = Draw(11);
  const bool choose = Draw(3) != 0;
  auto* picker = qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO));
  QTest::mouseClick(picker, Qt::LeftButton, {}, picker->rect().center());
  Settle(0);
  QWidget* list = picker->view();
  if (list->isVisible()) {
    for (int i = 0; i < downs; ++i) {
      QTest::keyClick(list, Qt::Key_Down);
    }
    QTest::keyClick(list, choose ? Qt::Key_Return : Qt::Key_Escape);
  }
  Settle(0);
  if (list->isVisible()) {
    picker->hidePopup();
    return "picker list: did not close";
  }
  return "picker list, " + std::to_string(downs) + " down, " + (choose ? "chosen" : "escaped");
}

std::string Monkey::RandomClipboardText() {
  if (Draw(3) == 0) {
    return kClips[static_cast<std::size_t>(Draw(kClips.size()))];
  }
  static const char kAlphabet[] = "0123456789...--+eE?x ,a";
  const int length = Draw(9);
  std::string text;
  for (int i = 0; i < length; ++i) {
    text += kAlphabet[Draw(sizeof kAlphabet - 1)];
  }
  return text;
}

std::string Monkey::Paste() {
  const int which = Draw(2);
  const int selection = Draw(3);  // none, all, from the caret to the start
  const int path = Draw(3);       // Shift+Insert twice as often as the menu
  const std::string clip = RandomClipboardText();
  auto* field = qobject_cast<QLineEdit*>(Item(kFieldIds[which]));
  if (!field->isEnabled()) {
    return std::string("no paste: ") + kFieldNames[which] + " disabled";
  }
  QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 2, field->height() / 2));
  if (!field->hasFocus()) {
    // Another program's window took the activation: a person's paste would
    // go nowhere.
    return std::string("no paste: ") + kFieldNames[which] + " did not take the focus";
  }
  if (selection == 1) {
    field->selectAll();
  } else if (selection == 2) {
    QTest::keyClick(field, Qt::Key_Home, Qt::ShiftModifier);
  }
  QGuiApplication::clipboard()->setText(QString::fromStdString(clip));
  if (path < 2) {
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
  } else {
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2),
                              field->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(field, &request);
    Settle(0);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      return "paste: the field's menu did not open";
    }
    for (QAction* action : menu->actions()) {
      if (action->objectName() == QLatin1String("edit-paste") ||
          action->text().startsWith(QCoreApplication::translate("QLineEdit", "&Paste"))) {
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        break;
      }
    }
    if (QApplication::activePopupWidget() == menu) {
      menu->close();
    }
  }
  static const char* const kSelections[] = {"", " over all", " over the start"};
  return "paste \"" + clip + "\"" + kSelections[selection] + " into " + kFieldNames[which] +
         (path < 2 ? " with Shift+Insert" : " from its menu");
}

std::string Monkey::Wait() {
  const int ms = 1 + Draw(40);
  Settle(ms);
  return "wait " + std::to_string(ms) + " ms";
}

std::string Monkey::WindowMenu() {
  const bool about = Draw(2) == 0;
  // The window menu runs its own event loop, and the About box another one
  // inside it: both are answered from timers, as a person would answer them.
  QTimer chooser;
  chooser.setSingleShot(true);
  QObject::connect(&chooser, &QTimer::timeout, [about] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      QTest::keyClick(menu, about ? Qt::Key_A : Qt::Key_Escape);
    }
  });
  QTimer janitor;
  QObject::connect(&janitor, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      QTest::keyClick(modal, Qt::Key_Escape);
    }
  });
  chooser.start(20);
  janitor.start(60);
  QWidget* button = Item(IDC_RESTART_BUTTON);
  button->setFocus(Qt::TabFocusReason);
  QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
  Settle(0);
  janitor.stop();
  DismissPopupsAndModals();
  return about ? "window menu, About, dismissed" : "window menu, escaped";
}

std::string Monkey::RunToTheEnd() {
  if (m_dialog.m_paused) {
    return "no run to the end: paused";
  }
  const auto started = std::chrono::steady_clock::now();
  const int from = m_dialog.m_webView->m_stepCounter.load();
  const bool reached = RunEventLoopUntil(
      [this] {
        return m_dialog.m_webView->m_stepCounter.load() >= kSeriesLength &&
               m_dialog.m_seriesView->m_stepCounter.load() >= kSeriesLength;
      },
      30000, kMonkeyPollMs);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  return (reached ? "run to the end from step " : "run to the end: not reached from step ") +
         std::to_string(from) + " in " + std::to_string(took.count()) + " ms";
}

std::string Monkey::Check() const {
  std::string problem;
  const auto fail = [&problem](const std::string& found) {
    if (problem.empty()) {
      problem = found;
    }
  };
  if (!m_dialog.isVisible()) {
    return "the window is no longer open";
  }
  if (QWidget* modal = QApplication::activeModalWidget()) {
    return std::string("a modal window is left open: ") + modal->metaObject()->className();
  }
  if (QWidget* popup = QApplication::activePopupWidget()) {
    return std::string("a popup is left open: ") + popup->metaObject()->className();
  }
  fail(CheckStepCount("web view", m_dialog.m_webView->m_stepCounter.load()));
  fail(CheckStepCount("time-series view", m_dialog.m_seriesView->m_stepCounter.load()));
  for (int i = 0; i < 2; ++i) {
    const auto* field = qobject_cast<const QLineEdit*>(Item(kFieldIds[i]));
    if (!field->hasFocus()) {
      fail(CheckFieldAtRest(kFieldNames[i], Text(field->text())));
    }
  }
  std::string formula;
  FormatFormula(formula);
  fail(CheckLog(Text(qobject_cast<const QLabel*>(Item(IDC_OUTPUT))->text()), formula, g_series));

  // The model holds what the window shows.
  const auto* picker = qobject_cast<const QComboBox*>(Item(IDC_SENTENCE_COMBO));
  if (picker->currentIndex() != g_selectedSentence || g_runParams.sentence != g_selectedSentence) {
    fail("the picker shows sentence " + std::to_string(picker->currentIndex()) +
         ", the run is of " + std::to_string(g_runParams.sentence));
  }
  const auto* degree = qobject_cast<const CUnitEdit*>(Item(IDC_DEGREE_EDIT));
  const auto* estimate = qobject_cast<const CUnitEdit*>(Item(IDC_ESTIMATE_EDIT));
  const auto same = [](float a, float b) { return a == b || (a != a && b != b); };
  if (!same(g_runParams.degree, static_cast<float>(degree->GetValue())) ||
      !same(g_runParams.estimate, static_cast<float>(estimate->GetValue()))) {
    fail("the fields read " + Text(degree->text()) + " and " + Text(estimate->text()) +
         ", the run has k = " + std::to_string(g_runParams.degree) +
         " and x0 = " + std::to_string(g_runParams.estimate));
  }
  std::string caption;
  for (int i = 0; i < picker->count(); ++i) {
    FormatSentenceCaption(caption, i);
    if (Text(picker->itemText(i)) != caption) {
      fail("picker item " + std::to_string(i) + " reads \"" + Text(picker->itemText(i)) + "\"");
    }
  }
  const bool falseSentence =
      g_selectedSentence == 1 || g_selectedSentence == 4 || g_selectedSentence == 5;
  if (Text(qobject_cast<const QLabel*>(Item(IDC_TRUTH_WORD))->text()) !=
      (falseSentence ? "false" : "true")) {
    fail("the truth word does not fit sentence " + std::to_string(g_selectedSentence));
  }
  if (degree->isEnabled() != (g_selectedSentence >= 0 && g_selectedSentence <= 5)) {
    fail("the degree field's enabled state does not fit the sentence");
  }
  // The controller's state, its button and the workers' stop flag agree.
  const std::string button = Text(qobject_cast<const QPushButton*>(Item(IDC_GRAPH_BUTTON))->text());
  if (m_dialog.m_paused ? button == "Pause" : button != "Pause") {
    fail("the button reads \"" + button + "\" while " + (m_dialog.m_paused ? "paused" : "running"));
  }
  if (m_dialog.m_paused != m_dialog.m_webView->IsStopped()) {
    fail(m_dialog.m_paused ? "paused, but the workers were not told to stop"
                           : "running, but the workers were told to stop");
  }
  return problem;
}
