#include "desktop/windows/dialog_units.h"

#include <gtest/gtest.h>

#include "core/layout/resource.h"

namespace {

struct MulDivCase {
  const char* name;
  int a, b, c;
  int expected;
};

class MulDivRounding : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivRounding, RoundsLikeTheDesktop) {
  const MulDivCase& c = GetParam();
  EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivRounding,
    ::testing::Values(MulDivCase{"exact", 8, 6, 4, 12}, MulDivCase{"below_half_down", 7, 7, 4, 12},
                      MulDivCase{"half_away_from_zero", 3, 6, 4, 5},
                      MulDivCase{"negative_half_away_from_zero", -3, 6, 4, -5},
                      MulDivCase{"negative_divisor", 3, 6, -4, -5},
                      MulDivCase{"above_half_up", 5, 7, 4, 9},
                      MulDivCase{"no_overflow_in_product", 1 << 20, 1 << 20, 1 << 20, 1 << 20},
                      MulDivCase{"zero_divisor", 5, 5, 0, -1}),
    [](const auto& test) { return std::string(test.param.name); });

struct BaseUnitCase {
  const char* name;
  int alphabetWidth, charHeight;
  int x, y;
};

class BaseUnitsFromFontMetrics : public ::testing::TestWithParam<BaseUnitCase> {};

TEST_P(BaseUnitsFromFontMetrics, AverageWidthRoundedFromHalfCharacters) {
  const BaseUnitCase& c = GetParam();
  const DialogBaseUnits units = BaseUnitsFromMetrics(c.alphabetWidth, c.charHeight);
  EXPECT_EQ(units.x, c.x);
  EXPECT_EQ(units.y, c.y);
}

// 52 letters: the width / 26 counts half characters, rounded up at a half.
INSTANTIATE_TEST_SUITE_P(Cases, BaseUnitsFromFontMetrics,
                         ::testing::Values(BaseUnitCase{"verdana_10pt", 364, 16, 7, 16},
                                           BaseUnitCase{"half_rounds_up", 390, 13, 8, 13},
                                           BaseUnitCase{"just_below_half", 389, 13, 7, 13},
                                           BaseUnitCase{"ms_sans_serif_8pt", 312, 13, 6, 13}),
                         [](const auto& test) { return std::string(test.param.name); });

struct DesignedCase {
  const char* name;
  const char* face;
  int pixelHeight;
  int x, y;
};

class DesignedBaseUnitsOfAFace : public ::testing::TestWithParam<DesignedCase> {};

TEST_P(DesignedBaseUnitsOfAFace, FollowTheOutlineNotTheSubstitute) {
  const DesignedCase& c = GetParam();
  const DialogBaseUnits units = DesignedBaseUnits(c.face, c.pixelHeight);
  EXPECT_EQ(units.x, c.x);
  EXPECT_EQ(units.y, c.y);
}

// Verdana 10 point: 13 pixels at 96 dots per inch, 17 at 120, 27 at 192.
INSTANTIATE_TEST_SUITE_P(
    Cases, DesignedBaseUnitsOfAFace,
    ::testing::Values(DesignedCase{"verdana_96dpi", "Verdana", 13, 8, 16},
                      DesignedCase{"verdana_120dpi", "Verdana", 17, 11, 21},
                      DesignedCase{"verdana_192dpi", "Verdana", 27, 17, 33},
                      DesignedCase{"unknown_face_left_to_the_system", "MS Sans Serif", 11, 0, 0},
                      DesignedCase{"face_names_match_exactly", "verdana", 13, 0, 0},
                      DesignedCase{"no_height", "Verdana", 0, 0, 0},
                      DesignedCase{"no_face", nullptr, 13, 0, 0}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TemplateRectInPixels, MainWindowNeedsNoWindowAndUnknownTemplatesGiveNothing) {
  // The diagram views fill their placeholders: 175 x 61 and 175 x 161 units.
  EXPECT_EQ(TemplateRectInPixels(IDD_SENTENCE_DIALOG, QRect(7, 26, 175, 61)).size(),
            QSize(MulDiv(175, 8, 4), MulDiv(61, 16, 8)));
  EXPECT_EQ(TemplateRectInPixels(IDD_SENTENCE_DIALOG, QRect(7, 93, 175, 161), 192),
            MapDialogRect(QRect(7, 93, 175, 161), DesignedBaseUnits("Verdana", 27)));
  EXPECT_TRUE(TemplateRectInPixels(99, QRect(0, 0, 10, 10)).isEmpty());
}

TEST(MapDialogRect, ConvertsEachCoordinateOnItsOwn) {
  // Base 7 x 16: x and width scale by 7/4, y and height by 2.
  const QRect pixels = MapDialogRect(QRect(189, 111, 128, 143), {7, 16});
  EXPECT_EQ(pixels, QRect(331, 222, 224, 286));
  // 189 * 7 / 4 = 330.75 and 11 * 7 / 4 = 19.25: rounded separately, not as
  // the difference of rounded edges.
  EXPECT_EQ(MapDialogRect(QRect(189, 112, 11, 11), {7, 16}), QRect(331, 224, 19, 22));
}

}  // namespace
