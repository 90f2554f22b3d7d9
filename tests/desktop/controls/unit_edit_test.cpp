#include "desktop/controls/unit_edit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "desktop/controls/pretranslate.h"
#include "keystroke_cases.h"

namespace {

// The window around the field, standing in for the dialog: it sees key
// presses after the field and consumes Enter, as the main window does.
class OwnerWindow : public QWidget, public CPreTranslate {
 public:
  bool PreTranslateMessage(QKeyEvent* keyDown) override {
    seenKeys.push_back(keyDown->key());
    if (field != nullptr) {
      textsWhenSeen.push_back(field->text());
    }
    const bool enter = keyDown->key() == Qt::Key_Return || keyDown->key() == Qt::Key_Enter;
    return enter && consumeEnter;
  }

  CUnitEdit* field = nullptr;
  bool consumeEnter = true;
  std::vector<int> seenKeys;
  std::vector<QString> textsWhenSeen;
};

// What the owner sees when it is told of a change.
struct Notice {
  QString text;
  int caret;
};

class UnitEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(320, 120);
    field = new CUnitEdit(&window);
    field->setGeometry(10, 10, 120, 26);
    other = new QLineEdit(&window);
    other->setGeometry(10, 60, 120, 26);
    window.field = field;
    QObject::connect(field, &CUnitEdit::changed, field, [this] {
      notices.push_back({field->text(), field->cursorPosition()});
    });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return field->hasFocus(); }));
  }

  // Puts a text and selection into the field as a paste would: no rule runs.
  void Prepare(const QString& text, int start, int end) {
    field->setText(text);
    if (start == end) {
      field->setCursorPosition(start);
    } else {
      field->setSelection(start, end - start);
    }
    notices.clear();
    window.seenKeys.clear();
    window.textsWhenSeen.clear();
  }

  void Type(unsigned character) {
    if (character == kBackspace) {
      QTest::keyClick(field, Qt::Key_Backspace);
    } else if (character == kEscape) {
      QTest::keyClick(field, Qt::Key_Escape);
    } else if (character >= 1 && character <= 26) {
      QTest::keyClick(field, static_cast<Qt::Key>(Qt::Key_A + static_cast<int>(character) - 1),
                      Qt::ControlModifier);
    } else {
      QTest::keyClick(field, static_cast<char>(character));
    }
  }

  std::vector<QString> NoticeTexts() const {
    std::vector<QString> texts;
    for (const auto& n : notices) {
      texts.push_back(n.text);
    }
    return texts;
  }

  // The field's text, and its caret (or, where `caret` is negative, the
  // selection it kept).
  void ExpectField(const char* after, int caret, int start, int end, const char* name) {
    EXPECT_EQ(field->text(), QString::fromLatin1(after)) << name;
    if (caret >= 0) {
      EXPECT_FALSE(field->hasSelectedText()) << name;
      EXPECT_EQ(field->cursorPosition(), caret) << name;
    } else {
      EXPECT_EQ(field->selectionStart(), start) << name;
      EXPECT_EQ(field->selectionEnd(), end) << name;
    }
  }

  void ExpectTyped(const KeystrokeCase& c) {
    Prepare(QString::fromLatin1(c.before), c.start, c.end);
    Type(c.character);
    ExpectField(c.after, c.caret, c.start, c.end, c.name);
    ASSERT_EQ(static_cast<int>(notices.size()), c.notifications) << c.name;
    const std::set<int> rowsThatSetAText = {1, 3, 5, 6, 7, 9, 10, 13, 15, 18, 19};
    if (c.notifications == 1 && rowsThatSetAText.count(c.row) == 1) {
      // The owner runs inside the field's operation, before the caret is placed.
      EXPECT_EQ(notices[0].text, QString::fromLatin1(c.after)) << c.name;
      EXPECT_EQ(notices[0].caret, 0) << c.name;
    }
  }

  // Declared first so that it outlives the window: closing a window whose
  // field holds the focus still normalises and notifies.
  std::vector<Notice> notices;
  OwnerWindow window;
  CUnitEdit* field = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(UnitEditTest, EveryRowTypedIntoTheField) {
  for (const auto& c : RowCases()) {
    ExpectTyped(c);
  }
}

TEST_F(UnitEditTest, WorkedKeystrokesTypedIntoTheField) {
  for (const auto& c : WorkedCases()) {
    ExpectTyped(c);
  }
}

