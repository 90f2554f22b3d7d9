// Cost of one series: 998 dependent evaluations of the current sentence.
#include <benchmark/benchmark.h>

#include "series.h"

static void BM_ComputeSeries(benchmark::State& state) {
  const auto sentence = static_cast<SentenceKind>(state.range(0));
  for (auto _ : state) {
    ComputeSeriesValues(0.3f, 0.9f, sentence);
    benchmark::DoNotOptimize(g_series.data());
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_evaluation"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * (kSeriesLength - 2),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ComputeSeries)->DenseRange(0, 9)->ArgName("sentence");

BENCHMARK_MAIN();
