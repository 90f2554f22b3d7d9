// A test-only twin of the application: the same RunApplication, with the
// workers stepping every VERIDRIFT_TEST_STEP_MS milliseconds (default 1)
// instead of every 500, so that a whole run of 999 steps, and the idle state
// at step 1000 after it, can be reached in a few seconds. It also takes its
// start event's name from VERIDRIFT_TEST_START_EVENT, so that it never meets
// a user's instance or another test. The real executable reads neither.
#include <cstdlib>
#include <string>

#include "core/numbers/number_text.h"
#include "desktop/animation/animation_worker.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/sentence_app.h"

int main(int argc, char** argv) {
  const char* interval = std::getenv("VERIDRIFT_TEST_STEP_MS");
  CDiagramView::SetStepInterval(interval != nullptr ? static_cast<int>(ParseDouble(interval)) : 1);
  if (const char* eventName = std::getenv("VERIDRIFT_TEST_START_EVENT")) {
    SetStartEventName(eventName);
  }
  return RunApplication(argc, argv);
}