TEST_F(UnitEditTest, NotificationsFollowEachChangeInOrder) {
  Prepare("", 0, 0);
  for (const unsigned c : {unsigned{'5'}, unsigned{'7'}, kBackspace, kBackspace, kBackspace,
                           unsigned{'.'}, unsigned{'3'}}) {
    Type(c);
  }
  QTest::keyClick(field, Qt::Key_Return);
  const std::vector<QString> expected = {"0.5", "0.57", "0.5", "0.", "", "0.", "0.3", "0.30"};
  EXPECT_EQ(NoticeTexts(), expected);
  EXPECT_EQ(field->cursorPosition(), 4);
}

// Qt puts the cursor at the end of a new text; the rules rely on the start.
TEST_F(UnitEditTest, SettingATextLeavesTheCaretAtTheStart) {
  Prepare("0.30", 0, 1);
  Type('1');
  EXPECT_EQ(field->text(), "1.00");
  EXPECT_EQ(field->cursorPosition(), 0);
  Type('7');
  EXPECT_EQ(field->text(), "1.00") << "with the caret before the point nothing is typed";
  EXPECT_EQ(notices.size(), 1u);
}

// Qt reports no change when a text equals the old one; the owner must hear of
// every text the field sets.
TEST_F(UnitEditTest, EveryTextSetIsReportedEvenWhenUnchanged) {
  field->SetValue(0.3f);
  field->SetValue(0.3f);
  EXPECT_EQ(NoticeTexts(), (std::vector<QString>{"0.30", "0.30"}));

  Prepare("0.30", 4, 4);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"0.30"}) << "Enter";

  Prepare("0.30", 2, 2);
  other->setFocus();
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"0.30"}) << "leaving the field";

  field->setFocus();
  Prepare("0.30", 0, 1);
  Type(kBackspace);
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"0.30"}) << "replace giving the same text";
}

// Qt's maximum length cuts the text already there; the field's limit only
// stops further input.
TEST_F(UnitEditTest, TheLimitStopsInputButKeepsALongerText) {
  Prepare("0.12345", 7, 7);
  Type('9');
  EXPECT_EQ(field->text(), "0.12345");
  EXPECT_TRUE(notices.empty());
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.12);
  Type(kBackspace);
  EXPECT_EQ(field->text(), "0.1234") << "default backspace still deletes";
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.12");
}

TEST_F(UnitEditTest, CtrlShortcutsArriveAsCharactersAndAreSwallowed) {
  int windowPastes = 0;
  QAction windowPaste(&window);
  windowPaste.setShortcut(QKeySequence::Paste);
  windowPaste.setShortcutContext(Qt::WindowShortcut);
  window.addAction(&windowPaste);
  QObject::connect(&windowPaste, &QAction::triggered, [&] { ++windowPastes; });
  // A window shortcut that Qt's line edit would let through: in the field it
  // is a typed character like any other Ctrl key.
  int windowCommands = 0;
  QAction windowCommand(&window);
  windowCommand.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  window.addAction(&windowCommand);
  QObject::connect(&windowCommand, &QAction::triggered, [&] { ++windowCommands; });
  QGuiApplication::clipboard()->setText("0.99");

  struct ShortcutCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
  };
  const ShortcutCase cases[] = {
      {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
      {"Ctrl+X", Qt::Key_X, Qt::ControlModifier},
      {"Ctrl+C", Qt::Key_C, Qt::ControlModifier},
      {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier},
      {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
      {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier},
      {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},
      {"Ctrl+Backspace", Qt::Key_Backspace, Qt::ControlModifier},
      {"Ctrl+K", Qt::Key_K, Qt::ControlModifier},
      {"Ctrl+G", Qt::Key_G, Qt::ControlModifier},
  };
  for (const auto& c : cases) {
    for (const auto& [start, end] : {std::pair{4, 4}, std::pair{2, 4}}) {
      Prepare("0.30", start, end);
      QTest::keyClick(field, static_cast<Qt::Key>(c.key), c.modifiers);
      EXPECT_EQ(field->text(), "0.30") << c.name;
      EXPECT_EQ(field->selectionStart(), start == end ? -1 : start) << c.name;
      EXPECT_EQ(field->cursorPosition(), end) << c.name;
      EXPECT_TRUE(notices.empty()) << c.name;
    }
  }
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.99") << "nothing was cut or copied";
  EXPECT_EQ(windowPastes, 0) << "the window's shortcut never saw Ctrl+V";
  EXPECT_EQ(windowCommands, 0) << "nor Ctrl+G";

  Prepare("0.3", 3, 3);
  Type('5');
  QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(field->text(), "0.35") << "Ctrl+Z undoes nothing";
}

TEST_F(UnitEditTest, ShiftInsertPastesUnfilteredAndCutOnlyOnceTheLimitIsSet) {
  QGuiApplication::clipboard()->setText("0.123");
  Prepare("", 0, 0);
  QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(field->text(), "0.123") << "no keystroke has set the limit yet";
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"0.123"});
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.12);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.12");

  Type('a');  // swallowed, but the limit is now in force
  Prepare("0.30", 0, 4);
  QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(field->text(), "0.12");

  struct PasteCase {
    const char* clip;
    double reads;
    const char* normalised;
  };
  const PasteCase cases[] = {
      {"abc", 0.0, "0.00"}, {"-5", -5.0, "?"}, {"9999", 9999.0, "1.00"},
      {"nan", 0.0, "?"},    {"2e5", 2e5, "?"},
  };
  for (const auto& c : cases) {
    QGuiApplication::clipboard()->setText(c.clip);
    Prepare("0.30", 0, 4);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), c.clip);
    EXPECT_DOUBLE_EQ(field->GetValue(), c.reads) << c.clip;
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), c.normalised) << c.clip;
  }
}

