// The main window as the template lays it out: caption, frame, controls in
// place (in pixels proportional to their dialog units), tab order, the
// picker's initial items and the formula picture.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "core/layout/resource.h"
#include "desktop/controls/color_static.h"
#include "desktop/controls/unit_edit.h"
#include "desktop/resources/resources.h"
#include "main_window_fixture.h"

namespace {

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, FixedSizeWindowWithCaptionMinimiseAndClose) {
  EXPECT_EQ(dialog->windowTitle(), "Veridrift");
  const DialogBaseUnits base = dialog->BaseUnits();
  EXPECT_EQ(dialog->size(), QSize(MulDiv(324, base.x, 4), MulDiv(261, base.y, 8)));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  const Qt::WindowFlags flags = dialog->windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window) << "own taskbar entry: not a dialog type";
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(dialog->isSizeGripEnabled());
}

TEST_F(MainWindowLayout, DialogUnitsComeFromVerdanaTenPointAsDesigned) {
  const QFont font = dialog->font();
  EXPECT_EQ(font.family(), QFont("Verdana").family());
  EXPECT_EQ(font.pixelSize(), MulDiv(10, dialog->logicalDpiY(), 72));
  // Verdana's own metrics, whichever face stands in for it on this system.
  const DialogBaseUnits designed = DesignedBaseUnits("Verdana", font.pixelSize());
  EXPECT_EQ(dialog->BaseUnits().x, designed.x);
  EXPECT_EQ(dialog->BaseUnits().y, designed.y);
  EXPECT_GT(dialog->BaseUnits().x, 3);
  EXPECT_EQ(
      Item(IDC_WEB_PLACEHOLDER)->geometry(),
      TemplateRectInPixels(IDD_SENTENCE_DIALOG, QRect(7, 93, 175, 161), dialog->logicalDpiY()))
      << "the same mapping without a window";
}

struct ControlCase {
  const char* name;
  int id;
  const char* className;
  int x, y, cx, cy;
  const char* text;
};

// The fourteen controls in template order; -1 marks the two unaddressed labels.
const ControlCase kControls[] = {
    {"picker", IDC_SENTENCE_COMBO, "CSentenceCombo", 83, 7, 221, 130, nullptr},
    {"degree", IDC_DEGREE_EDIT, "CUnitEdit", 256, 29, 29, 12, nullptr},
    {"estimate", IDC_ESTIMATE_EDIT, "CUnitEdit", 256, 46, 30, 12, nullptr},
    {"graph", IDC_GRAPH_BUTTON, "QPushButton", 196, 69, 50, 14, "&Graph"},
    {"restart", IDC_RESTART_BUTTON, "QPushButton", 252, 69, 50, 14, "&Restart"},
    {"show_output", IDC_SHOW_OUTPUT, "QCheckBox", 189, 95, 60, 10, "Show Output"},
    {"pick_label", IDC_STATIC, "QLabel", 22, 9, 58, 8, "Pick a sentence:"},
    {"series_placeholder", IDC_SERIES_PLACEHOLDER, "QWidget", 7, 26, 175, 61, nullptr},
    {"web_placeholder", IDC_WEB_PLACEHOLDER, "QWidget", 7, 93, 175, 161, nullptr},
    {"output", IDC_OUTPUT, "CColorStatic", 189, 111, 128, 143, nullptr},
    {"degree_label", IDC_DEGREE_LABEL, "QLabel", 198, 31, 56, 8, "This sentence is"},
    {"estimate_label", IDC_STATIC, "QLabel", 198, 47, 52, 8, "Initial estimate:"},
    {"truth_word", IDC_TRUTH_WORD, "QLabel", 288, 31, 19, 8, "true"},
    {"formula_picture", IDC_FORMULA_PICTURE, "QLabel", 189, 112, 11, 11, nullptr},
};

QString TextOf(const QWidget* control) {
  if (auto* label = qobject_cast<const QLabel*>(control)) {
    return label->text();
  }
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
    return button->text();
  }
  return {};
}

TEST_F(MainWindowLayout, FourteenControlsInTemplateOrderAtTheirRectangles) {
  const DialogBaseUnits base = dialog->BaseUnits();
  QList<QWidget*> controls;
  for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->property("controlId").isValid()) {
      controls.append(child);
    }
  }
  ASSERT_EQ(controls.size(), 14);
  for (int i = 0; i < 14; ++i) {
    const ControlCase& c = kControls[i];
    SCOPED_TRACE(c.name);
    const QWidget* control = controls[i];
    EXPECT_EQ(IdOf(control), c.id);
    EXPECT_STREQ(control->metaObject()->className(), c.className);
    EXPECT_TRUE(control->isVisible());
    const QRect pixels = control->geometry();
    EXPECT_EQ(pixels.x(), MulDiv(c.x, base.x, 4));
    EXPECT_EQ(pixels.y(), MulDiv(c.y, base.y, 8));
    if (c.id == IDC_SENTENCE_COMBO) {
      // The template's height is that of the dropped-down list.
      EXPECT_EQ(pixels.width(), MulDiv(c.cx, base.x, 4));
      EXPECT_EQ(control->property("droppedHeight").toInt(), MulDiv(c.cy, base.y, 8));
    } else if (c.id == IDC_FORMULA_PICTURE) {
      EXPECT_EQ(pixels.size(), QSize(28, 11)) << "the picture's own size";
    } else {
      EXPECT_EQ(pixels.size(), QSize(MulDiv(c.cx, base.x, 4), MulDiv(c.cy, base.y, 8)));
    }
    if (c.text != nullptr && c.id != IDC_TRUTH_WORD) {
      EXPECT_EQ(TextOf(control), c.text);
    }
  }
}

