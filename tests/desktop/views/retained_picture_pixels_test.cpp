// A web view that builds each picture on the last one shows, pixel for
// pixel, what a whole new drawing shows, for every step of whole runs.
#include <gtest/gtest.h>

#include <QHash>
#include <QImage>
#include <string>
#include <vector>

#include "two_view_window.h"

namespace {

struct RunCase {
  std::string name;
  SentenceKind sentence;
  float degree;
  float estimate;
};

class RetainedPicture : public ::testing::TestWithParam<RunCase> {
 protected:
  static void SetUpTestSuite() {
    window_ = new TwoViewWindow;
    ASSERT_TRUE(window_->ShowAndWait());
  }
  static void TearDownTestSuite() {
    delete window_;
    window_ = nullptr;
  }
  void SetUp() override {
    const RunCase& run = GetParam();
    web()->ComputeSeries(run.degree, run.estimate, run.sentence);
  }
  static CDiagramView* web() { return window_->web; }

  // The picture the view paints now (grab() runs its paint off screen).
  static QImage Picture() { return web()->grab().toImage(); }
  static std::size_t Fingerprint(const QImage& image) {
    return qHashBits(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
  }
  static QImage DrawnAfresh(int counter) {
    web()->m_stepCounter = counter;
    web()->DiscardRetainedPicture();
    return Picture();
  }

  static TwoViewWindow* window_;
};

TwoViewWindow* RetainedPicture::window_ = nullptr;

TEST_P(RetainedPicture, EveryStepOfAWholeRunLooksAsIfDrawnAfresh) {
  // First the run as the animation paints it, one step on top of the other.
  std::vector<std::size_t> stepped;
  web()->m_stepCounter = 0;
  web()->DiscardRetainedPicture();
  for (int counter = 0; counter <= kSeriesLength; counter += counter == 0 ? 2 : 1) {
    web()->m_stepCounter = counter;
    web()->repaint();
    stepped.push_back(Fingerprint(Picture()));
  }
  // Then each step drawn whole.
  std::size_t i = 0;
  int differing = 0;
  for (int counter = 0; counter <= kSeriesLength; counter += counter == 0 ? 2 : 1, ++i) {
    if (Fingerprint(DrawnAfresh(counter)) != stepped[i] && ++differing <= 5) {
      ADD_FAILURE() << "step " << counter << " differs from its whole drawing";
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST_P(RetainedPicture, JumpsOfManyStepsAddUpToTheWholePicture) {
  web()->m_stepCounter = 0;
  web()->DiscardRetainedPicture();
  web()->repaint();
  for (const int counter : {2, 7, 300, 301, 998, 1000}) {
    web()->m_stepCounter = counter;
    web()->repaint();
    const QImage built = Picture();
    EXPECT_EQ(built, DrawnAfresh(counter)) << "at " << counter;
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, RetainedPicture,
                         ::testing::Values(
                             // The trace closes into a rectangle redrawn at every step.
                             RunCase{"Rectangle", 0, 0.30f, 0.90f},
                             // A thousand different values: every step new lines.
                             RunCase{"NeverRepeating", 3, 0.30f, 0.90f},
                             RunCase{"Converging", 9, 0.30f, 0.91f}),
                         [](const auto& test) { return test.param.name; });

}  // namespace
