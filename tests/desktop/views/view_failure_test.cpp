// A display without a usable OpenGL surface: one message per view, the window
// still comes up and works, the views stay black and say nothing more.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <string>

#include "desktop/views/render_target.h"
#include "desktop/views/surface_setup.h"
#include "two_view_window.h"

namespace {

class SurfaceFailures : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSurfaceFailureReporter([this](const QString& text) { messages_ << text; });
  }
  void TearDown() override {
    SetSurfaceFailureReporter({});
    ForceSurfaceFailure(SurfaceFailure::kNone);
  }

  // The window comes up, its other controls work and reach the screen, and
  // the views stay unpainted (the black placeholder) with a picture to show.
  static void ExpectWorkingWindowWithBlackViews(TwoViewWindow& window) {
    ASSERT_TRUE(window.ShowAndWait());
    int clicks = 0;
    QObject::connect(window.button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QTest::mouseClick(window.button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(HasColourNear(ScreenImage(window.marker), 0.5, 0.5, kMarkerColour));

    window.web->ComputeSeries(0.30f, 0.90f, 0);
    window.web->m_stepCounter = 1000;
    window.series->m_stepCounter = 3;
    for (int i = 0; i < 3; ++i) {
      window.web->SendPaint();
      window.series->repaint();
    }
    EXPECT_TRUE(IsAllBlack(ScreenImage(window.web)));
    EXPECT_TRUE(IsAllBlack(ScreenImage(window.series)));
  }

  QStringList messages_;
};

struct FailureCase {
  std::string name;
  SurfaceFailure failure;
  QString text;
};

class ForcedFailure : public SurfaceFailures, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ForcedFailure, EachViewReportsOnceAndTheWindowWorks) {
  ForceSurfaceFailure(GetParam().failure);
  TwoViewWindow window;
  EXPECT_EQ(messages_, QStringList({GetParam().text, GetParam().text}));
  ExpectWorkingWindowWithBlackViews(window);
  EXPECT_EQ(messages_.size(), 2);  // later paints fail silently
}

INSTANTIATE_TEST_SUITE_P(Failures, ForcedFailure,
                         ::testing::Values(FailureCase{"NoFormat", SurfaceFailure::kNoFormat,
                                                       "ChoosePixelFormat Failed"},
                                           FailureCase{"CannotActivate",
                                                       SurfaceFailure::kCannotActivate,
                                                       "SetPixelFormat Failed"}),
                         [](const auto& testCase) { return testCase.param.name; });

TEST_F(SurfaceFailures, NothingIsReportedWhenTheSurfaceWorks) {
  TwoViewWindow window;
  ASSERT_TRUE(window.ShowAndWait());
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_FALSE(IsAllBlack(ScreenImage(window.web)));  // the frame and curve are there
}

TEST_F(SurfaceFailures, SetupReportsWhatItCouldNotHave) {
  ForceSurfaceFailure(SurfaceFailure::kCannotActivate);
  DiagramRenderTarget target;
  EXPECT_FALSE(SetupPixelFormat(target));
  EXPECT_FALSE(target.IsCreated());
  EXPECT_FALSE(target.Begin(QSize(10, 10)));
  EXPECT_EQ(messages_, QStringList({"SetPixelFormat Failed"}));
}

TEST_F(SurfaceFailures, WorkingTargetRefusesAnEmptyPicture) {
  DiagramRenderTarget target;
  ASSERT_TRUE(SetupPixelFormat(target));
  EXPECT_FALSE(target.Begin(QSize(0, 10)));
  ASSERT_TRUE(target.Begin(QSize(4, 3)));
  const QImage picture = target.End();
  EXPECT_EQ(picture.size(), QSize(4, 3));
  EXPECT_FALSE(picture.hasAlphaChannel());
}

TEST_F(SurfaceFailures, DefaultReportIsAPlainMessageBoxWithOnlyOk) {
  SetSurfaceFailureReporter({});
  QString text = "none shown";
  QString title = "none shown";
  QMessageBox::StandardButtons buttons;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      title = box->windowTitle();
      buttons = box->standardButtons();
      box->button(QMessageBox::Ok)->click();
    }
  });
  poll.start(10);
  ReportSurfaceFailure(SurfaceFailure::kNoFormat);
  EXPECT_EQ(text, "ChoosePixelFormat Failed");
  EXPECT_EQ(title, "");
  EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(SurfaceFailureText, NamesTheStepThatFailed) {
  EXPECT_EQ(SurfaceFailureText(SurfaceFailure::kNoFormat), "ChoosePixelFormat Failed");
  EXPECT_EQ(SurfaceFailureText(SurfaceFailure::kCannotActivate), "SetPixelFormat Failed");
  EXPECT_EQ(SurfaceFailureText(SurfaceFailure::kNone), "");
}

// ---- Whole processes, run by their own ctest entries ----

TEST_F(SurfaceFailures, ForcedByTheEnvironment) {
  const QString wanted = qEnvironmentVariable("VERIDRIFT_FORCE_SURFACE_FAILURE");
  if (wanted.isEmpty()) {
    GTEST_SKIP() << "runs with VERIDRIFT_FORCE_SURFACE_FAILURE=choose|set";
  }
  const QString text =
      wanted == "choose" ? "ChoosePixelFormat Failed" : QString("SetPixelFormat Failed");
  TwoViewWindow window;
  EXPECT_EQ(messages_, QStringList({text, text}));
  ExpectWorkingWindowWithBlackViews(window);
  EXPECT_EQ(messages_.size(), 2);
}

TEST_F(SurfaceFailures, DisplayWithoutOpenGL) {
  if (qEnvironmentVariable("QT_XCB_GL_INTEGRATION") != "none") {
    GTEST_SKIP() << "runs with QT_XCB_GL_INTEGRATION=none";
  }
  TwoViewWindow window;
  EXPECT_EQ(messages_, QStringList({"ChoosePixelFormat Failed", "ChoosePixelFormat Failed"}));
  ExpectWorkingWindowWithBlackViews(window);
  EXPECT_EQ(messages_.size(), 2);
}

}  // namespace
