#include "core/numbers/series.h"

RunParams g_runParams;
ValuationSeries g_series{};

void ComputeSeriesValues(float degree, float estimate, SentenceKind sentence) {
  g_runParams.sentence = sentence;
  g_runParams.estimate = estimate;
  g_runParams.degree = degree;
  g_series[0] = 0.0f;
  g_series[1] = estimate;
  // Each value starts from the stored single-precision predecessor, never
  // from the unrounded double of the step before.
  for (int i = 2; i < kSeriesLength; ++i) {
    g_series[i] = static_cast<float>(EvaluateSentence(g_series[i - 1]));
  }
}
