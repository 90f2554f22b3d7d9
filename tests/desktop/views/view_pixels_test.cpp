// What the two views put on the display for sentence 0, k = 0.30, x0 = 0.90,
// whose trace closes into a rectangle with corners at 0.4 and 0.9.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "two_view_window.h"

namespace {

const QColor kFrameGrey{77, 77, 77};
const QColor kDiagonalGrey{102, 102, 102};
const QColor kGreen{0, 128, 0};
const QColor kRed{255, 0, 0};
const QColor kOrange{255, 128, 0};
const QColor kYellow{255, 255, 0};
const QColor kBlack{0, 0, 0};

class ViewPixels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window_ = std::make_unique<TwoViewWindow>();
    ASSERT_TRUE(window_->ShowAndWait());
  }
  static void TearDownTestSuite() { window_.reset(); }
  void SetUp() override { window_->web->ComputeSeries(0.30f, 0.90f, 0); }

  // Sets the counter, repaints at once and reads the display back.
  static QImage Show(CDiagramView* view, int counter) {
    view->m_stepCounter = counter;
    view->SendPaint();
    return ScreenImage(view);
  }
  static CDiagramView* Web() { return window_->web; }
  static CDiagramView* Series() { return window_->series; }

  static std::unique_ptr<TwoViewWindow> window_;
};

std::unique_ptr<TwoViewWindow> ViewPixels::window_;

struct Probe {
  double x;
  double y;
  QColor colour;
};

struct PictureCase {
  std::string name;
  int counter;
  std::vector<Probe> probes;
};

class WebPicture : public ViewPixels, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(WebPicture, LinesLieWhereTheDiagramPutsThem) {
  const QImage image = Show(Web(), GetParam().counter);
  ASSERT_EQ(image.size(), Web()->size() * Web()->devicePixelRatioF());
  for (const Probe& p : GetParam().probes) {
    EXPECT_TRUE(HasColourNear(image, p.x, p.y, p.colour))
        << "(" << p.x << ", " << p.y << ") should be " << p.colour.name().toStdString();
  }
}

const std::vector<Probe> kFixedParts{
    {0.0, 0.5, kFrameGrey}, {1.0, 0.5, kFrameGrey},    {0.5, 1.0, kFrameGrey},
    {0.5, 0.0, kFrameGrey}, {0.2, 0.2, kDiagonalGrey}, {0.75, 0.75, kDiagonalGrey},
    {0.1, 0.8, kGreen},     {0.6, 0.7, kGreen},        {0.8, 0.5, kGreen},
};

std::vector<Probe> With(std::vector<Probe> more) {
  std::vector<Probe> all = kFixedParts;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Counters, WebPicture,
    ::testing::Values(
        // Frame, diagonal and curve only.
        PictureCase{"Zero", 0, With({{0.9, 0.2, kBlack}, {0.65, 0.4, kBlack}})},
        // The first line rises in red from x0 on the axis to the curve at 0.4.
        PictureCase{"Two", 2, With({{0.9, 0.2, kRed}, {0.65, 0.4, kBlack}, {0.9, 0.6, kBlack}})},
        // Orange across to the diagonal at 0.4, then up to the curve at 0.9.
        PictureCase{"Three", 3,
                    With({{0.9, 0.2, kRed},
                          {0.65, 0.4, kOrange},
                          {0.4, 0.65, kOrange},
                          {0.65, 0.9, kBlack}})},
        // Yellow closes the rectangle.
        PictureCase{"Four", 4,
                    With({{0.65, 0.9, kYellow}, {0.9, 0.65, kYellow}, {0.65, 0.4, kOrange}})},
        // Every step redraws the rectangle; the last ones drawn show: 997 red
        // along 0.9, 998 orange along 0.4.
        PictureCase{"Thousand", 1000,
                    With({{0.9, 0.2, kRed},
                          {0.65, 0.9, kRed},
                          {0.9, 0.65, kRed},
                          {0.65, 0.4, kOrange},
                          {0.4, 0.65, kOrange}})}),
    [](const auto& testCase) { return testCase.param.name; });

TEST_F(ViewPixels, EachPaintStartsAfreshWithNothingLeftFromTheLast) {
  Show(Web(), 1000);
  const QImage image = Show(Web(), 0);
  EXPECT_TRUE(HasColourNear(image, 0.65, 0.4, kBlack));
  EXPECT_TRUE(HasColourNear(image, 0.9, 0.2, kBlack));
  EXPECT_TRUE(HasColourNear(image, 0.1, 0.8, kGreen));
}

TEST_F(ViewPixels, TimeSeriesIsBlackBeforeTheFirstStepAndAtEachNewPage) {
  for (int counter : {0, 50, 100, 1000}) {
    EXPECT_TRUE(IsAllBlack(Show(Series(), counter))) << counter;
  }
}

TEST_F(ViewPixels, TimeSeriesFirstSegmentRisesFromZeroToTheEstimate) {
  const QImage image = Show(Series(), 2);
  EXPECT_TRUE(HasColourNear(image, 0.5 / 49, 0.45, kRed));
  EXPECT_TRUE(HasColourNear(image, 0.5, 0.5, kBlack));
}

TEST_F(ViewPixels, TimeSeriesNewPageStartsWithItsFirstValueAtTheLeft) {
  // 51 holds one vertex and draws nothing; 52 joins s[50] = 0.4 to s[51] = 0.9.
  EXPECT_TRUE(IsAllBlack(Show(Series(), 51)));
  const QImage image = Show(Series(), 52);
  EXPECT_TRUE(HasColourNear(image, 0.5 / 49, 0.65, kRed));
  EXPECT_TRUE(HasColourNear(image, 1.5 / 49, 0.65, kBlack));
}

TEST_F(ViewPixels, ViewOfAnUnknownModeIsBlack) {
  Web()->m_mode = 2;
  const QImage image = Show(Web(), 1000);
  Web()->m_mode = 1;
  EXPECT_TRUE(IsAllBlack(image));
}

// ---- Repaints asked for by the controller and the workers ----

TEST_F(ViewPixels, RepaintWithNothingInvalidStillRedrawsAtOnce) {
  Show(Web(), 0);
  QTest::qWait(50);  // every pending paint is done: nothing is invalid
  Web()->m_stepCounter = 2;
  ASSERT_TRUE(HasColourNear(ScreenImage(Web()), 0.9, 0.2, kBlack));
  Web()->repaint();  // what a worker runs; no event loop turn after it
  EXPECT_TRUE(HasColourNear(ScreenImage(Web()), 0.9, 0.2, kRed));
}

TEST_F(ViewPixels, BothViewsRepaintedBackToBackAreBothOnScreen) {
  // Both workers step at nearly the same moment; the second repaint must not
  // be put off to a later turn of the event loop.
  Show(Web(), 0);
  Show(Series(), 0);
  Web()->m_stepCounter = 3;
  Series()->m_stepCounter = 52;
  Web()->repaint();
  Series()->repaint();
  EXPECT_TRUE(HasColourNear(ScreenImage(Web()), 0.65, 0.4, kOrange));
  EXPECT_TRUE(HasColourNear(ScreenImage(Series()), 0.5 / 49, 0.65, kRed));
}

}  // namespace
