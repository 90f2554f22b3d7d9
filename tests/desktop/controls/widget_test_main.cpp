// The widget tests need an application object and the key pre-translation
// that the main window relies on.
#include <gtest/gtest.h>

#include <QApplication>

#include "desktop/controls/pretranslate.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  InstallPreTranslateFilter(application);
  return RUN_ALL_TESTS();
}
