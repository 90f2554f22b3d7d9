// The text of the output log: a head with the formula of the current
// sentence and the first two values, then one entry per animation step, two
// entries to a line, cleared back to the formula every 40 steps.
#pragma once

#include <string>

#include "core/numbers/series.h"

inline constexpr int kLogPageSteps = 40;
// The tallest page: a formula of two lines, the blank line, and the values
// of a page two to a line.
inline constexpr int kLogFormulaLinesAtMost = 2;
inline constexpr int kLogPageLines = kLogFormulaLinesAtMost + 1 + kLogPageSteps / 2;

// True when the log's last line holds one entry, so the next entry ends it.
// Only a page clear resets it; a refresh keeps it. User interface thread only.
extern bool g_logLineOpen;

// " <formula>\n\n": one blank in front, so the formula picture drawn over
// the panel's corner completes the line to x(n+1) = ...
std::string FormatLogHead(const std::string& formulaLine);
// "    x[00] = s0    x[01] = s1\n"
std::string FormatFirstValues(float s0, float s1);
// "    x[ii] = si", the step with at least two digits.
std::string FormatLogEntry(int step, float value);

// The whole log as a refresh writes it: head and first values.
std::string FormatRefreshedLog(const std::string& formulaLine, float s0, float s1);

// What the notification of `step` does to the log. Steps 2 to 999 add their
// entry (ending the line when one is open) and flip lineOpen; a multiple of
// 40, and the last step (1000 and beyond, which has no value in the series),
// clear the page to the head and close the line. A step below 2 was cancelled
// by a refresh before it was reported: it leaves everything as it is.
// Returns whether the log changed.
bool AppendStepToLog(std::string& log, bool& lineOpen, int step, const std::string& formulaLine,
                     const ValuationSeries& series);

// The log as an uninterrupted run from step 0 leaves it at `step`, with its
// line open or closed as that run leaves it. Only the page of `step` is
// rebuilt: every earlier page was cleared away. The run starts with the line
// closed, as a window just opened has it; with the output hidden the steps
// went by unlogged and the refreshed log stands.
struct LogAtStep {
  std::string text;
  bool lineOpen = false;
};
LogAtStep RebuildLogAtStep(int step, bool showOutput, const std::string& formulaLine,
                           const ValuationSeries& series);
