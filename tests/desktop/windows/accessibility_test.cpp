// What a screen reader learns about the main window, read in process through
// Qt's accessibility interfaces (no accessibility bus): names, the labels
// tied to their fields, the views' words for what they show, and the window
// menu reached from the keyboard.
#include <QAccessible>
#include <QComboBox>
#include <QMenu>
#include <QTimer>

#include "core/layout/resource.h"
#include "desktop/views/diagram_view.h"
#include "main_window_fixture.h"

namespace {

using Accessibility = MainWindowTest;

QAccessibleInterface* Of(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

// The texts of the labels that name `control` (its Label relations).
QStringList LabelledBy(QObject* control) {
  QStringList labels;
  for (const auto& [label, relation] : Of(control)->relations(QAccessible::Label)) {
    labels << label->text(QAccessible::Name);
  }
  return labels;
}

struct NamedControl {
  const char* name;
  std::function<QWidget*(CSentenceDlg&)> control;
  QAccessible::Role role;
  const char* accessibleName;  // nullptr: whatever the control's own text gives
  const char* labelledBy;      // nullptr: no label
};

const NamedControl kNamedControls[] = {
    // On this platform a drop-down list speaks its current item; the label
    // comes through the relation.
    {"picker", [](CSentenceDlg& d) { return d.GetDlgItem(IDC_SENTENCE_COMBO); },
     QAccessible::ComboBox, "This sentence is 0.30 True", "Pick a sentence:"},
    {"degree_field", [](CSentenceDlg& d) { return d.GetDlgItem(IDC_DEGREE_EDIT); },
     QAccessible::EditableText, "This sentence is", "This sentence is"},
    {"estimate_field", [](CSentenceDlg& d) { return d.GetDlgItem(IDC_ESTIMATE_EDIT); },
     QAccessible::EditableText, "Initial estimate:", "Initial estimate:"},
    {"web_view", [](CSentenceDlg& d) { return d.m_webView; }, QAccessible::Client, "Web diagram",
     nullptr},
    {"series_view", [](CSentenceDlg& d) { return d.m_seriesView; }, QAccessible::Client,
     "Time-series diagram", nullptr},
    {"formula_picture", [](CSentenceDlg& d) { return d.GetDlgItem(IDC_FORMULA_PICTURE); },
     QAccessible::Graphic, "x(n+1)", nullptr},
    {"graph_button", [](CSentenceDlg& d) { return d.GetDlgItem(IDC_GRAPH_BUTTON); },
     QAccessible::Button, "Graph", nullptr},
};

class ControlNames : public MainWindowTest, public ::testing::WithParamInterface<NamedControl> {};

TEST_P(ControlNames, SpeaksItsNameRoleAndLabel) {
  const NamedControl& c = GetParam();
  QWidget* control = c.control(*dialog);
  ASSERT_NE(control, nullptr);
  QAccessibleInterface* spoken = Of(control);
  ASSERT_NE(spoken, nullptr);
  EXPECT_EQ(spoken->role(), c.role);
  EXPECT_EQ(spoken->text(QAccessible::Name), c.accessibleName);
  const QStringList expectedLabels =
      c.labelledBy != nullptr ? QStringList{c.labelledBy} : QStringList{};
  EXPECT_EQ(LabelledBy(control), expectedLabels);
  if (c.labelledBy != nullptr) {
    // And the other way round: the label says what it labels, still without
    // a mnemonic of its own.
    QAccessibleInterface* label = Of(control)->relations(QAccessible::Label).at(0).first;
    const auto labelled = label->relations(QAccessible::Labelled);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled.at(0).first->object(), control);
    EXPECT_EQ(label->text(QAccessible::Name), c.labelledBy) << "the visible text, unchanged";
  }
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlNames, ::testing::ValuesIn(kNamedControls),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(Accessibility, ViewsDescribeTheStepTheyShowAndFollowTheSentence) {
  for (CDiagramView* view : {dialog->m_webView, dialog->m_seriesView}) {
    SCOPED_TRACE(view->accessibleName().toStdString());
    EXPECT_EQ(Of(view)->text(QAccessible::Description), "step 0 of 1000");
    view->m_stepCounter = 2;
    view->SendPaint();
    EXPECT_EQ(Of(view)->text(QAccessible::Description), "step 2 of 1000, x[02] = 0.40");
    view->m_stepCounter = 1000;
    view->SendPaint();
    EXPECT_EQ(Of(view)->text(QAccessible::Description), "step 1000 of 1000, x[999] = 0.90")
        << "the last value of a complete run";
  }
  // Choosing a sentence recomputes the series and starts both views again.
  auto* picker = qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO));
  picker->setFocus();
  QTest::keyClick(picker, Qt::Key_Down);
  EXPECT_EQ(Of(dialog->m_webView)->text(QAccessible::Description), "step 0 of 1000");
}

