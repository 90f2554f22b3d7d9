// The diagrams as SVG text: what a drawing holds for strokes of each kind,
// where the unit square lands, and what it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/diagrams/svg_text.h"

namespace {

constexpr Rgb kOrange{1.0f, 0.5f, 0.0f};

ColouredVertex At(double x, double y, Rgb colour) {
  return {x, y, colour};
}

struct SvgCase {
  const char* name;
  int width;
  int height;
  std::vector<SvgPart> parts;
  std::vector<std::string> holds;  // in this order
  std::vector<std::string> lacks;
};

TEST(SvgText, DrawingsHoldTheStrokesWhereTheViewsPutThem) {
  const std::vector<SvgCase> cases = {
      {"a frame strip maps the unit square inside a 0.01 margin, y upwards",
       102,
       51,
       {{0, 0, 102, 51, {FrameStroke()}}},
       {"width=\"102\" height=\"51\" viewBox=\"0 0 102 51\"",
        "<rect width=\"102\" height=\"51\" fill=\"#000000\"/>", "translate(0 0)",
        "stroke=\"#4c4c4c\" points=\"1.000,50.500 1.000,0.500 101.000,0.500 101.000,50.500 "
        "1.000,50.500\""},
       {}},
      {"a strip changing colour splits where the colour changes, sharing the vertex",
       102,
       102,
       {{0,
         0,
         102,
         102,
         {{Primitive::kLineStrip,
           kTraceRed,
           {At(0, 0, kTraceRed), At(0.5, 0, kTraceRed), At(0.5, 0.5, kOrange),
            At(1, 0.5, kOrange)}}}}},
       {"stroke=\"#ff0000\" points=\"1.000,101.000 51.000,101.000\"",
        "stroke=\"#ff8000\" points=\"51.000,101.000 51.000,51.000 101.000,51.000\""},
       {}},
      {"separate segments each take their end's colour; parts stand at their place",
       300,
       102,
       {{198, 0, 102, 102, {DiagonalStroke()}}},
       {"translate(198 0)", "stroke=\"#666666\" points=\"1.000,101.000 101.000,1.000\""},
       {}},
      {"an empty strip and a one-point strip draw nothing",
       10,
       10,
       {{0,
         0,
         10,
         10,
         {{Primitive::kLineStrip, kSeriesColour, {}},
          {Primitive::kLineStrip, kSeriesColour, {At(0.5, 0.5, kSeriesColour)}}}}},
       {"<g ", "</g>\n</svg>\n"},
       {"<polyline"}},
  };
  for (const SvgCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string svg = SvgOfDiagrams(c.width, c.height, c.parts);
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    std::size_t at = 0;
    for (const std::string& piece : c.holds) {
      const std::size_t found = svg.find(piece, at);
      EXPECT_NE(found, std::string::npos) << piece << "\n in\n" << svg;
      at = found == std::string::npos ? at : found + piece.size();
    }
    for (const std::string& piece : c.lacks) {
      EXPECT_EQ(svg.find(piece), std::string::npos) << piece;
    }
  }
}

TEST(SvgText, APictureWithoutAreaGivesNoFile) {
  EXPECT_EQ(SvgOfDiagrams(0, 10, {}), "");
  EXPECT_EQ(SvgOfDiagrams(10, -1, {}), "");
}

TEST(SvgText, ColoursAreThePixelsBytes) {
  EXPECT_EQ(SvgColour(kFrameColour), "#4c4c4c");
  EXPECT_EQ(SvgColour(kCurveColour), "#008000");
  EXPECT_EQ(SvgColour(kSecondIterateColour), "#009999");
  EXPECT_EQ(SvgColour(Rgb{-1.0f, 2.0f, 0.5f}), "#00ff80");
}

}  // namespace