TEST_F(UnitEditTest, ContextMenuPastesBeforeAndAfterTheFirstKeystroke) {
  const auto pasteFromMenu = [this] {
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &request);
    QMenu* menu = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
      menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu != nullptr;
    }));
    if (menu == nullptr) {
      return;
    }
    EXPECT_EQ(notices.size(), 0u) << "the menu taking the focus normalises nothing";
    for (QAction* action : menu->actions()) {
      EXPECT_FALSE(action->text().contains('\t')) << "no shortcut the field swallows is offered";
      if (action->text() == "&Paste") {
        action->trigger();
      }
    }
    menu->close();
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
  };

  QGuiApplication::clipboard()->setText("0.123");
  Prepare("0.5", 3, 3);
  pasteFromMenu();
  EXPECT_EQ(field->text(), "0.50.123") << "unfiltered, and no limit before the first keystroke";

  Type('a');
  QGuiApplication::clipboard()->setText("abcdef");
  Prepare("0.5", 0, 3);
  pasteFromMenu();
  EXPECT_EQ(field->text(), "abcd") << "unfiltered, cut to the limit";
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"abcd"});
}

TEST_F(UnitEditTest, InputMethodCommitsAreTypedOneCharacterAtATime) {
  Prepare("", 0, 0);
  QInputMethodEvent commit(QString(), {});
  commit.setCommitString("57x");
  QApplication::sendEvent(field, &commit);
  EXPECT_EQ(field->text(), "0.57");
  EXPECT_EQ(field->cursorPosition(), 4);
  EXPECT_EQ(NoticeTexts(), (std::vector<QString>{"0.5", "0.57"}));

  Prepare("0.30", 0, 0);
  QInputMethodEvent beforePoint(QString(), {});
  beforePoint.setCommitString("9");
  QApplication::sendEvent(field, &beforePoint);
  EXPECT_EQ(field->text(), "0.30");
  EXPECT_TRUE(notices.empty());
}

TEST_F(UnitEditTest, KeysThatTypeNothingMoveAndSelectAsUsual) {
  struct MoveCase {
    const char* name;
    int start;
    int end;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int selectionStart;  // -1: no selection
    int cursor;
  };
  const MoveCase cases[] = {
      {"left", 4, 4, Qt::Key_Left, Qt::NoModifier, -1, 3},
      {"right", 2, 2, Qt::Key_Right, Qt::NoModifier, -1, 3},
      {"home", 4, 4, Qt::Key_Home, Qt::NoModifier, -1, 0},
      {"end", 0, 0, Qt::Key_End, Qt::NoModifier, -1, 4},
      {"shift+end", 0, 0, Qt::Key_End, Qt::ShiftModifier, 0, 4},
      {"shift+left", 4, 4, Qt::Key_Left, Qt::ShiftModifier, 3, 3},
      {"shift+home", 4, 4, Qt::Key_Home, Qt::ShiftModifier, 0, 0},
      {"left drops a selection", 2, 4, Qt::Key_Left, Qt::NoModifier, -1, 2},
  };
  for (const auto& c : cases) {
    Prepare("0.30", c.start, c.end);
    QTest::keyClick(field, c.key, c.modifiers);
    EXPECT_EQ(field->text(), "0.30") << c.name;
    EXPECT_EQ(field->selectionStart(), c.selectionStart) << c.name;
    EXPECT_EQ(field->cursorPosition(), c.cursor) << c.name;
    EXPECT_TRUE(notices.empty()) << c.name;
  }
}

