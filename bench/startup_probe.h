// The real application started as users start it, watched from the X display:
// how long from process start until its diagrams are on screen, and what the
// process costs once it is up.
#pragma once

#include <functional>
#include <string>

#include "bench_stats.h"

class AppProcess;

struct StartupSample {
  bool ok = false;
  std::string error;
  double startupMs = 0.0;     // spawn until the web diagram's curve shows on screen
  double startupCpuMs = 0.0;  // processor time the process had used by then
  double peakRssMiB = 0.0;    // VmHWM right then
  ResidentShares shares;      // what that memory holds
};

// Starts `program`, polls the display every millisecond until the green curve
// of the web diagram appears in the window, then calls `whileUp` (if given)
// and closes the window the way a window manager's close button does.
StartupSample MeasureStartup(const std::string& program,
                             const std::function<void(AppProcess&)>& whileUp = {});