TEST_F(Accessibility, DegreeFieldCarriesTheTruthWordOfTheChosenSentence) {
  QWidget* degree = Item(IDC_DEGREE_EDIT);
  EXPECT_EQ(Of(degree)->text(QAccessible::Description), "true");
  auto* picker = qobject_cast<QComboBox*>(Item(IDC_SENTENCE_COMBO));
  picker->setFocus();
  for (const char* word : {"false", "true"}) {  // sentences 1 and 2
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(Of(degree)->text(QAccessible::Description), word) << g_selectedSentence;
    EXPECT_EQ(qobject_cast<QLabel*>(Item(IDC_TRUTH_WORD))->text(), word);
  }
}

// What a screen reader hears of the menu that Shift+F10 opens on `control`.
struct SpokenMenu {
  QAccessible::Role role = QAccessible::NoRole;
  QStringList entries;
  QString current;
};

SpokenMenu ShiftF10On(QWidget* control) {
  SpokenMenu spokenMenu;
  bool read = false;
  QTimer::singleShot(0, control, [&] {
    (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000);
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      QAccessibleInterface* spoken = Of(menu);
      spokenMenu.role = spoken->role();
      for (int i = 0; i < spoken->childCount(); ++i) {
        QAccessibleInterface* entry = spoken->child(i);
        spokenMenu.entries << entry->text(QAccessible::Name);
        if (entry->state().focused) {
          spokenMenu.current = entry->text(QAccessible::Name);
        }
      }
      menu->close();
    }
    read = true;
  });
  QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
  // A window menu has run its own loop by now; an edit menu is still open.
  (void)QTest::qWaitFor([&] { return read; }, 2000);
  return spokenMenu;
}

TEST_F(Accessibility, ShiftF10OnThePickerOpensTheWindowMenuAtItsFirstEntry) {
  QWidget* picker = Item(IDC_SENTENCE_COMBO);
  ASSERT_TRUE(WaitFor([&] { return picker->hasFocus(); })) << "where the focus starts";
  const SpokenMenu menu = ShiftF10On(picker);
  EXPECT_EQ(menu.role, QAccessible::PopupMenu);
  EXPECT_TRUE(menu.entries.contains("About Veridrift...")) << menu.entries.join('|').toStdString();
  EXPECT_EQ(menu.current, "Minimize");
  EXPECT_EQ(g_selectedSentence, 0) << "the picker's list neither opened nor moved";
}

TEST_F(Accessibility, ShiftF10InAValueFieldKeepsOpeningItsEditMenu) {
  QWidget* degree = Item(IDC_DEGREE_EDIT);
  degree->setFocus();
  ASSERT_TRUE(WaitFor([&] { return degree->hasFocus(); }));
  const SpokenMenu menu = ShiftF10On(degree);
  EXPECT_EQ(menu.role, QAccessible::PopupMenu);
  EXPECT_FALSE(menu.entries.isEmpty());
  EXPECT_FALSE(menu.entries.contains("About Veridrift...")) << menu.entries.join('|').toStdString();
}

}  // namespace
