// The page's way into the C++ core: free functions over the model, the
// value field's rules, the diagrams' pixels, the log and the run report.
// Every result is a copy (strings, plain arrays, fresh typed arrays), so the
// page never holds a view of the module's memory that a growth could empty.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cmath>
#include <string>

#include "core/diagrams/drawing.h"
#include "core/field/field_edit.h"
#include "core/layout/dialog_templates.h"
#include "core/layout/resource.h"
#include "core/link/link_fragment.h"
#include "core/log/output_log.h"
#include "core/numbers/sentence.h"
#include "core/numbers/series.h"
#include "core/numbers/step_rules.h"
#include "core/raster/raster.h"
#include "core/report/run_report.h"
#include "web/page_state.h"

using emscripten::val;

namespace {

StepCounterRead FixedStep(int step) {
  return [step] { return step; };
}

// What a view of `mode` (0 time series, 1 web) shows at `step`, drawn by the
// core's rasteriser into width x height device pixels: RGBA, top row first,
// ready for putImageData. The same pixels as the command line's picture and
// the desktop's view, whatever the browser or the graphics card. With
// `secondIterate` the web diagram carries f∘f as well.
val ViewPixelsOf(int mode, int step, int width, int height, bool secondIterate) {
  if (width <= 0 || height <= 0) {
    return val::global("Uint8ClampedArray").new_(0);
  }
  std::vector<Stroke> strokes;
  if (mode == 1) {
    strokes = WebDiagramStrokes(FixedStep(step), g_series, secondIterate);
  } else if (std::optional<Stroke> page = TimeSeriesStroke(FixedStep(step), g_series)) {
    strokes.push_back(std::move(*page));
  }
  RgbaImage image = RgbaImage::Black(width, height);
  DrawStrokes(image, strokes);
  val array = val::global("Uint8ClampedArray").new_(image.rgba.size());
  array.call<void>("set", val(emscripten::typed_memory_view(image.rgba.size(), image.rgba.data())));
  return array;
}

val ViewPixels(int mode, int step, int width, int height) {
  return ViewPixelsOf(mode, step, width, height, false);
}

// A step count typed into Go to Step: the count, or the line refusing it.
val StepCount(std::string text) {
  const StepCountText parsed = ParseStepCount(text);
  val out = val::object();
  out.set("valid", parsed.valid);
  out.set("step", parsed.step);
  out.set("refusal", parsed.refusal);
  return out;
}

// The window menu's entries for stepping by hand and f∘f, in the desktop's
// order, and the Go to Step dialog's texts.
val StepTexts() {
  val menu = val::array();
  for (const std::string& text :
       {StepForwardMenuText(), StepBackMenuText(), GoToStepMenuText(), SecondIterateMenuText()}) {
    menu.call<void>("push", text);
  }
  val out = val::object();
  out.set("menu", menu);
  out.set("caption", GoToStepCaption());
  out.set("label", StepCountLabel());
  return out;
}

// A link's fragment read: the parts it sets (-1 or "" where it sets none)
// and the line naming what it ignored.
val LinkStateOf(std::string fragment) {
  const LinkState state = ParseLinkFragment(fragment);
  val out = val::object();
  out.set("sentence", state.sentence);
  out.set("degree", state.degreeText);
  out.set("estimate", state.estimateText);
  out.set("step", state.step);
  out.set("output", state.output);
  out.set("ignored", state.ignored);
  return out;
}

std::string LinkFragmentOf(int sentence, std::string degreeText, std::string estimateText, int step,
                           bool output) {
  return FormatLinkFragment(sentence, degreeText, estimateText, step, output);
}

// Copy Link's entry and the line that tells how the copy went.
val LinkTexts() {
  val out = val::object();
  out.set("menu", CopyLinkMenuText());
  out.set("copied", LinkCopiedText());
  out.set("byHand", LinkByHandText());
  return out;
}

val Captions() {
  val out = val::array();
  std::string caption;
  for (SentenceKind i = 0; i < kSentenceCount; ++i) {
    FormatSentenceCaption(caption, i);
    out.call<void>("push", caption);
  }
  return out;
}

std::string Formula() {
  std::string formula;
  FormatFormula(formula);
  return formula;
}

val TemplateItems(int templateId, int alphabetWidth, int charHeight) {
  const DialogBaseUnits measured = BaseUnitsFromMetrics(alphabetWidth, charHeight);
  val out = val::array();
  const DialogTemplate* dialog = FindDialogTemplate(templateId);
  if (dialog == nullptr) {
    return out;
  }
  for (const DialogItemTemplate& item : dialog->items) {
    val entry = val::object();
    entry.set("id", item.id);
    entry.set("kind", static_cast<int>(item.controlClass));
    entry.set("style", item.style);
    entry.set("text", std::string(item.text));
    const DialogRect rect = ItemRectInPixels(templateId, item, measured);
    entry.set("x", rect.x);
    entry.set("y", rect.y);
    entry.set("width", rect.width);
    entry.set("height", rect.height);
    out.call<void>("push", entry);
  }
  return out;
}

val TemplateSize(int templateId, int alphabetWidth, int charHeight) {
  const DialogBaseUnits measured = BaseUnitsFromMetrics(alphabetWidth, charHeight);
  val out = val::object();
  const DialogTemplate* dialog = FindDialogTemplate(templateId);
  if (dialog != nullptr) {
    const DialogRect rect = TemplateClientInPixels(templateId, measured);
    out.set("caption", std::string(dialog->caption));
    out.set("width", rect.width);
    out.set("height", rect.height);
  }
  return out;
}

FieldEvent FieldEventOf(int kind, unsigned character, std::string pasted) {
  switch (static_cast<FieldEventKind>(kind)) {
    case FieldEventKind::kDelete:
      return FieldEvent::Delete();
    case FieldEventKind::kEnter:
      return FieldEvent::Enter();
    case FieldEventKind::kLeave:
      return FieldEvent::Leave();
    case FieldEventKind::kPaste:
      return FieldEvent::Paste(std::move(pasted));
    case FieldEventKind::kCharacter:
      break;
  }
  return FieldEvent::Character(character);
}

// One event in a value field: its state before (text with one byte per
// UTF-16 unit, selection, limit), its state after and what the page does.
val ApplyFieldEventToJs(std::string text, int start, int end, int limit, int kind,
                        unsigned character, std::string pasted) {
  const FieldResult result = ApplyFieldEvent(FieldState{std::move(text), {start, end}, limit},
                                             FieldEventOf(kind, character, std::move(pasted)));
  val out = val::object();
  out.set("text", result.state.text);
  out.set("start", result.state.selection.start);
  out.set("end", result.state.selection.end);
  out.set("limit", result.state.limit);
  out.set("consumed", result.consumed);
  out.set("changed", result.changed);
  out.set("textSet", result.textSet);
  out.set("replaceFrom", result.replaceFrom);
  out.set("replaceTo", result.replaceTo);
  out.set("replacement", result.replacement);
  return out;
}

val FieldEventKinds() {
  val out = val::object();
  out.set("character", static_cast<int>(FieldEventKind::kCharacter));
  out.set("delete", static_cast<int>(FieldEventKind::kDelete));
  out.set("enter", static_cast<int>(FieldEventKind::kEnter));
  out.set("leave", static_cast<int>(FieldEventKind::kLeave));
  out.set("paste", static_cast<int>(FieldEventKind::kPaste));
  out.set("backspace", kBackspace);
  return out;
}

int InputLimit() {
  return kInputLimit;
}

int ForeignCharacter() {
  return static_cast<unsigned char>(kForeignCharacter);
}

val ControlIds() {
  val out = val::object();
  out.set("mainWindow", IDD_SENTENCE_DIALOG);
  out.set("aboutBox", IDD_ABOUTBOX);
  out.set("picker", IDC_SENTENCE_COMBO);
  out.set("degree", IDC_DEGREE_EDIT);
  out.set("estimate", IDC_ESTIMATE_EDIT);
  out.set("graph", IDC_GRAPH_BUTTON);
  out.set("restart", IDC_RESTART_BUTTON);
  out.set("showOutput", IDC_SHOW_OUTPUT);
  out.set("seriesView", IDC_SERIES_PLACEHOLDER);
  out.set("webView", IDC_WEB_PLACEHOLDER);
  out.set("output", IDC_OUTPUT);
  out.set("degreeLabel", IDC_DEGREE_LABEL);
  out.set("truthWord", IDC_TRUTH_WORD);
  out.set("formulaPicture", IDC_FORMULA_PICTURE);
  out.set("aboutVersion", IDC_ABOUT_VERSION);
  out.set("buttonKind", static_cast<int>(ControlClass::kButton));
  return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(veridrift) {
  emscripten::function("refresh", &RefreshRun);
  emscripten::function("fieldValueText", &FieldValueText);
  emscripten::function("captions", &Captions);
  emscripten::function("formula", &Formula);
  emscripten::function("truthWord", &TruthWordOf);
  emscripten::function("usesDegree", &SentenceUsesDegree);
  emscripten::function("logText", &LogText);
  emscripten::function("logStep", &LogStep);
  emscripten::function("nextStep", &NextStep);
  emscripten::function("viewPixels", &ViewPixels);
  // The same with f∘f on the web diagram when the fifth argument is set.
  emscripten::function("viewPixels", &ViewPixelsOf);
  emscripten::function("describeStep", &DescribeStep);
  emscripten::function("describeWebStep", &DescribeWebStep);
  emscripten::function("previousStep", &PreviousStep);
  emscripten::function("showLogAtStep", &ShowLogAtStep);
  emscripten::function("stepCount", &StepCount);
  emscripten::function("stepTexts", &StepTexts);
  emscripten::function("linkState", &LinkStateOf);
  emscripten::function("linkFragment", &LinkFragmentOf);
  emscripten::function("linkTexts", &LinkTexts);
  emscripten::function("reportSentences", &ReportSentences);
  emscripten::function("reportLines", &ReportLines);
  emscripten::function("seriesListing", &SeriesListing);
  emscripten::function("templateItems", &TemplateItems);
  emscripten::function("templateSize", &TemplateSize);
  emscripten::function("fieldEvent", &ApplyFieldEventToJs);
  emscripten::function("foreignCharacter", &ForeignCharacter);
  emscripten::function("fieldEventKinds", &FieldEventKinds);
  emscripten::function("versionText", &VersionText);
  emscripten::function("formulaBitmap", &FormulaBitmapText);
  emscripten::function("stepIntervalMs", &StepIntervalMs);
  emscripten::function("controlIds", &ControlIds);
  emscripten::function("pickerHeight", &PickerHeight);
  emscripten::function("initialInputLimit", &InitialInputLimit);
  emscripten::function("inputLimit", &InputLimit);
  emscripten::function("logFontPoints", &LogFontPoints);
  emscripten::function("logPageLines", &LogPageLines);
  emscripten::function("logSmallestPixels", &LogSmallestPixels);
  emscripten::function("initialDegreeText", &InitialDegreeText);
  emscripten::function("initialEstimateText", &InitialEstimateText);
  emscripten::function("aboutMenuText", &AboutMenuText);
  emscripten::function("reportMenuText", &ReportMenuText);
}
