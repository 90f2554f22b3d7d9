// Save Diagrams in the page: the files the command line writes for the same
// request, made in memory by the same code (the core's pixels, libpng,
// giflib) and handed to the page as fresh arrays or strings to download.
// Nothing here knows about the browser beyond the copies it returns.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/diagrams/svg_text.h"
#include "core/numbers/run_files.h"
#include "core/numbers/series.h"
#include "picture/gif_export.h"
#include "picture/png_file.h"
#include "picture/sheet_layout.h"
#include "picture/sheet_pixels.h"
#include "web/page_state.h"

using emscripten::val;

namespace {

val BytesOf(const std::vector<unsigned char>& bytes) {
  val array = val::global("Uint8Array").new_(bytes.size());
  array.call<void>("set", val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
  return array;
}

bool KnownMode(int mode) {
  return mode == 0 || mode == 1 || mode == kBothDiagrams;
}

// `veridrift-series --picture web|series|both --step STEP --output F.png
// [--iterate 2]`: the same bytes; an empty array when it cannot be made.
val DiagramPng(int mode, int step, bool secondIterate) {
  if (!KnownMode(mode) || step < 0 || step > kSeriesLength) {
    return BytesOf({});
  }
  const SheetLayout layout = DiagramSheetLayout(mode);
  return BytesOf(
      EncodePng(DrawSheet(SheetAtStep(layout, step, secondIterate), layout.width, layout.height)));
}

// The same picture as an SVG drawing of its strokes.
std::string DiagramSvg(int mode, int step, bool secondIterate) {
  if (!KnownMode(mode) || step < 0 || step > kSeriesLength) {
    return {};
  }
  const SheetLayout layout = DiagramSheetLayout(mode);
  std::vector<SvgPart> parts;
  for (const SheetPart& part : SheetAtStep(layout, step, secondIterate).parts) {
    parts.push_back({part.rect.x, part.rect.y, part.rect.width, part.rect.height,
                     DiagramStrokes(part.mode, part.counter, part.secondIterate)});
  }
  return SvgOfDiagrams(layout.width, layout.height, parts);
}

// `veridrift-series --csv SENTENCE DEGREE ESTIMATE` of the current run.
std::string RunCsv() {
  return SeriesCsvText();
}

// An animation made a few frames at a time, so that the page can show its
// progress and hear Cancel: GifBegin, GifAdd per frame, then GifFinish or
// GifDrop. One at a time; a new one drops the old.
struct GifInMaking {
  SheetLayout layout;
  bool secondIterate = false;
  std::unique_ptr<SheetGif> gif;
};
GifInMaking g_gif;

bool GifBegin(int mode, bool secondIterate) {
  if (!KnownMode(mode)) {
    return false;
  }
  g_gif.layout = DiagramSheetLayout(mode);
  g_gif.secondIterate = secondIterate;
  g_gif.gif = std::make_unique<SheetGif>(g_gif.layout.width, g_gif.layout.height, FramePace());
  return true;
}

// Adds the frames of steps `from` to `to`, as `--steps A..B` has them.
bool GifAdd(int from, int to) {
  if (!g_gif.gif || from < 0 || to > kSeriesLength) {
    return false;
  }
  for (int step = from; step <= to; ++step) {
    g_gif.gif->Add(SheetAtStep(g_gif.layout, step, g_gif.secondIterate));
  }
  return true;
}

// The file's bytes, or an empty array with the line saying why.
val GifFinish() {
  val out = val::object();
  if (!g_gif.gif) {
    out.set("bytes", BytesOf({}));
    out.set("why", std::string("no animation is being made"));
    return out;
  }
  const FileContent content = g_gif.gif->Finish();
  g_gif.gif.reset();
  out.set("bytes", BytesOf(content.bytes));
  out.set("why", content.why);
  return out;
}

void GifDrop() {
  g_gif.gif.reset();
}

// A picture of palette indices (the orbit diagram) as the command line's
// `--orbit --output F.png` writes it; empty when it cannot be made.
val IndexedPng(val indices, int width, int height, val palette) {
  const std::vector<std::uint8_t> pixels =
      emscripten::convertJSArrayToNumberVector<std::uint8_t>(indices);
  const std::vector<std::uint32_t> colours =
      emscripten::convertJSArrayToNumberVector<std::uint32_t>(palette);
  return BytesOf(EncodeIndexedPng(pixels, width, height, colours));
}

// A download's name from the run and what it holds, as
// "veridrift-3-0.30-0.90-step-40.png": the sentence, the degree and the
// estimate as the fields show them, then the step; the view when it is one
// alone, "-ff" with f∘f, "steps-0-40" for an animation, and the run alone
// for its values.
std::string SaveFileName(std::string kind, int mode, int step, bool secondIterate) {
  std::string name = "veridrift-" + std::to_string(g_runParams.sentence) + '-' +
                     FieldValueText(g_runParams.degree) + '-' +
                     FieldValueText(g_runParams.estimate);
  if (kind == "csv") {
    return name + ".csv";
  }
  if (mode == 0) {
    name += "-series";
  } else if (mode == 1) {
    name += "-web";
  }
  if (secondIterate && mode != 0) {
    name += "-ff";
  }
  name += kind == "gif" ? "-steps-0-" + std::to_string(step) : "-step-" + std::to_string(step);
  return name + '.' + kind;
}

std::string SaveMenuText() {
  return "&Save Diagrams...";
}

}  // namespace

EMSCRIPTEN_BINDINGS(veridrift_save) {
  emscripten::function("diagramPng", &DiagramPng);
  emscripten::function("diagramSvg", &DiagramSvg);
  emscripten::function("runCsv", &RunCsv);
  emscripten::function("gifBegin", &GifBegin);
  emscripten::function("gifAdd", &GifAdd);
  emscripten::function("gifFinish", &GifFinish);
  emscripten::function("gifDrop", &GifDrop);
  emscripten::function("indexedPng", &IndexedPng);
  emscripten::function("saveFileName", &SaveFileName);
  emscripten::function("saveMenuText", &SaveMenuText);
}
