#include "desktop/resources/resources.h"

#include <gtest/gtest.h>

#include <set>

#include "core/layout/dialog_templates.h"
#include "core/layout/resource.h"

namespace {

TEST(FormulaBitmap, IsTheLettersXnPlusOneInWhiteOnBlack) {
  const QImage image = LoadBitmapImage(IDB_FORMULA);
  ASSERT_EQ(image.size(), QSize(28, 11));
  ASSERT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(image.colorCount(), 16);
  const char* rows[] = {"............................", "....#...#...................",
                        "....#...#...................", ".....#.#....####.....#....##",
                        "......#.....#...#....#.....#", ".....#.#....#...#..#####...#",
                        "....#...#...#...#....#.....#", "....#...#...#...#....#.....#",
                        "............................", "............................",
                        "............................"};
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 28; ++x) {
      const int expected = rows[y][x] == '#' ? kPaletteWhite : kPaletteBlack;
      ASSERT_EQ(image.pixelIndex(x, y), expected) << "pixel " << x << "," << y;
    }
  }
  EXPECT_EQ(image.pixel(4, 1), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}

struct IconCase {
  const char* name;
  int size;
};

class ApplicationIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(ApplicationIcon, SixteenColourOpaqueFigure) {
  const QImage image = LoadIconImage(IDR_MAINFRAME, GetParam().size);
  ASSERT_EQ(image.size(), QSize(GetParam().size, GetParam().size));
  ASSERT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_FALSE(image.hasAlphaChannel());
  std::set<int> used;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      used.insert(image.pixelIndex(x, y));
    }
  }
  EXPECT_LE(*used.rbegin(), 15);
  EXPECT_GE(used.size(), 3u) << "a figure, not a plain square";
  for (QRgb colour : image.colorTable()) {
    EXPECT_EQ(qAlpha(colour), 255);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ApplicationIcon,
                         ::testing::Values(IconCase{"large", 32}, IconCase{"small", 16}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(Resources, UnknownIdsGiveNothing) {
  EXPECT_TRUE(LoadBitmapImage(133).isNull());
  EXPECT_TRUE(LoadIconImage(IDR_MAINFRAME, 24).isNull());
  EXPECT_TRUE(LoadIconImage(129, 32).isNull());
  EXPECT_EQ(LoadResourceString(102), "");
  EXPECT_EQ(FindDialogTemplate(101), nullptr);
}

TEST(Resources, WindowMenuEntryText) {
  EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), "&About Veridrift...");
}

TEST(Resources, AboutBoxTemplate) {
  const DialogTemplate* about = FindDialogTemplate(IDD_ABOUTBOX);
  ASSERT_NE(about, nullptr);
  EXPECT_STREQ(about->caption, "About Veridrift");
  EXPECT_EQ(about->cx, 235);
  EXPECT_EQ(about->cy, 55);
  ASSERT_EQ(about->items.size(), 5u);
  EXPECT_EQ(about->items[1].id, IDOK);
  EXPECT_EQ(about->items[1].style & kControlTypeMask, BS_DEFPUSHBUTTON);
  EXPECT_STREQ(about->items[2].text, "Veridrift");
  EXPECT_EQ(about->items[3].id, IDC_ABOUT_VERSION);
}

}  // namespace
