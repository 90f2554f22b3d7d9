// What must hold in the main window after every user action, whatever the
// actions were, as plain functions over what the window shows. Each returns
// an empty string when the rule holds, and otherwise says what is wrong.
#pragma once

#include <string>
#include <string_view>

#include "core/numbers/series.h"

// A step counter shows 0, or 2 to 1000; never 1, never beyond the series.
std::string CheckStepCount(const char* view, int count);

// A value field that does not have the focus shows "?" or a canonical value,
// "0.00" to "0.99" or "1.00".
std::string CheckFieldAtRest(const char* field, std::string_view text);

// The log: the head with the formula of the current sentence, then, unless a
// page was cleared since the last refresh, the line of x[00] and x[01]; then
// entries "    x[NN] = V", at most two to a line, each for a step from 2 to
// 999 that is not a multiple of 40, each V the series value of its step.
std::string CheckLog(std::string_view log, const std::string& formula,
                     const ValuationSeries& series);
