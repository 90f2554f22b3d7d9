#include "core/orbit/orbit_columns.h"

#include <algorithm>

#include "core/numbers/valuation.h"

OrbitAxis DefaultOrbitAxis(SentenceKind sentence) {
  return SentenceUsesDegree(sentence) ? OrbitAxis::kDegree : OrbitAxis::kEstimate;
}

float OrbitParameter(const OrbitRequest& request, int column) {
  const double step = (request.to - request.from) / (request.columns - 1);
  return static_cast<float>(request.from + column * step);
}

RunParams OrbitColumnRun(const OrbitRequest& request, int column) {
  RunParams run{request.sentence, request.degree, request.estimate};
  const float parameter = OrbitParameter(request, column);
  if (request.axis == OrbitAxis::kDegree) {
    run.degree = parameter;
  } else {
    run.estimate = parameter;
  }
  return run;
}

namespace {

// A few runs side by side: each step waits for the one before, so one run
// alone leaves the processor idle between steps; runs in lockstep fill it.
// The sentence is fixed at compile time, so the valuation's choice of
// formula happens once, not at every step. The arithmetic is the
// valuation's own, so the values are the same bit for bit.
// Steps from .. to - 1, each from the stored value before it.
template <SentenceKind kKind, int kRuns>
void IterateRuns(const RunParams* runs, int from, int to, float* const* values) {
  float degree[kRuns];
  float s[kRuns];
  for (int j = 0; j < kRuns; ++j) {
    degree[j] = runs[j].degree;
    s[j] = values[j][from - 1];
  }
  for (int i = from; i < to; ++i) {
    for (int j = 0; j < kRuns; ++j) {
      s[j] = static_cast<float>(SentenceValuation(kKind, degree[j], s[j]));
      values[j][i] = s[j];
    }
  }
}

template <int kRuns>
void IterateRunsOf(SentenceKind sentence, const RunParams* runs, int from, int to,
                   float* const* values) {
  switch (sentence) {
    case 0:
      return IterateRuns<0, kRuns>(runs, from, to, values);
    case 1:
      return IterateRuns<1, kRuns>(runs, from, to, values);
    case 2:
      return IterateRuns<2, kRuns>(runs, from, to, values);
    case 3:
      return IterateRuns<3, kRuns>(runs, from, to, values);
    case 4:
      return IterateRuns<4, kRuns>(runs, from, to, values);
    case 5:
      return IterateRuns<5, kRuns>(runs, from, to, values);
    case 6:
      return IterateRuns<6, kRuns>(runs, from, to, values);
    case 7:
      return IterateRuns<7, kRuns>(runs, from, to, values);
    case 8:
      return IterateRuns<8, kRuns>(runs, from, to, values);
    case 9:
      return IterateRuns<9, kRuns>(runs, from, to, values);
    default:
      return IterateRuns<-1, kRuns>(runs, from, to, values);
  }
}

constexpr int kRunsTogether = 4;
constexpr int kStepsBetweenChecks = 1 << 16;

}  // namespace

void ComputeRunValues(const RunParams& run, int length, std::vector<float>* values) {
  values->resize(static_cast<std::size_t>(length));
  float* const s = values->data();
  s[0] = 0.0f;
  s[1] = run.estimate;
  IterateRunsOf<1>(run.sentence, &run, 2, length, &s);
}

OrbitVerdict VerdictOfRun(const RunParams& run, const std::vector<float>& values) {
  ValuationSeries series;
  std::copy_n(values.begin(), kSeriesLength, series.begin());
  const RunReport report = AnalyseSeries(run, series);
  return {report.behaviour, report.fromStep, report.period, report.lyapunov,
          report.roundedOntoFixedPoint};
}

bool ComputeOrbitColumnRange(const OrbitRequest& request, int first, int last,
                             const OrbitShouldStop& stop, const OrbitColumnSink& sink,
                             std::vector<OrbitColumn>* columns) {
  const int length = std::max(kSeriesLength, request.transient + request.keep);
  std::vector<float> values[kRunsTogether];
  float* starts[kRunsTogether];
  for (int j = 0; j < kRunsTogether; ++j) {
    values[j].resize(static_cast<std::size_t>(length));
    starts[j] = values[j].data();
  }
  last = std::min(last, request.columns);
  for (int group = first; group < last; group += kRunsTogether) {
    if (stop && stop()) {
      return false;
    }
    const int count = std::min(kRunsTogether, last - group);
    RunParams runs[kRunsTogether];
    for (int j = 0; j < count; ++j) {
      runs[j] = OrbitColumnRun(request, group + j);
    }
    for (int j = 0; j < count; ++j) {
      starts[j][0] = 0.0f;
      starts[j][1] = runs[j].estimate;
    }
    // In stretches, so that a long run notices a stop within milliseconds.
    for (int from = 2; from < length; from += kStepsBetweenChecks) {
      if (stop && stop()) {
        return false;
      }
      const int to = std::min(length, from + kStepsBetweenChecks);
      if (count == kRunsTogether) {
        IterateRunsOf<kRunsTogether>(request.sentence, runs, from, to, starts);
      } else {
        for (int j = 0; j < count; ++j) {
          IterateRunsOf<1>(request.sentence, &runs[j], from, to, &starts[j]);
        }
      }
    }
    for (int j = 0; j < count; ++j) {
      const int c = group + j;
      (*columns)[static_cast<std::size_t>(c)] = {OrbitParameter(request, c),
                                                 VerdictOfRun(runs[j], values[j])};
      if (sink) {
        sink(c, starts[j] + request.transient);
      }
    }
  }
  return true;
}
