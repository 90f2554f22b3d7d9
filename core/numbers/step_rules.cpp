#include "core/numbers/step_rules.h"

#include "core/numbers/series.h"

int NextShownStep(int step) {
  if (step < 0) {
    return 0;
  }
  if (step >= kSeriesLength) {
    return step;
  }
  return step + 1 == 1 ? 2 : step + 1;
}

int PreviousShownStep(int step) {
  if (step > kSeriesLength) {
    return kSeriesLength;
  }
  return step <= 2 ? 0 : step - 1;
}

StepCountText ParseStepCount(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  const std::size_t last = text.find_last_not_of(" \t");
  const std::string_view digits =
      first == std::string_view::npos ? std::string_view() : text.substr(first, last - first + 1);
  const std::string range = "a whole number from 0 to " + std::to_string(kSeriesLength);
  if (digits.empty()) {
    return {false, 0, "Type a step count: " + range + "."};
  }
  // Counted digit by digit, leading zeros allowed, so no locale and no
  // overflow can change what a long number means: past the last step is past.
  long long value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') {
      return {false, 0, "\"" + std::string(digits) + "\" is not a step count: " + range + "."};
    }
    if (value <= kSeriesLength) {
      value = value * 10 + (c - '0');
    }
  }
  if (value > kSeriesLength) {
    return {false, 0, std::string(digits) + " is past the last step: " + range + "."};
  }
  return {true, static_cast<int>(value), std::string()};
}
