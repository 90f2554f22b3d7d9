// Runs the window tests inside one application, with the key pre-translation
// the real application installs.
#include <gtest/gtest.h>

#include <QApplication>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <string>

#include "desktop/animation/animation_worker.h"
#include "desktop/controls/pretranslate.h"
#include "own_start_event.h"

const std::string& TestStartEventName() {
  static const std::string name = OwnStartEventName("VeridriftAppTest");
  return name;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Accessibility is read through Qt's own interfaces: no bus of the user's
  // session (nor its accessibility bus) may hear these windows.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
  qunsetenv("AT_SPI_BUS_ADDRESS");
  qunsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  // A start event of our own: a running application, or another test
  // program, must not start or stop these windows' animation.
  SetStartEventName(TestStartEventName());
  const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
  // Look for leaks while the X display is still open: closing it unloads
  // Mesa's driver, and what that driver keeps for the process would then be
  // reported from a module that no longer has a name to suppress it by.
  __lsan_do_leak_check();
#endif
  return result;
}
