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
