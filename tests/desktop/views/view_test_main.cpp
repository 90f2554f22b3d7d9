// Runs the view tests inside one application. The workers the views start
// wait on an event of their own, so a running copy of the tool cannot start
// them and no test here can start that copy's; it goes when the program ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <string>

#include "desktop/animation/animation_worker.h"
#include "own_start_event.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  SetStartEventName(OwnStartEventName("VeridriftDiagramViewTests"));
  const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
  // Look for leaks while the display is still open: closing it unloads
  // Mesa's driver, and the driver's own process-lifetime allocations could no
  // longer be told apart from ours by the suppressions.
  __lsan_do_leak_check();
#endif
  return result;
}
