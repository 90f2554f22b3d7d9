#include "startup_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

#include "app_process.h"
#include "bench_stats.h"
#include "x11_session.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A window can vanish between finding and reading it; that is no reason for
// Xlib's default handler to end the benchmark.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// Where the web diagram's placeholder lies in the window, in dialog units of
// the 324 x 261 template: x 7..182, y 93..254. A column through its middle
// crosses the curve of every sentence; the time-series view above it is
// still black at step 0, indistinguishable from its placeholder.
bool CurveVisible(Display* display, Window window) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) == 0 ||
      attributes.map_state != IsViewable) {
    return false;
  }
  const int x = attributes.width * 94 / 324;
  const int top = attributes.height * 94 / 261;
  const int bottom = attributes.height * 253 / 261;
  XImage* column = XGetImage(display, window, x, top, 1, static_cast<unsigned>(bottom - top),
                             AllPlanes, ZPixmap);
  if (column == nullptr) {
    return false;
  }
  bool green = false;
  for (int y = 0; y < bottom - top && !green; ++y) {
    const unsigned long pixel = XGetPixel(column, 0, y);
    const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    green = g >= 90 && r < 60 && b < 60;
  }
  XDestroyImage(column);
  return green;
}

}  // namespace

StartupSample MeasureStartup(const std::string& program,
                             const std::function<void(AppProcess&)>& whileUp) {
  StartupSample sample;
  XSetErrorHandler(IgnoreXError);
  X11Session x11;
  Display* display = XOpenDisplay(nullptr);
  if (!x11.ok() || display == nullptr) {
    sample.error = "no X display";
    return sample;
  }
  const Clock::time_point spawned = Clock::now();
  AppProcess app(program, {"QT_QPA_PLATFORM=xcb"});
  Window window = 0;
  const Clock::time_point deadline = spawned + 20s;
  while (Clock::now() < deadline) {
    if (window == 0) {
      const auto windows = x11.FindWindows("Veridrift", app.pid());
      window = windows.empty() ? 0 : windows.front();
    }
    if (window != 0 && CurveVisible(display, window)) {
      sample.startupMs = std::chrono::duration<double, std::milli>(Clock::now() - spawned).count();
      sample.startupCpuMs = ProcessCpuMs(app.pid());
      sample.ok = true;
      break;
    }
    std::this_thread::sleep_for(1ms);
  }
  XCloseDisplay(display);
  if (!sample.ok) {
    sample.error = window == 0 ? "no window within 20 s" : "the diagram never showed";
    sample.error += ": " + app.Stderr();
    return sample;
  }
  sample.peakRssMiB = PeakRssMiB(app.pid());
  sample.shares = ResidentSharesOf(app.pid());
  if (whileUp) {
    whileUp(app);
  }
  x11.Close(window);
  if (!app.WaitForExit(5s)) {
    sample.error = "did not end after its window was closed";
    sample.ok = false;
  }
  return sample;
}