TEST_F(UnitEditTest, EnterNormalisesThenGoesOnToTheWindow) {
  Prepare("0.5", 3, 3);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.50");
  EXPECT_EQ(field->cursorPosition(), 4);
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"0.50"});
  ASSERT_EQ(window.seenKeys, std::vector<int>{Qt::Key_Return});
  EXPECT_EQ(window.textsWhenSeen, std::vector<QString>{"0.50"}) << "the field acted first";

  window.consumeEnter = false;
  Prepare("", 0, 0);
  QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(field->text(), "0.00");
  EXPECT_EQ(field->cursorPosition(), 4);
  EXPECT_EQ(notices.size(), 1u) << "the Enter character that follows is swallowed";
}

TEST_F(UnitEditTest, DeleteAtEachSelection) {
  struct DeleteCase {
    const char* name;
    const char* before;
    int start;
    int end;
    const char* after;
    bool reachesWindow;
  };
  const DeleteCase cases[] = {
      {"whole text", "0.30", 0, 4, "", true},
      {"empty field", "", 0, 0, "", true},
      {"caret at 0", "0.30", 0, 0, "0.30", false},
      {"from 0, not all", "0.30", 0, 2, "0.30", false},
      {"caret at 1", "0.30", 1, 1, "0.30", false},
      {"from 1", "0.30", 1, 3, "0.30", false},
      {"caret at 2", "0.30", 2, 2, "0.0", true},
      {"decimals", "0.30", 2, 4, "0.", true},
      {"caret at the end", "0.30", 4, 4, "0.30", true},
  };
  for (const auto& c : cases) {
    Prepare(c.before, c.start, c.end);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), c.after) << c.name;
    const bool changed = QString::fromLatin1(c.before) != QString::fromLatin1(c.after);
    EXPECT_EQ(notices.size(), changed ? 1u : 0u) << c.name;
    EXPECT_EQ(!window.seenKeys.empty(), c.reachesWindow) << c.name;
  }

  Prepare("1.00", 2, 2);
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClick(field, Qt::Key_Delete);
  EXPECT_EQ(field->text(), "1.");
  Type('5');
  EXPECT_EQ(field->text(), "1.5");
  EXPECT_DOUBLE_EQ(field->GetValue(), 1.5);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.10");
}

// The table the rules run, through the real field: the Delete key, Return,
// the focus going to the other field, Shift+Insert. The cases with no limit
// come first, while no keystroke has set it yet.
TEST_F(UnitEditTest, DeleteEnterLeaveAndPasteFromTheSharedTable) {
  std::vector<FieldEventCase> cases = FieldEventCases();
  std::stable_partition(cases.begin(), cases.end(), [](const auto& c) { return !c.limitSet; });
  for (const auto& c : cases) {
    if (c.limitSet) {
      Type('a');  // swallowed everywhere, but it sets the limit
    }
    field->setFocus();
    Prepare(QString::fromLatin1(c.before), c.start, c.end);
    switch (c.kind) {
      case FieldEventCaseKind::kDelete:
        QTest::keyClick(field, Qt::Key_Delete);
        break;
      case FieldEventCaseKind::kEnter:
        QTest::keyClick(field, Qt::Key_Return);
        break;
      case FieldEventCaseKind::kLeave:
        other->setFocus();
        break;
      case FieldEventCaseKind::kPaste:
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    }
    ExpectField(c.after, c.caret, c.start, c.end, c.name);
    EXPECT_EQ(static_cast<int>(notices.size()), c.notifications) << c.name;
    if (c.kind == FieldEventCaseKind::kDelete || c.kind == FieldEventCaseKind::kEnter) {
      EXPECT_EQ(window.seenKeys.empty(), c.consumed) << c.name;
    }
  }
}

// A pasted character outside ASCII stays itself in the field; the rules see
// it as one that is no part of a number.
TEST_F(UnitEditTest, PastedForeignCharactersStayThemselves) {
  Type('a');
  QGuiApplication::clipboard()->setText(QStringLiteral("\u00e95"));
  Prepare("0.30", 2, 4);
  QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(field->text(), QStringLiteral("0.\u00e95"));
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.0);
  Type(kBackspace);
  EXPECT_EQ(field->text(), QStringLiteral("0.\u00e9"));
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.00");
}

