// On a scaled screen the picture covers every device pixel of the view.
#include <gtest/gtest.h>

#include "two_view_window.h"

namespace {

TEST(HighDpi, PictureCoversTheWholeViewInDevicePixels) {
  TwoViewWindow window;
  ASSERT_TRUE(window.ShowAndWait());
  const qreal ratio = window.web->devicePixelRatioF();
  if (ratio <= 1.0) {
    GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";
  }
  window.web->ComputeSeries(0.30f, 0.90f, 0);
  window.web->m_stepCounter = 0;
  window.web->SendPaint();
  const QImage image = ScreenImage(window.web);
  ASSERT_EQ(image.size(), window.web->size() * ratio);
  // All four sides of the frame sit a margin in from the view's edges.
  const QColor grey{77, 77, 77};
  EXPECT_TRUE(HasColourNear(image, 0.0, 0.5, grey, 2));
  EXPECT_TRUE(HasColourNear(image, 1.0, 0.5, grey, 2));
  EXPECT_TRUE(HasColourNear(image, 0.5, 0.0, grey, 2));
  EXPECT_TRUE(HasColourNear(image, 0.5, 1.0, grey, 2));
}

}  // namespace
