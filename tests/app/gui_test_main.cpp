// Runs the window tests inside one application, with the key pre-translation
// the real application installs.
#include <gtest/gtest.h>

#include <QApplication>

#include <unistd.h>

#include <string>

#include "animation_worker.h"
#include "pretranslate.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  // A start event of our own: a running application, or another test
  // program, must not start or stop these windows' animation.
  SetStartEventName("VeridriftAppTest-" + std::to_string(getpid()));
  return RUN_ALL_TESTS();
}
