// The main window under a comma-decimal locale (the test runs with
// LC_ALL=de_DE.UTF-8): every value it shows uses a point, and what is typed
// with a point reads as the number it spells. The C library's own reading
// under this locale would stop at the point and take "0.57" for 0.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <clocale>
#include <memory>

#include "core/layout/resource.h"
#include "core/log/output_log.h"
#include "core/numbers/sentence.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/sentence_dlg.h"
#include "hang_bound.h"
#include "monkey_invariants.h"

namespace {

class CommaDecimalLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::localeconv()->decimal_point, ",")
        << "the process does not run under a comma-decimal locale: the test proves nothing";
    g_selectedSentence = 0;
    g_logLineOpen = false;
    dialog = std::make_unique<CSentenceDlg>();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get(), HangBoundMs(5000)));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get(), HangBoundMs(5000)));
  }
  void TearDown() override { dialog.reset(); }

  QLineEdit* Field(int id) const { return qobject_cast<QLineEdit*>(dialog->GetDlgItem(id)); }
  QComboBox* Picker() const {
    return qobject_cast<QComboBox*>(dialog->GetDlgItem(IDC_SENTENCE_COMBO));
  }
  std::string Log() const {
    return qobject_cast<QLabel*>(dialog->GetDlgItem(IDC_OUTPUT))->text().toStdString();
  }
  static std::string Formula() {
    std::string formula;
    FormatFormula(formula);
    return formula;
  }
  // Clears the field from its end and types the keys, as a person would.
  void Retype(int id, const char* keys) {
    QLineEdit* field = Field(id);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 2, field->height() / 2));
    field->end(false);
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(field, Qt::Key_Backspace);
    }
    for (const char* key = keys; *key != '\0'; ++key) {
      QTest::keyClick(field, *key);
    }
  }

  std::unique_ptr<CSentenceDlg> dialog;
};

TEST_F(CommaDecimalLocale, StartUpShowsPointsEverywhere) {
  EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
  EXPECT_EQ(Field(IDC_DEGREE_EDIT)->text(), "0.30");
  EXPECT_EQ(Field(IDC_ESTIMATE_EDIT)->text(), "0.90");
  EXPECT_EQ(Picker()->itemText(0), "This sentence is 0.30 True");
  EXPECT_EQ(Log(),
            "         = 1 - abs(0.30 - Xn)\n"
            "\n"
            "    x[00] = 0.00    x[01] = 0.90\n");
}

struct TypedCase {
  const char* name;
  int field;
  const char* keys;
  const char* shown;    // the field's text after typing
  float read;           // what the run was computed with
  const char* settled;  // the field's text after leaving it
};

class TypedValues : public CommaDecimalLocale, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedValues, ReadAsTheirDigitsSay) {
  const TypedCase& typed = GetParam();
  Retype(typed.field, typed.keys);
  EXPECT_EQ(Field(typed.field)->text(), typed.shown);
  const float entered = typed.field == IDC_DEGREE_EDIT ? g_enteredDegree : g_enteredEstimate;
  const float used = typed.field == IDC_DEGREE_EDIT ? g_runParams.degree : g_runParams.estimate;
  EXPECT_EQ(entered, typed.read);
  EXPECT_EQ(used, typed.read);
  EXPECT_EQ(CheckLog(Log(), Formula(), g_series), "");
  QTest::keyClick(Field(typed.field), Qt::Key_Tab);
  EXPECT_EQ(Field(typed.field)->text(), typed.settled);
  EXPECT_EQ(Log().find(','), std::string::npos) << Log();
  std::string caption;
  FormatSentenceCaption(caption, 0);
  EXPECT_EQ(Picker()->itemText(0).toStdString(), caption);
  EXPECT_EQ(Picker()->itemText(0).indexOf(','), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TypedValues,
    ::testing::Values(
        TypedCase{"estimate", IDC_ESTIMATE_EDIT, "57", "0.57", 0.57f, "0.57"},
        TypedCase{"estimate_with_point", IDC_ESTIMATE_EDIT, ".5", "0.5", 0.5f, "0.50"},
        TypedCase{"degree", IDC_DEGREE_EDIT, "45", "0.45", 0.45f, "0.45"},
        TypedCase{"degree_one", IDC_DEGREE_EDIT, "1", "1.00", 1.0f, "1.00"},
        TypedCase{"a_comma_is_no_decimal_mark", IDC_DEGREE_EDIT, "0,7", "0.7", 0.7f, "0.70"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(CommaDecimalLocale, APastedCommaIsNoDecimalMarkEither) {
  QLineEdit* estimate = Field(IDC_ESTIMATE_EDIT);
  QTest::mouseClick(estimate, Qt::LeftButton);
  estimate->selectAll();
  QGuiApplication::clipboard()->setText(QStringLiteral("0,75"));
  QTest::keyClick(estimate, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(estimate->text(), "0,75");
  EXPECT_EQ(g_enteredEstimate, 0.0f) << "read up to the comma, as in any locale";
  QTest::keyClick(estimate, Qt::Key_Return);
  EXPECT_EQ(estimate->text(), "0.00");
}

TEST_F(CommaDecimalLocale, TheLogOfARunShowsPoints) {
  Retype(IDC_ESTIMATE_EDIT, "57");
  qobject_cast<QCheckBox*>(dialog->GetDlgItem(IDC_SHOW_OUTPUT))->setChecked(true);
  QTest::keyClick(Field(IDC_ESTIMATE_EDIT), Qt::Key_G);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->m_seriesView->m_stepCounter.load() >= 12; },
                              HangBoundMs(5000)));
  QTest::keyClick(Field(IDC_ESTIMATE_EDIT), Qt::Key_G);
  QTest::qWait(50);
  const std::string log = Log();
  EXPECT_NE(log.find("    x[01] = 0.57\n"), std::string::npos) << log;
  EXPECT_NE(log.find("    x[02] = "), std::string::npos) << log;
  EXPECT_EQ(log.find(','), std::string::npos) << log;
  EXPECT_EQ(CheckLog(log, Formula(), g_series), "");
}

}  // namespace
