// The run parameters and the series of estimates they produce. Both are
// process-wide, written together by ComputeSeriesValues alone, on the user
// interface thread.
#pragma once

#include <array>

#include "core/numbers/sentence.h"

inline constexpr int kSeriesLength = 1000;
// A run reveals one step of the series this often, in every shell.
inline constexpr int kStepIntervalMs = 500;

struct RunParams {
  SentenceKind sentence = 0;
  float degree = 0.0f;
  float estimate = 0.0f;
};

// s[0] = 0 (the foot of the web trace), s[1] = x0, s[i] = f(s[i-1]).
using ValuationSeries = std::array<float, kSeriesLength>;

extern RunParams g_runParams;
extern ValuationSeries g_series;

// The model's half of a view's ComputeSeries: stores the parameters, then
// computes all kSeriesLength values. Nothing is validated.
void ComputeSeriesValues(float degree, float estimate, SentenceKind sentence);

// s[i] for 0 <= i < kSeriesLength; no other index is valid.
inline float SeriesAt(int i) {
  return g_series[static_cast<std::size_t>(i)];
}
