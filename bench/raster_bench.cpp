// The core's rasteriser drawing the whole web diagram at step 1000, every
// line of the staircase, from strokes made once: a picture afresh as the
// page and the command line would make it, at scale 1 and at a device pixel
// ratio of 2. Sentence 0 at 0.30/0.90 goes round one rectangle; sentence 3
// never repeats, so its lines are spread over the picture.
#include <benchmark/benchmark.h>

#include "core/diagrams/drawing.h"
#include "core/numbers/series.h"
#include "core/raster/raster.h"

static void BM_WebPicture(benchmark::State& state) {
  const auto sentence = static_cast<SentenceKind>(state.range(0));
  const int scale = static_cast<int>(state.range(1));
  ComputeSeriesValues(0.30f, 0.90f, sentence);
  const std::vector<Stroke> strokes = WebDiagramStrokes([] { return kSeriesLength; }, g_series);
  RgbaImage image = RgbaImage::Black(350 * scale, 322 * scale);
  for (auto _ : state) {
    ClearToBlack(image);
    DrawStrokes(image, strokes);
    benchmark::DoNotOptimize(image.rgba.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WebPicture)
    ->Args({0, 1})
    ->Args({3, 1})
    ->Args({3, 2})
    ->ArgNames({"sentence", "scale"})
    ->Unit(benchmark::kMicrosecond);

// What f∘f adds to a web picture: its stroke computed (every corner found)
// and drawn, at scale 1, for sentences whose f∘f has corners (0, 3) and one
// whose has none (7).
static void BM_SecondIterateAdded(benchmark::State& state) {
  const auto sentence = static_cast<SentenceKind>(state.range(0));
  ComputeSeriesValues(0.30f, 0.90f, sentence);
  RgbaImage image = RgbaImage::Black(350, 322);
  for (auto _ : state) {
    DrawStrokes(image, {SecondIterateStroke()});
    benchmark::DoNotOptimize(image.rgba.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SecondIterateAdded)
    ->Arg(0)
    ->Arg(3)
    ->Arg(7)
    ->ArgName("sentence")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
