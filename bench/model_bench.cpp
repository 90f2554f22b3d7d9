// Cost of one series: 998 dependent evaluations of the current sentence.
#include <benchmark/benchmark.h>

#include "core/numbers/number_text.h"
#include "core/numbers/series.h"
#include "core/report/run_report.h"

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

// The report of one run, as the Run Report window makes it on every Refresh:
// the analysis and its plain sentences. Sentence 3 finds no repeat, so it
// tries every period.
static void BM_RunReport(benchmark::State& state) {
  const auto sentence = static_cast<SentenceKind>(state.range(0));
  ComputeSeriesValues(0.3f, 0.9f, sentence);
  for (auto _ : state) {
    const std::string text = FormatReportSentences(AnalyseRun());
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_RunReport)->Arg(0)->Arg(2)->Arg(3)->Arg(6)->Arg(9)->ArgName("sentence");

// The number text of a whole series, as the log and veridrift-series write
// it: two decimals, and nine significant digits.
static void BM_NumberText(benchmark::State& state) {
  ComputeSeriesValues(0.3f, 0.9f, 3);
  const bool significant = state.range(0) == 9;
  for (auto _ : state) {
    for (const float value : g_series) {
      const std::string text = significant ? FormatSignificant9(value) : FormatFixed2(value);
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.counters["ns_per_value"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kSeriesLength,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NumberText)->Arg(2)->Arg(9)->ArgName("digits");

BENCHMARK_MAIN();
