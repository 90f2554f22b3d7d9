// Measurements taken inside one process that shows the real main window: the
// controller and views run exactly as in the application, and since every
// repaint they do is synchronous, a call's duration is the time until the
// screen shows its outcome.
#pragma once

#include <vector>

class CSentenceDlg;
class QWidget;

struct ReactionFigures {
  std::vector<double> keystrokeMs;     // key press until everything it changed is on screen
  std::vector<double> keystrokeCpuMs;  // processor time this process spent meanwhile
  int keystrokesWithoutEffect = 0;     // must stay 0: each keystroke has to refresh
};
// Alternately deletes the degree's last digit and types a new one, in the
// focused degree field; each such keystroke is one whole Refresh.
ReactionFigures MeasureReaction(CSentenceDlg& dialog, int keystrokes);

// Medians of synchronous repaints of one view at one step count, in ms.
struct PaintFigures {
  int counter = 0;
  double stepMs = 0.0;       // the animation's paint: the count was one less before
  double unchangedMs = 0.0;  // the same picture again (an expose, a second request)
  double afreshMs = 0.0;     // everything drawn anew (after a size change, a lost context)
};
struct ViewPaintFigures {
  const char* view = "";
  std::vector<PaintFigures> rows;
};
std::vector<ViewPaintFigures> MeasurePaints(CSentenceDlg& dialog, const std::vector<int>& counters,
                                            int repetitions);

// Goes to `count` steps spread over 0..1000 (1000 and 0 among them) with
// "Show Output" checked, as "Go to Step..." does: each until both views and
// the log show it, in ms.
std::vector<double> MeasureGoToStep(CSentenceDlg& dialog, int count);

struct PacingFigures {
  std::vector<double> webIntervalsMs;
  std::vector<double> seriesIntervalsMs;
  int largestCounterGap = 0;  // between the views, looked at on every step of either
  int counterGapAtEnd = 0;    // web minus time series after the steps
  double meanLagMs = 0.0;     // how long after the web view the series view shows a step
};
// Starts the animation from step 0 with "Show Output" checked and watches
// `steps` steps of each view.
PacingFigures MeasurePacing(CSentenceDlg& dialog, int steps);

// Brings both views to step 1000 through their own workers, lets them settle
// with `focus` focused (a text field's caret blinks), then the processor time
// this whole process uses over `seconds`.
double MeasureIdleCpuMsAtLimit(CSentenceDlg& dialog, int seconds, QWidget& focus);
