// Measurements taken inside one process that shows the real main window: the
// controller and views run exactly as in the application, and since every
// repaint they do is synchronous, a call's duration is the time until the
// screen shows its outcome.
#pragma once

#include <vector>

class CSentenceDlg;
class QWidget;

struct ReactionFigures {
  std::vector<double> keystrokeMs;  // key press until everything it changed is on screen
  int keystrokesWithoutEffect = 0;  // must stay 0: each keystroke has to refresh
};
// Alternately deletes the degree's last digit and types a new one, in the
// focused degree field; each such keystroke is one whole Refresh.
ReactionFigures MeasureReaction(CSentenceDlg& dialog, int keystrokes);

struct PaintFigures {
  int counter = 0;
  double webMs = 0.0;     // median of synchronous repaints of the web view
  double seriesMs = 0.0;  // the same for the time-series view
};
std::vector<PaintFigures> MeasurePaints(CSentenceDlg& dialog, const std::vector<int>& counters,
                                        int repetitions);

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
