// Which pixels a single line sets, in window coordinates (rows counted from
// the bottom), by the diamond-exit rule.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "core/raster/line_rasteriser.h"

namespace {

using Pixel = std::pair<int, int>;

constexpr Rgb kWhite{1.0f, 1.0f, 1.0f};
constexpr int kSide = 8;

std::set<Pixel> PixelsOf(WindowPoint from, WindowPoint to) {
  LinePixels pixels;
  RasteriseLine(from, kWhite, to, kWhite, kSide, kSide, &pixels);
  std::set<Pixel> set;
  for (const Span& span : pixels.spans) {
    for (int x = span.x0; x <= span.x1; ++x) {
      EXPECT_TRUE(set.insert({x, span.y}).second) << "pixel " << x << "," << span.y << " twice";
    }
  }
  return set;
}

struct LineCase {
  const char* name;
  WindowPoint from;
  WindowPoint to;
  std::set<Pixel> expected;
};

const LineCase kLineCases[] = {
    {"HorizontalDrawsItsStartNotItsEnd",
     {1.5f, 2.5f},
     {5.5f, 2.5f},
     {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"HorizontalLeftwardsDrawsItsStartNotItsEnd",
     {5.5f, 2.5f},
     {1.5f, 2.5f},
     {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
    {"VerticalDrawsItsStartNotItsEnd",
     {2.5f, 1.5f},
     {2.5f, 5.5f},
     {{2, 1}, {2, 2}, {2, 3}, {2, 4}}},
    {"DownwardsDrawsItsStartNotItsEnd",
     {2.5f, 5.4f},
     {2.5f, 1.4f},
     {{2, 5}, {2, 4}, {2, 3}, {2, 2}}},
    {"DiagonalOnePixelAColumn", {1.5f, 1.5f}, {5.5f, 5.5f}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
    {"XMajorOnePixelAColumn",
     {1.5f, 1.5f},
     {7.5f, 3.5f},
     {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {6, 3}}},
    {"YMajorOnePixelARow",
     {1.5f, 1.5f},
     {3.5f, 7.5f},
     {{1, 1}, {1, 2}, {2, 3}, {2, 4}, {2, 5}, {3, 6}}},
    // Starting beside its first pixel's diamond, the line never leaves it.
    {"StartBesideTheDiamondNotDrawn", {1.8f, 2.9f}, {4.5f, 2.9f}, {{2, 2}, {3, 2}}},
    // Near a row's edge the diamond is narrow: the line leaves it before the end.
    {"EndPastTheDiamondDrawn", {1.5f, 2.8f}, {4.9f, 2.8f}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"WithinOneDiamondDrawsNothing", {2.4f, 2.5f}, {2.6f, 2.5f}, {}},
    {"LeavingOneDiamondForTheNextDrawsTheFirst", {2.95f, 2.5f}, {3.05f, 2.5f}, {{2, 2}}},
    // llvmpipe's own departure from the rule: a steep line starting on a
    // row's centre and heading down leaves its start out, though it starts
    // inside that pixel's diamond; heading up it keeps it.
    {"DownFromARowCentreLeavesItsStartOut", {2.5f, 5.5f}, {2.5f, 1.5f}, {{2, 4}, {2, 3}, {2, 2}}},
    {"SteepDownFromARowCentreLeavesItsStartOut",
     {2.3f, 5.5f},
     {1.7f, 1.3f},
     {{2, 4}, {2, 3}, {1, 2}}},
    {"SteepUpFromARowCentreDrawsItsStart",
     {2.3f, 1.5f},
     {1.7f, 5.7f},
     {{2, 1}, {2, 2}, {2, 3}, {1, 4}}},
    {"NoLengthDrawsNothing", {2.5f, 2.5f}, {2.5f, 2.5f}, {}},
    {"CutAtThePicturesEdges",
     {-3.5f, 1.5f},
     {12.5f, 1.5f},
     {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}},
    {"WhollyOutsideDrawsNothing", {1.5f, -2.5f}, {6.5f, -2.5f}, {}},
};

class LineRule : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineRule, SetsThePixelsTheLineLeaves) {
  const LineCase& c = GetParam();
  EXPECT_EQ(PixelsOf(c.from, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineRule, ::testing::ValuesIn(kLineCases),
                         [](const auto& param) { return std::string(param.param.name); });

// A strip's corner is the end of one line and the start of the next: only
// the line leaving it draws it, so nothing is drawn twice.
TEST(LineRule, StripCornerBelongsToTheLineLeavingIt) {
  const std::set<Pixel> across = PixelsOf({1.5f, 2.5f}, {4.5f, 2.5f});
  const std::set<Pixel> up = PixelsOf({4.5f, 2.5f}, {4.5f, 6.5f});
  EXPECT_EQ(across.count({4, 2}), 0u);
  EXPECT_EQ(up.count({4, 2}), 1u);
}

}  // namespace
