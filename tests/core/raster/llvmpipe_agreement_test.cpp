// The core's pictures beside llvmpipe's, drawn headless from the same
// strokes: every case prints its count of differing pixels, and agreement is
// exact or the case fails.
#include <gtest/gtest.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/diagrams/drawing.h"
#include "core/numbers/series.h"
#include "core/raster/raster.h"
#include "headless_gl.h"

namespace {

enum class View { kWeb, kTimeSeries };

struct SeriesRun {
  const char* name;
  SentenceKind sentence;
  float degree;
  float estimate;
};

// Sentence 0 at 0.30/0.90 closes into a rectangle drawn over and over in
// turning colours; sentence 3 never repeats itself; the rest cover every
// valuation and a few other starting points.
const SeriesRun kRuns[] = {
    {"S0_k30_x90", 0, 0.30f, 0.90f}, {"S1_k30_x90", 1, 0.30f, 0.90f},
    {"S2_k30_x90", 2, 0.30f, 0.90f}, {"S3_k30_x90", 3, 0.30f, 0.90f},
    {"S4_k30_x90", 4, 0.30f, 0.90f}, {"S5_k30_x90", 5, 0.30f, 0.90f},
    {"S6_k30_x90", 6, 0.30f, 0.90f}, {"S7_k30_x90", 7, 0.30f, 0.90f},
    {"S8_k30_x90", 8, 0.30f, 0.90f}, {"S9_k30_x90", 9, 0.30f, 0.90f},
    {"S3_k37_x61", 3, 0.37f, 0.61f}, {"S5_k43_x17", 5, 0.43f, 0.17f},
    {"S7_k50_x33", 7, 0.50f, 0.33f},
};

const int kSteps[] = {0, 2, 3, 51, 52, 500, 999, 1000};

struct Size {
  int width;
  int height;
};

// The window's views at scale 1 and at a device pixel ratio of 2.
const Size kWebSizes[] = {{350, 322}, {700, 644}};
const Size kTimeSeriesSizes[] = {{350, 122}, {700, 244}};
// Sizes no layout gives, odd both ways, one of a single pixel.
const Size kOddSizes[] = {{1, 1}, {3, 5}, {101, 67}, {517, 389}, {1279, 17}, {16, 1023}};

struct AgreementCase {
  std::string name;
  SeriesRun run;
  View view;
  int step;
  Size size;
};

std::vector<AgreementCase> AllCases() {
  std::vector<AgreementCase> cases;
  auto add = [&cases](const SeriesRun& run, View view, int step, Size size) {
    std::ostringstream name;
    name << run.name << (view == View::kWeb ? "_Web" : "_TimeSeries") << "_Step" << step << "_"
         << size.width << "x" << size.height;
    cases.push_back({name.str(), run, view, step, size});
  };
  for (const SeriesRun& run : kRuns) {
    for (const int step : kSteps) {
      for (const Size size : kWebSizes) {
        add(run, View::kWeb, step, size);
      }
      for (const Size size : kTimeSeriesSizes) {
        add(run, View::kTimeSeries, step, size);
      }
    }
  }
  for (const SeriesRun& run : {kRuns[0], kRuns[3]}) {
    for (const Size size : kOddSizes) {
      add(run, View::kWeb, 1000, size);
      add(run, View::kTimeSeries, 999, size);
    }
  }
  return cases;
}

std::vector<Stroke> StrokesOf(const SeriesRun& run, View view, int step) {
  ComputeSeriesValues(run.degree, run.estimate, run.sentence);
  const StepCounterRead counter = [step] { return step; };
  if (view == View::kWeb) {
    return WebDiagramStrokes(counter, g_series);
  }
  std::vector<Stroke> strokes;
  if (auto page = TimeSeriesStroke(counter, g_series)) {
    strokes.push_back(*page);
  }
  return strokes;
}

// The differing pixels, the first few of them described in *where.
int CountDifferences(const RgbaImage& ours, const QImage& theirs, std::string* where) {
  int count = 0;
  std::ostringstream text;
  for (int row = 0; row < ours.height; ++row) {
    for (int x = 0; x < ours.width; ++x) {
      const std::uint8_t* p = ours.rgba.data() + ours.Offset(x, row);
      const QRgb q = theirs.pixel(x, row);
      if (p[0] != qRed(q) || p[1] != qGreen(q) || p[2] != qBlue(q)) {
        if (++count <= 8) {
          text << " (" << x << "," << row << ") core " << int{p[0]} << "/" << int{p[1]} << "/"
               << int{p[2]} << " gl " << qRed(q) << "/" << qGreen(q) << "/" << qBlue(q) << ";";
        }
      }
    }
  }
  *where = text.str();
  return count;
}

class LlvmpipeAgreement : public ::testing::TestWithParam<AgreementCase> {};

TEST_P(LlvmpipeAgreement, SamePixels) {
  const AgreementCase& c = GetParam();
  const std::vector<Stroke> strokes = StrokesOf(c.run, c.view, c.step);
  QString error;
  const QImage theirs = RenderStrokesHeadless(strokes, QSize(c.size.width, c.size.height), &error);
  if (theirs.isNull()) {
    GTEST_SKIP() << "no headless OpenGL: " << error.toStdString();
  }
  RgbaImage ours = RgbaImage::Black(c.size.width, c.size.height);
  DrawStrokes(ours, strokes);
  std::string where;
  const int differing = CountDifferences(ours, theirs, &where);
  std::printf("%-44s %7d differing pixels\n", c.name.c_str(), differing);
  EXPECT_EQ(differing, 0) << where;
}

INSTANTIATE_TEST_SUITE_P(Diagrams, LlvmpipeAgreement, ::testing::ValuesIn(AllCases()),
                         [](const auto& param) { return param.param.name; });

// A view continues its picture step by step, drawing on top of what is
// there; a later picture over an earlier one must come out the same too.
TEST(LlvmpipeAgreementContinued, LaterStepsOverEarlierOnes) {
  const SeriesRun run = kRuns[3];
  const Size size = kWebSizes[0];
  HeadlessPicture picture(QSize(size.width, size.height));
  RgbaImage ours = RgbaImage::Black(size.width, size.height);
  QImage theirs;
  for (const int step : {52, 500, 1000}) {
    QString error;
    const std::vector<Stroke> strokes = StrokesOf(run, View::kWeb, step);
    theirs = picture.Draw(strokes, step == 52, &error);
    if (theirs.isNull()) {
      GTEST_SKIP() << "no headless OpenGL: " << error.toStdString();
    }
    DrawStrokes(ours, strokes);
  }
  std::string where;
  EXPECT_EQ(CountDifferences(ours, theirs, &where), 0) << where;
}

}  // namespace