TEST_F(MainWindowLayout, NoDefaultButtonAnywhere) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    SCOPED_TRACE(button->text().toStdString());
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
  }
  for (int id : {IDOK, IDCANCEL}) {
    EXPECT_EQ(Item(id), nullptr);
  }
}

TEST_F(MainWindowLayout, FormulaPictureLiesInsideThePanelAndOnTopOfIt) {
  const QRect panel = Item(IDC_OUTPUT)->geometry();
  const QRect picture = Item(IDC_FORMULA_PICTURE)->geometry();
  EXPECT_TRUE(panel.contains(picture)) << "picture inside the panel";
  EXPECT_EQ(picture.left(), panel.left());
  EXPECT_EQ(picture.top() - panel.top(),
            MulDiv(112, dialog->BaseUnits().y, 8) - MulDiv(111, dialog->BaseUnits().y, 8))
      << "one unit below the panel's top edge";
  EXPECT_EQ(dialog->childAt(picture.center()), Item(IDC_FORMULA_PICTURE));
}

TEST_F(MainWindowLayout, FormulaPictureShowsBitmap132PixelForPixel) {
  const QImage screen = dialog->grab().toImage();
  const QPoint at = Item(IDC_FORMULA_PICTURE)->pos() * dialog->devicePixelRatio();
  for (int y = 0; y < kFormulaBitmapHeight; ++y) {
    for (int x = 0; x < kFormulaBitmapWidth; ++x) {
      const QRgb expected = kFormulaBitmapRows[static_cast<std::size_t>(y)][x] == '#'
                                ? qRgb(255, 255, 255)
                                : qRgb(0, 0, 0);
      ASSERT_EQ(screen.pixel(at + QPoint(x, y)) & 0xFFFFFF, expected & 0xFFFFFF)
          << "pixel " << x << "," << y;
    }
  }
}

TEST_F(MainWindowLayout, TabVisitsPickerFieldsButtonsAndCheckBoxInOrder) {
  ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == Item(IDC_SENTENCE_COMBO); }))
      << "the picker has the focus at start";
  std::vector<int> visited{IdOf(QApplication::focusWidget())};
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(IdOf(QApplication::focusWidget()));
  }
  EXPECT_EQ(visited, (std::vector<int>{IDC_SENTENCE_COMBO, IDC_DEGREE_EDIT, IDC_ESTIMATE_EDIT,
                                       IDC_GRAPH_BUTTON, IDC_RESTART_BUTTON, IDC_SHOW_OUTPUT,
                                       IDC_SENTENCE_COMBO}));
}

TEST(MainWindowTemplate, PickerStartsWithTheTenTemplateItemsUnsorted) {
  // The bare template, before the window's own initialisation replaces them.
  CDialog bare(IDD_SENTENCE_DIALOG, nullptr);
  ASSERT_TRUE(bare.Create());
  auto* picker = qobject_cast<QComboBox*>(bare.GetDlgItem(IDC_SENTENCE_COMBO));
  ASSERT_NE(picker, nullptr);
  const QStringList expected = {"This sentence is __ True",
                                "This sentence is __ False",
                                "This sentence is __ as True as it is estimated to be True",
                                "This sentence is __ as True as it is estimated to be False",
                                "This sentence is __ as False as it is estimated to be True",
                                "This sentence is __ as False as it is estimated to be False",
                                "This sentence is very True",
                                "This sentence is very False",
                                "This sentence is fairly True",
                                "This sentence is fairly False"};
  QStringList items;
  for (int i = 0; i < picker->count(); ++i) {
    items << picker->itemText(i);
  }
  EXPECT_EQ(items, expected);
  EXPECT_EQ(qobject_cast<QLabel*>(bare.GetDlgItem(IDC_OUTPUT))->text(), "Static");
}

TEST(MainWindowTemplate, UnknownTemplateCreatesNothing) {
  CDialog missing(99, nullptr);
  EXPECT_FALSE(missing.Create());
  EXPECT_EQ(missing.DoModal(), -1);
}

}  // namespace
