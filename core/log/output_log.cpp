#include "core/log/output_log.h"

#include "core/numbers/number_text.h"

bool g_logLineOpen = false;

std::string FormatLogHead(const std::string& formulaLine) {
  return " " + formulaLine + "\n\n";
}

std::string FormatFirstValues(float s0, float s1) {
  return "    x[00] = " + FormatFixed2(s0) + "    x[01] = " + FormatFixed2(s1) + "\n";
}

std::string FormatLogEntry(int step, float value) {
  return "    x[" + FormatInt2(step) + "] = " + FormatFixed2(value);
}

std::string FormatRefreshedLog(const std::string& formulaLine, float s0, float s1) {
  return FormatLogHead(formulaLine) + FormatFirstValues(s0, s1);
}

bool AppendStepToLog(std::string& log, bool& lineOpen, int step, const std::string& formulaLine,
                     const ValuationSeries& series) {
  if (step < 2) {
    return false;
  }
  if (step >= kSeriesLength || step % kLogPageSteps == 0) {
    // The entry of a page's last step would vanish with the page at once, so
    // it is not built at all.
    lineOpen = false;
    log = FormatLogHead(formulaLine);
    return true;
  }
  std::string entry = FormatLogEntry(step, series[static_cast<std::size_t>(step)]);
  if (lineOpen) {
    entry += "\n";
  }
  lineOpen = !lineOpen;
  log += entry;
  return true;
}

LogAtStep RebuildLogAtStep(int step, bool showOutput, const std::string& formulaLine,
                           const ValuationSeries& series) {
  LogAtStep at{FormatRefreshedLog(formulaLine, series[0], series[1]), false};
  if (!showOutput || step < 2) {
    return at;
  }
  // The run's last clear before `step`; from there on the page is what the
  // steps append, replayed through the very rule the animation uses.
  const int shown = step > kSeriesLength ? kSeriesLength : step;
  const int pageStart = shown / kLogPageSteps * kLogPageSteps;
  for (int s = pageStart < 2 ? 2 : pageStart; s <= shown; ++s) {
    AppendStepToLog(at.text, at.lineOpen, s, formulaLine, series);
  }
  return at;
}
