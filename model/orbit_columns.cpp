#include "orbit_columns.h"

#include <algorithm>
#include <thread>

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

void ComputeRunValues(const RunParams& run, int length, std::vector<float>* values) {
  values->resize(static_cast<std::size_t>(length));
  float* s = values->data();
  s[0] = 0.0f;
  s[1] = run.estimate;
  for (int i = 2; i < length; ++i) {
    s[i] = static_cast<float>(EvaluateSentenceAt(run.sentence, run.degree, s[i - 1]));
  }
}

OrbitVerdict VerdictOfRun(const RunParams& run, const std::vector<float>& values) {
  ValuationSeries series;
  std::copy_n(values.begin(), kSeriesLength, series.begin());
  const RunReport report = AnalyseSeries(run, series);
  return {report.behaviour, report.fromStep, report.period, report.lyapunov,
          report.roundedOntoFixedPoint};
}

namespace {

// Columns are handed out one at a time, so a thread that drew quick columns
// takes more of them.
void ComputeSomeColumns(const OrbitRequest& request, std::stop_token stop,
                        const OrbitColumnSink& sink, std::vector<OrbitColumn>* columns,
                        std::atomic<int>* next, std::atomic<int>* done) {
  const int length = std::max(kSeriesLength, request.transient + request.keep);
  std::vector<float> values;
  for (int c = next->fetch_add(1); c < request.columns; c = next->fetch_add(1)) {
    if (stop.stop_requested()) {
      return;
    }
    const RunParams run = OrbitColumnRun(request, c);
    ComputeRunValues(run, length, &values);
    (*columns)[static_cast<std::size_t>(c)] = {OrbitParameter(request, c),
                                               VerdictOfRun(run, values)};
    if (sink) {
      sink(c, values.data() + request.transient);
    }
    if (done != nullptr) {
      done->fetch_add(1, std::memory_order_relaxed);
    }
  }
}

}  // namespace

bool ComputeOrbitColumns(const OrbitRequest& request, int threads, std::stop_token stop,
                         const OrbitColumnSink& sink, std::vector<OrbitColumn>* columns,
                         std::atomic<int>* done) {
  columns->assign(static_cast<std::size_t>(request.columns), OrbitColumn{});
  std::atomic<int> next{0};
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < std::min(threads, request.columns); ++t) {
      helpers.emplace_back([&] { ComputeSomeColumns(request, stop, sink, columns, &next, done); });
    }
    ComputeSomeColumns(request, stop, sink, columns, &next, done);
  }
  return !stop.stop_requested();
}

int OrbitThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}
