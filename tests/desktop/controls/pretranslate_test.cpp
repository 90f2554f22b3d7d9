#include "desktop/controls/pretranslate.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <vector>

namespace {

class CountingWindow : public QWidget, public CPreTranslate {
 public:
  bool PreTranslateMessage(QKeyEvent* keyDown) override {
    keys.push_back(keyDown->key());
    return keyDown->key() == Qt::Key_Escape;
  }
  std::vector<int> keys;
};

class CountingButton : public QPushButton, public CPreTranslate {
 public:
  using QPushButton::QPushButton;
  bool PreTranslateMessage(QKeyEvent* keyDown) override {
    keys.push_back(keyDown->key());
    return false;
  }
  std::vector<int> keys;
};

class PreTranslateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button = new CountingButton("Graph", &window);
    button->setGeometry(10, 10, 80, 30);
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return button->hasFocus(); }));
  }

  CountingWindow window;
  CountingButton* button = nullptr;
};

// A key the focused control ignores travels on to its parents; the walk has
// already asked them, so they are not asked a second time.
TEST_F(PreTranslateTest, EachWidgetIsAskedOncePerKey) {
  QTest::keyClick(button, Qt::Key_G);
  QTest::keyClick(button, Qt::Key_R);
  EXPECT_EQ(button->keys, (std::vector<int>{Qt::Key_G, Qt::Key_R}));
  EXPECT_EQ(window.keys, (std::vector<int>{Qt::Key_G, Qt::Key_R}));
}

TEST_F(PreTranslateTest, InnermostFirstAndConsumedKeysGoNoFurther) {
  QTest::keyClick(button, Qt::Key_Escape);
  EXPECT_EQ(button->keys, std::vector<int>{Qt::Key_Escape});
  EXPECT_EQ(window.keys, std::vector<int>{Qt::Key_Escape});
}

TEST_F(PreTranslateTest, AKeySentToTheWindowItselfIsWalkedFromThere) {
  QTest::keyClick(&window, Qt::Key_G);
  QTest::keyClick(&window, Qt::Key_G);
  EXPECT_TRUE(button->keys.empty());
  EXPECT_EQ(window.keys, (std::vector<int>{Qt::Key_G, Qt::Key_G}));
}

}  // namespace
