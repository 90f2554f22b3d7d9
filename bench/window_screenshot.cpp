// Takes the README's screenshot: starts the application as a user would,
// picks a sentence, turns the log on, starts the run with G and photographs
// the window some steps in, all from the X display.
//
//   window_screenshot OUTPUT.png
#include <QImage>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "app_process.h"
#include "desktop/animation/start_event.h"
#include "x11_session.h"

namespace {

using namespace std::chrono_literals;

// Sentence 3 never repeats a value: its web fills with a new staircase.
constexpr int kSentence = 3;
// Enough steps for a long staircase, a log that still fits its panel.
constexpr int kSteps = 32;
constexpr auto kStepInterval = 500ms;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
    return 2;
  }
  X11Session x11;
  if (!x11.ok()) {
    std::fprintf(stderr, "window_screenshot: no X display\n");
    return 1;
  }
  // G signals the start event every instance of this user shares: leave it
  // as it was found, for any other instance running.
  const std::unique_ptr<StartEvent> sharedEvent = OpenStartEvent();
  const bool wasSignalled = sharedEvent->IsSet();

  AppProcess app(VERIDRIFT_EXE, {"QT_QPA_PLATFORM=xcb"});
  const Window window = x11.WaitForWindow("Veridrift", app.pid(), 20s);
  if (window == 0) {
    std::fprintf(stderr, "window_screenshot: no window: %s\n", app.Stderr().c_str());
    return 1;
  }
  std::this_thread::sleep_for(500ms);
  // The picker has the focus: arrows choose the sentence. Tab walks on to
  // "Show Output" (degree, estimate, Graph, Restart, then the box).
  for (int i = 0; i < kSentence; ++i) {
    x11.Key(window, "Down");
  }
  for (int i = 0; i < 5; ++i) {
    x11.Key(window, "Tab");
  }
  x11.Key(window, "space");
  x11.Key(window, "g");
  // Photograph between two steps, not while one is being shown.
  std::this_thread::sleep_for(kSteps * kStepInterval + kStepInterval / 2);
  const WindowImage shot = x11.Grab(window);
  x11.Key(window, "g");
  x11.Close(window);
  app.WaitForExit(5s);
  wasSignalled ? sharedEvent->Set() : sharedEvent->Reset();

  if (shot.width == 0) {
    std::fprintf(stderr, "window_screenshot: could not read the window\n");
    return 1;
  }
  QImage image(shot.width, shot.height, QImage::Format_RGB32);
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      image.setPixel(x, y, 0xFF000000u | shot.At(x, y));
    }
  }
  if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "window_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