TEST_F(UnitEditTest, LeavingTheFieldNormalisesAndNotifies) {
  Prepare("0.5", 3, 3);
  QTest::keyClick(field, Qt::Key_Tab);
  ASSERT_TRUE(other->hasFocus());
  EXPECT_EQ(field->text(), "0.50");
  EXPECT_EQ(field->cursorPosition(), 0) << "the caret is not placed";
  EXPECT_EQ(NoticeTexts(), std::vector<QString>{"0.50"});

  field->setFocus();
  Prepare("", 0, 0);
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(field->text(), "0.00");
  EXPECT_EQ(notices.size(), 1u);
}

TEST(UnitEditClosing, AClosingWindowDoesNotCallItsOwnerBack) {
  int notices = 0;
  auto* window = new QWidget;
  auto* field = new CUnitEdit(window);
  new QLineEdit(window);
  QObject::connect(field, &CUnitEdit::changed, [&] { ++notices; });
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  field->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }));
  field->setText("0.5");
  notices = 0;
  window->close();
  delete window;
  EXPECT_EQ(notices, 0);
}

TEST_F(UnitEditTest, SetValueShowsTheNormalisedText) {
  struct ValueCase {
    float value;
    const char* text;
  };
  const ValueCase cases[] = {
      {0.3f, "0.30"},
      {0.9f, "0.90"},
      {0.125f, "0.13"},
      {1.5f, "0.10"},
      {12.5f, "0.12"},
      {-1.0f, "?"},
      {std::numeric_limits<float>::quiet_NaN(), "?"},
  };
  for (const auto& c : cases) {
    Prepare("0.77", 4, 4);
    field->SetValue(c.value);
    EXPECT_EQ(field->text(), c.text) << c.value;
    EXPECT_EQ(field->cursorPosition(), 0) << c.value;
    EXPECT_EQ(NoticeTexts(), std::vector<QString>{c.text}) << c.value;
  }
}

TEST_F(UnitEditTest, GetValueReadsTheFirstFourCharacters) {
  struct ReadCase {
    const char* text;
    double value;
  };
  const ReadCase cases[] = {
      {"", 0.0},       {"?", 0.0},       {"0.", 0.0},  {"0.5", 0.5},   {"5?", 5.0},  {"1.5", 1.5},
      {"0.123", 0.12}, {"9999", 9999.0}, {"nan", 0.0}, {"-0.5", -0.5}, {"0,5", 0.0},
  };
  for (const auto& c : cases) {
    Prepare(c.text, 0, 0);
    EXPECT_DOUBLE_EQ(field->GetValue(), c.value) << c.text;
  }
}

TEST_F(UnitEditTest, CommaLocaleReadsAndShowsAsUnderC) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  }
  Prepare("0.57", 4, 4);
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.57);
  field->SetValue(0.3f);
  EXPECT_EQ(field->text(), "0.30");
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.3);
  Prepare("", 0, 0);
  Type('5');
  Type('7');
  EXPECT_DOUBLE_EQ(field->GetValue(), 0.57);
  Prepare("125", 3, 3);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.13");
  std::setlocale(LC_ALL, previous.c_str());
}

// Random keys into the real field: the caret stays within the text, and Enter
// always leaves "?" or a canonical text.
TEST_F(UnitEditTest, RandomKeystrokesKeepTheFieldSound) {
  const std::vector<Qt::Key> keys = {
      Qt::Key_0,         Qt::Key_1,    Qt::Key_5,     Qt::Key_9,    Qt::Key_Period,
      Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End,
      Qt::Key_Delete,    Qt::Key_A,    Qt::Key_Minus};
  std::mt19937 random(7);
  Prepare("", 0, 0);
  for (int i = 0; i < 400; ++i) {
    const Qt::Key key =
        keys[std::uniform_int_distribution<std::size_t>(0, keys.size() - 1)(random)];
    const bool shift = std::uniform_int_distribution<int>(0, 4)(random) == 0;
    QTest::keyClick(field, key, shift ? Qt::ShiftModifier : Qt::NoModifier);
    ASSERT_LE(field->cursorPosition(), field->text().size()) << i;
    ASSERT_LE(field->text().size(), 4) << i;
    if (i % 25 == 24) {
      QTest::keyClick(field, Qt::Key_Return);
      const QString text = field->text();
      ASSERT_TRUE(text == "?" || (text.size() == 4 && (text.startsWith("0.") || text == "1.00")))
          << text.toStdString();
    }
  }
}

}  // namespace
