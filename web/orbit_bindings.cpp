// The orbit diagram's way into the core. The page's worker holds one request
// at a time and computes its columns in slices, so that between two slices
// it can hear of a newer request and drop this one; the page's own instance
// only lays out, describes and turns a column into the field's value. Every
// result is a copy, as in bindings.cpp.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/link/link_fragment.h"
#include "core/numbers/number_text.h"
#include "core/numbers/series.h"
#include "core/orbit/orbit_csv.h"
#include "core/orbit/orbit_image.h"
#include "core/orbit/orbit_raster.h"
#include "core/report/run_report.h"
#include "picture/png_file.h"
#include "web/page_state.h"

using emscripten::val;

namespace {

// The request under way in this instance (the worker's), and its picture
// once every column is in.
struct OrbitJob {
  OrbitFrame frame;
  OrbitPicture picture;
  std::unique_ptr<OrbitRaster> raster;
  int done = 0;
  bool shaded = false;
};
OrbitJob g_job;

val Rect(const OrbitRect& r) {
  val out = val::object();
  out.set("x", r.x);
  out.set("y", r.y);
  out.set("width", r.width);
  out.set("height", r.height);
  return out;
}

template <typename T>
val TypedCopy(const char* type, const std::vector<T>& values) {
  val array = val::global(type).new_(values.size());
  array.call<void>("set", val(emscripten::typed_memory_view(values.size(), values.data())));
  return array;
}

// A new request over the sentence's own axis, for a picture of width x
// height device pixels at `scale`; the values shown are [low, high]. One
// column per pixel of the dots' width, as the desktop's window and the
// command line's picture. Returns the number of columns.
int OrbitStart(int sentence, float degree, float estimate, double from, double to, double low,
               double high, int transient, int keep, int width, int height, int scale) {
  OrbitRequest request;
  request.sentence = sentence;
  request.degree = degree;
  request.estimate = estimate;
  request.axis = DefaultOrbitAxis(sentence);
  request.from = from;
  request.to = to;
  request.transient = std::clamp(transient, 1, kOrbitLongestRun);
  request.keep = std::clamp(keep, 1, kOrbitLongestRun + 1 - request.transient);
  g_job = OrbitJob{};
  g_job.frame = OrbitFrameFor(width, height, scale);
  g_job.picture.view = OrbitViewForFrame(request, low, high, g_job.frame, false);
  const OrbitView& view = g_job.picture.view;
  g_job.picture.columns.assign(static_cast<std::size_t>(view.request.columns), OrbitColumn{});
  g_job.raster = std::make_unique<OrbitRaster>(view.request.columns, view.rows, low, high);
  return view.request.columns;
}

// Computes up to `count` more columns; the number done so far.
int OrbitStep(int count) {
  const OrbitRequest& request = g_job.picture.view.request;
  if (g_job.raster == nullptr) {
    return 0;
  }
  const int last = std::min(request.columns, g_job.done + std::max(1, count));
  OrbitRaster* raster = g_job.raster.get();
  const int keep = request.keep;
  ComputeOrbitColumnRange(
      request, g_job.done, last, {},
      [raster, keep](int column, const float* kept) { raster->CountColumn(column, kept, keep); },
      &g_job.picture.columns);
  g_job.done = last;
  return g_job.done;
}

bool Finished() {
  return g_job.raster != nullptr && g_job.done >= g_job.picture.view.request.columns;
}

// The finished picture's palette indices, shaded once.
std::vector<std::uint8_t> Indices(double marker, int cursorColumn) {
  OrbitPicture& picture = g_job.picture;
  if (!g_job.shaded) {
    picture.dots = ShadeOrbitRaster(*g_job.raster, picture.columns, picture.view.request.keep);
    picture.strip = ShadeLyapunovStrip(picture.columns, picture.view.stripRows);
    g_job.shaded = true;
  }
  OrbitMarks marks;
  if (!std::isnan(marker)) {
    marks.marker = marker;
  }
  marks.cursorColumn = cursorColumn;
  return ComposeOrbitImage(picture, g_job.frame, marks);
}

// The finished picture with the marker at `marker` (none when NaN) and the
// keyboard's column (-1 for none): RGBA, top row first, for putImageData.
val OrbitCompose(double marker, int cursorColumn) {
  if (!Finished()) {
    return val::null();
  }
  const std::vector<std::uint8_t> pixels = Indices(marker, cursorColumn);
  const std::vector<std::uint32_t>& palette = OrbitPalette();
  std::vector<std::uint8_t> rgba(pixels.size() * 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t colour = palette[pixels[i]];
    rgba[4 * i] = static_cast<std::uint8_t>(colour >> 16);
    rgba[4 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
    rgba[4 * i + 2] = static_cast<std::uint8_t>(colour);
    rgba[4 * i + 3] = 0xff;
  }
  return TypedCopy("Uint8ClampedArray", rgba);
}

// The finished picture as `veridrift-series --orbit --output F.png` writes
// it for the same request, size and scale: the marker at the run's value and
// no keyboard column, which the command line has not. Empty while columns
// are missing.
val OrbitPng(double marker) {
  if (!Finished()) {
    return val::global("Uint8Array").new_(0);
  }
  const std::vector<std::uint8_t> pixels = Indices(marker, -1);
  return TypedCopy("Uint8Array",
                   EncodeIndexedPng(pixels, g_job.frame.width, g_job.frame.height, OrbitPalette()));
}

// The finished picture's columns as `veridrift-series --orbit --csv
// --columns N` prints them: the kept values are not held between slices, so
// they are computed again here, column by column, as the command line does.
// Empty while columns are missing.
std::string OrbitCsv() {
  const OrbitRequest& request = g_job.picture.view.request;
  if (!Finished()) {
    return {};
  }
  std::string text = OrbitCsvHeader(request.axis == OrbitAxis::kDegree ? "degree" : "estimate");
  std::vector<OrbitColumn> columns(static_cast<std::size_t>(request.columns));
  std::vector<float> kept(static_cast<std::size_t>(request.columns) * request.keep);
  const int keep = request.keep;
  ComputeOrbitColumnRange(
      request, 0, request.columns, {},
      [&kept, keep](int column, const float* values) {
        std::copy_n(values, keep, kept.begin() + static_cast<std::ptrdiff_t>(column) * keep);
      },
      &columns);
  for (int c = 0; c < request.columns; ++c) {
    text +=
        OrbitCsvColumn(columns[static_cast<std::size_t>(c)].parameter,
                       kept.data() + static_cast<std::size_t>(c) * keep, request.transient, keep);
  }
  return text;
}

// The finished picture's columns, for the page's description and its
// clicks: each column's parameter, verdict (an index into `words`) and
// exponent, as typed arrays (a thousand columns in one copy each).
val OrbitColumns() {
  std::vector<float> parameters;
  std::vector<std::uint8_t> behaviours;
  std::vector<double> exponents;
  for (const OrbitColumn& column : g_job.picture.columns) {
    parameters.push_back(column.parameter);
    behaviours.push_back(static_cast<std::uint8_t>(column.verdict.behaviour));
    exponents.push_back(column.verdict.lyapunov);
  }
  val words = val::array();
  for (const RunBehaviour behaviour : {RunBehaviour::kSettles, RunBehaviour::kSettlesWithinRounding,
                                       RunBehaviour::kCycle, RunBehaviour::kNoRepeat}) {
    words.set(static_cast<int>(behaviour), std::string(RunBehaviourWords(behaviour)));
  }
  val out = val::object();
  out.set("parameters", TypedCopy("Float32Array", parameters));
  out.set("behaviours", TypedCopy("Uint8Array", behaviours));
  out.set("exponents", TypedCopy("Float64Array", exponents));
  out.set("words", words);
  return out;
}

// Where the parts of a picture of width x height device pixels go.
val OrbitLayout(int width, int height, int scale) {
  const OrbitFrame frame = OrbitFrameFor(width, height, scale);
  val out = val::object();
  out.set("dots", Rect(frame.dots));
  out.set("strip", Rect(frame.strip));
  return out;
}

// The run on screen (this instance's, the page's): what a request asks about.
val OrbitRun() {
  val out = val::object();
  out.set("sentence", g_runParams.sentence);
  out.set("degree", static_cast<double>(g_runParams.degree));
  out.set("estimate", static_cast<double>(g_runParams.estimate));
  out.set("overDegree", DefaultOrbitAxis(g_runParams.sentence) == OrbitAxis::kDegree);
  return out;
}

// The diagram's accessible description, as the desktop's window gives it:
// at the keyboard's column when `behaviour` is given, else at the run on
// screen (this instance's report of it).
std::string OrbitDescription(double from, double to, double at, std::string behaviour,
                             double exponent) {
  const bool overDegree = DefaultOrbitAxis(g_runParams.sentence) == OrbitAxis::kDegree;
  if (behaviour.empty()) {
    const RunReport report = AnalyseRun();
    behaviour = RunBehaviourWords(report.behaviour);
    exponent = report.lyapunov;
    at = overDegree ? g_runParams.degree : g_runParams.estimate;
  }
  return "sentence " + std::to_string(g_runParams.sentence) + " over the " +
         (overDegree ? "degree " : "estimate ") + FormatFixed2(from) + " to " + FormatFixed2(to) +
         "; at " + OrbitAxisSymbol(overDegree ? OrbitAxis::kDegree : OrbitAxis::kEstimate) + " = " +
         FormatFixed2(at) + ": " + behaviour + ", Lyapunov exponent " + FormatFixed3(exponent);
}

// The pointer's place, as the line below the desktop's diagram shows it.
std::string OrbitPointerText(double x, double y) {
  const bool overDegree = DefaultOrbitAxis(g_runParams.sentence) == OrbitAxis::kDegree;
  return std::string(OrbitAxisSymbol(overDegree ? OrbitAxis::kDegree : OrbitAxis::kEstimate)) +
         " = " + FormatFixed4(x) + ", value " + FormatFixed4(y);
}

// A column's parameter as the field would take it typed: the nearest
// two-decimal value, in the field's own text.
std::string OrbitFieldText(double parameter) {
  return FieldValueText(static_cast<float>(ParseDouble(FormatFixed2(parameter))));
}

// A saved file's name: "veridrift-orbit-3-degree-0.00-1.00.png", the
// sentence, the axis and the view's ends.
std::string OrbitSaveName(int sentence, bool overDegree, double from, double to, std::string kind) {
  return "veridrift-orbit-" + std::to_string(sentence) + (overDegree ? "-degree-" : "-estimate-") +
         FormatFixed2(from) + '-' + FormatFixed2(to) + '.' + kind;
}

std::string OrbitLinkPart(double from, double to) {
  return FormatOrbitLinkPart(DefaultOrbitAxis(g_runParams.sentence) == OrbitAxis::kDegree, from,
                             to);
}

// The orbit part of a link: axis word ("" for none), from and to.
val OrbitLinkView(std::string fragment) {
  const LinkState state = ParseLinkFragment(fragment);
  val out = val::object();
  out.set("axis", state.orbitAxis);
  out.set("from", state.orbitFrom);
  out.set("to", state.orbitTo);
  return out;
}

// T or N as typed: a whole number from 1 to the longest run, -1 otherwise
// (the panel then keeps the value before, as the desktop's spin box does).
int OrbitCountOf(std::string text) {
  if (text.empty() || text.size() > 7) {
    return -1;
  }
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return -1;
    }
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= kOrbitLongestRun ? value : -1;
}

val OrbitTexts() {
  val out = val::object();
  out.set("menu", std::string("&Orbit Diagram..."));
  out.set("title", std::string("Orbit Diagram"));
  out.set("fewest", kOrbitFewestColumns);
  out.set("longestRun", kOrbitLongestRun);
  return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(veridrift_orbit) {
  emscripten::function("orbitStart", &OrbitStart);
  emscripten::function("orbitStep", &OrbitStep);
  emscripten::function("orbitCompose", &OrbitCompose);
  emscripten::function("orbitColumns", &OrbitColumns);
  emscripten::function("orbitPng", &OrbitPng);
  emscripten::function("orbitCsv", &OrbitCsv);
  emscripten::function("orbitSaveName", &OrbitSaveName);
  emscripten::function("orbitLayout", &OrbitLayout);
  emscripten::function("orbitRun", &OrbitRun);
  emscripten::function("orbitDescription", &OrbitDescription);
  emscripten::function("orbitPointerText", &OrbitPointerText);
  emscripten::function("orbitFieldText", &OrbitFieldText);
  emscripten::function("orbitLinkPart", &OrbitLinkPart);
  emscripten::function("orbitLinkView", &OrbitLinkView);
  emscripten::function("orbitTexts", &OrbitTexts);
  emscripten::function("orbitCount", &OrbitCountOf);
}
