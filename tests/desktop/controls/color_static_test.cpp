#include "desktop/controls/color_static.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <cmath>

namespace {

bool IsLit(QRgb pixel) {
  return qRed(pixel) > 128 || qGreen(pixel) > 128 || qBlue(pixel) > 128;
}

// Where the text shows in a grabbed panel.
struct Ink {
  int lines = 0;  // bands of rows holding lit pixels
  int left = -1;
  int top = -1;
  int right = -1;
  int brightest = 0;
  bool onlyGreys = true;
};

Ink InkOf(const QImage& image) {
  Ink ink;
  bool previousLit = false;
  for (int y = 0; y < image.height(); ++y) {
    bool rowLit = false;
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      ink.onlyGreys =
          ink.onlyGreys && qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
      ink.brightest = std::max(ink.brightest, qGray(pixel));
      if (IsLit(pixel)) {
        rowLit = true;
        ink.left = ink.left < 0 ? x : std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = ink.top < 0 ? y : ink.top;
      }
    }
    ink.lines += rowLit && !previousLit ? 1 : 0;
    previousLit = rowLit;
  }
  return ink;
}

class ColorStaticTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(400, 300);
    panel = new CColorStatic(0, 0, &window);
    panel->setGeometry(10, 10, 240, 200);
    panel->SetTextFont(80, "Verdana");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  QImage Grab() const { return panel->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QWidget window;
  CColorStatic* panel = nullptr;
};

TEST_F(ColorStaticTest, BlackAllOverWithoutText) {
  const QImage image = Grab();
  ASSERT_EQ(image.size(), panel->size());
  EXPECT_EQ(InkOf(image).brightest, 0);
}

TEST_F(ColorStaticTest, WhiteTextOnBlackFromTheTopLeft) {
  panel->setText("    x[02] = 0.40    x[03] = 0.90");
  const Ink ink = InkOf(Grab());
  EXPECT_TRUE(ink.onlyGreys) << "white on black, with grey only at the glyph edges";
  EXPECT_GE(ink.brightest, 250);
  EXPECT_EQ(ink.lines, 1);
  EXPECT_LT(ink.top, QFontMetrics(panel->font()).height());
  const int blanks = QFontMetrics(panel->font()).horizontalAdvance("    ");
  EXPECT_GE(ink.left, blanks) << "leading blanks are kept";
  EXPECT_LT(ink.left, blanks + QFontMetrics(panel->font()).horizontalAdvance("x") + 2);
  EXPECT_EQ(Grab().pixel(panel->width() - 1, panel->height() - 1), qRgb(0, 0, 0));
}

TEST_F(ColorStaticTest, BreaksAtEachLineFeed) {
  panel->setText(" = 1 - abs(0.30 - Xn)\n\n    x[00] = 0.00    x[01] = 0.90\n    x[02] = 0.40");
  EXPECT_EQ(InkOf(Grab()).lines, 3) << "the empty line shows as a gap";
}

TEST_F(ColorStaticTest, WrapsAtWordBoundaries) {
  const QFontMetrics metrics(panel->font());
  panel->resize(metrics.horizontalAdvance("wwww ww"), 200);
  panel->setText("wwww wwww wwww");
  EXPECT_EQ(InkOf(Grab()).lines, 3);
}

TEST_F(ColorStaticTest, ShowsTheTextAsItIsWithoutMarkup) {
  const QFontMetrics metrics(panel->font());
  panel->setText("<b>x</b>");
  const Ink ink = InkOf(Grab());
  EXPECT_GT(ink.right - ink.left, metrics.horizontalAdvance("<b>x</b>") * 3 / 4);
}

TEST_F(ColorStaticTest, ItsOwnEightPointFontWhateverTheWindowUses) {
  QFont large("Serif");
  large.setPointSize(20);
  large.setBold(true);
  large.setItalic(true);
  window.setFont(large);
  EXPECT_EQ(panel->font().family(), "Verdana");
  EXPECT_DOUBLE_EQ(panel->font().pointSizeF(), 8.0);
  EXPECT_FALSE(panel->font().bold());
  EXPECT_FALSE(panel->font().italic());
  const QFontInfo shown(panel->font());
  EXPECT_NEAR(shown.pointSizeF(), 8.0, 0.5) << "shown in " << shown.family().toStdString();
  EXPECT_FALSE(shown.family().isEmpty());
}

TEST(ColorStaticFont, TheWindowFontUntilItsOwnIsSet) {
  QWidget window;
  QFont large("Serif");
  large.setPointSize(20);
  window.setFont(large);
  auto* panel = new CColorStatic(0, 0, &window);
  EXPECT_DOUBLE_EQ(panel->font().pointSizeF(), 20.0);
  panel->SetTextFont(80, "Verdana");
  EXPECT_DOUBLE_EQ(panel->font().pointSizeF(), 8.0);
}

TEST(ColorStaticColours, OtherArgumentsAreColourValues) {
  CColorStatic panel(0x0000FF, 0x00FF00);  // red background, green text
  panel.resize(60, 30);
  EXPECT_EQ(panel.BackColor(), QColor(255, 0, 0));
  EXPECT_EQ(panel.TextColor(), QColor(0, 255, 0));
  const QImage image = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(image.pixel(30, 15), qRgb(255, 0, 0));
}

}  // namespace
