// Runs the window tests inside one application, with the key pre-translation
// the real application installs.
#include <gtest/gtest.h>

#include <QApplication>

#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "animation_worker.h"
#include "pretranslate.h"
#include "start_event.h"

const std::string& TestStartEventName() {
  static const std::string name = "VeridriftAppTest-" + std::to_string(getpid());
  return name;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  // A start event of our own: a running application, or another test
  // program, must not start or stop these windows' animation.
  SetStartEventName(TestStartEventName());
  const int result = RUN_ALL_TESTS();
  shm_unlink(StartEventObjectName(TestStartEventName(), getuid()).c_str());
  return result;
}
