#include "web/page_state.h"

#include <cmath>

// The desktop's pace; the header only declares the worker, which the page
// does not link.
#include "core/diagrams/drawing.h"
#include "core/field/field_edit.h"
#include "core/field/unit_rules.h"
#include "core/layout/resource.h"
#include "core/layout/resource_texts.h"
#include "core/log/output_log.h"
#include "core/numbers/number_text.h"
#include "core/numbers/sentence.h"
#include "core/numbers/series.h"
#include "core/numbers/step_rules.h"
#include "core/report/run_report.h"

namespace {

std::string g_log;

std::string CurrentFormula() {
  std::string formula;
  FormatFormula(formula);
  return formula;
}

// What a field's text counts as: the number it starts with, 0 for none.
float FieldValue(const std::string& text) {
  const double value = ParseDouble(TextWindow(text));
  return static_cast<float>(std::isnan(value) ? 0.0 : value);
}

constexpr int kScaleOneDotsPerInch = 96;

}  // namespace

void RefreshRun(int sentence, const std::string& degreeText, const std::string& estimateText) {
  ComputeSeriesValues(FieldValue(degreeText), FieldValue(estimateText), sentence);
  g_log = FormatRefreshedLog(CurrentFormula(), SeriesAt(0), SeriesAt(1));
}

std::string FieldValueText(float value) {
  return Normalize(FormatFixed2(static_cast<double>(value)));
}

std::string TruthWordOf(int sentence) {
  return TruthWord(sentence);
}

std::string LogText() {
  return g_log;
}

bool LogStep(int step) {
  return AppendStepToLog(g_log, g_logLineOpen, step, CurrentFormula(), g_series);
}

int NextStep(int step) {
  return NextShownStep(step);
}

int PreviousStep(int step) {
  return PreviousShownStep(step);
}

void ShowLogAtStep(int step, bool showOutput) {
  const LogAtStep at = RebuildLogAtStep(step, showOutput, CurrentFormula(), g_series);
  g_log = at.text;
  g_logLineOpen = at.lineOpen;
}

int StepIntervalMs() {
  return kStepIntervalMs;
}

std::string DescribeStep(int step) {
  return DescribeDiagramStep(step, g_series);
}

std::string DescribeWebStep(int step, bool secondIterate) {
  return DescribeWebDiagramStep(step, g_series, secondIterate);
}

std::string ReportSentences() {
  return FormatReportSentences(AnalyseRun());
}

std::string ReportLines() {
  return FormatReportLines(AnalyseRun());
}

std::string SeriesListing() {
  std::string out;
  for (int i = 0; i < kSeriesLength; ++i) {
    out += std::to_string(i) + "\t" + FormatSignificant9(static_cast<double>(SeriesAt(i))) + "\n";
  }
  return out;
}

// The desktop window's own figures: the picker's closed height, the field's
// limit before a keystroke sets it, the log's font, the first field values
// and the window menu's entries.
int PickerHeight() {
  return 18;
}

int InitialInputLimit() {
  return kUnsetInputLimit;
}

int LogFontPoints() {
  return 8;
}

int LogPageLines() {
  return kLogPageLines;
}

int LogSmallestPixels() {
  // As small as the desktop's log goes: below it the digits blur together.
  return 6;
}

std::string InitialDegreeText() {
  return FieldValueText(0.3f);
}

std::string InitialEstimateText() {
  return FieldValueText(0.9f);
}

std::string AboutMenuText() {
  return LoadResourceString(IDS_ABOUTBOX);
}

std::string ReportMenuText() {
  return "&Run Report...";
}

std::string StepForwardMenuText() {
  return "Step &Forward\t.";
}

std::string StepBackMenuText() {
  return "Step &Back\t,";
}

std::string GoToStepMenuText() {
  return "&Go to Step...\tJ";
}

std::string SecondIterateMenuText() {
  return "Show f&∘f";
}

std::string GoToStepCaption() {
  return "Go to Step";
}

std::string StepCountLabel() {
  return "Step count (0 to " + std::to_string(kSeriesLength) + "):";
}

std::string CopyLinkMenuText() {
  return "Copy Link";
}

std::string LinkCopiedText() {
  return "The link to this run is in the clipboard.";
}

std::string LinkByHandText() {
  return "The browser keeps its clipboard from this page; copy the link by hand:";
}

std::string VersionText() {
  return kVersionText;
}

std::string FormulaBitmapText() {
  std::string out;
  for (const char* row : kFormulaBitmapRows) {
    out += row;
    out += '\n';
  }
  return out;
}

DialogRect ItemRectInPixels(int templateId, const DialogItemTemplate& item,
                            DialogBaseUnits measured) {
  return TemplateRectInPixels(templateId, {item.x, item.y, item.cx, item.cy}, kScaleOneDotsPerInch,
                              measured);
}

DialogRect TemplateClientInPixels(int templateId, DialogBaseUnits measured) {
  const DialogTemplate* dialog = FindDialogTemplate(templateId);
  if (dialog == nullptr) {
    return {};
  }
  return TemplateRectInPixels(templateId, {0, 0, dialog->cx, dialog->cy}, kScaleOneDotsPerInch,
                              measured);
}
