// Cost of the handout files at the window's sizes, with no display: one PNG
// from the core's pixels, one SVG, and a 40-page PDF, each the web diagram
// late in a long run (the most lines).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "core/numbers/series.h"
#include "picture/picture_export.h"
#include "picture/vector/vector_encoder.h"

namespace {

constexpr PixelRect kWebRect{0, 0, 350, 322};

void WriteOrFail(benchmark::State& state, const OutputFile& file) {
  std::string error;
  if (WriteDiagramFiles({file}, kWebRect.width, kWebRect.height, &error) !=
      WriteOutcome::kWritten) {
    state.SkipWithError(error.c_str());
  }
}

Sheet WebAt(int step) {
  return {{{1, step, kWebRect}}, "step " + std::to_string(step)};
}

void BM_Png(benchmark::State& state) {
  QTemporaryDir folder;
  ComputeSeriesValues(0.3f, 0.9f, 3);
  for (auto _ : state) {
    WriteOrFail(state,
                {folder.filePath("web.png").toStdString(), PictureFormat::kPng, {WebAt(1000)}});
  }
}
BENCHMARK(BM_Png)->Unit(benchmark::kMillisecond);

void BM_Svg(benchmark::State& state) {
  QTemporaryDir folder;
  ComputeSeriesValues(0.3f, 0.9f, 3);
  for (auto _ : state) {
    WriteOrFail(state,
                {folder.filePath("web.svg").toStdString(), PictureFormat::kSvg, {WebAt(1000)}});
  }
}
BENCHMARK(BM_Svg)->Unit(benchmark::kMillisecond);

void BM_Pdf40Pages(benchmark::State& state) {
  QTemporaryDir folder;
  ComputeSeriesValues(0.3f, 0.9f, 3);
  std::vector<Sheet> pages;
  for (int step = 961; step <= 1000; ++step) {
    pages.push_back(WebAt(step));
  }
  for (auto _ : state) {
    WriteOrFail(state, {folder.filePath("web.pdf").toStdString(), PictureFormat::kPdf, pages});
  }
}
BENCHMARK(BM_Pdf40Pages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  UseVectorEncoder(EncodeVectorFile);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
