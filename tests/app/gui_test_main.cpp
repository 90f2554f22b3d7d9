// Runs the window tests inside one application, with the key pre-translation
// the real application installs.
#include <gtest/gtest.h>

#include <QApplication>

#include "pretranslate.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  return RUN_ALL_TESTS();
}
