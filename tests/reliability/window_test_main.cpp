// Runs the in-process window tests inside one application, with the key
// pre-translation the real application installs, a start event of their own
// and workers that step every millisecond.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "desktop/animation/animation_worker.h"
#include "desktop/animation/start_event.h"
#include "desktop/controls/pretranslate.h"
#include "desktop/views/diagram_view.h"
#include "own_start_event.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallPreTranslateFilter(application);
  // A running application, or another test program, must not start or stop
  // these windows' animation.
  SetStartEventName(OwnStartEventName("VeridriftReliability"));
  CDiagramView::SetStepInterval(1);
  const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
  // Look for leaks while the X display is still open: closing it unloads
  // Mesa's driver, whose process-lifetime allocations would then come from a
  // module without a name to suppress them by.
  __lsan_do_leak_check();
#endif
  return result;
}
