#include "cli/series_command.h"

#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

#include "core/numbers/number_text.h"
#include "core/numbers/run_files.h"
#include "core/numbers/series.h"
#include "core/report/run_report.h"

namespace {

constexpr const char* kUsage =
    "usage: veridrift-series [--csv | --report] SENTENCE DEGREE ESTIMATE\n"
    "       veridrift-series --picture web|series|both (--step N | --steps A..B)\n"
    "                        --output FILE [--size WxH] [--delay MS] [--loop N]\n"
    "                        [--iterate 1|2]\n"
    "                        SENTENCE DEGREE ESTIMATE\n"
    "       veridrift-series --orbit [--over degree|estimate] [--range A..B]\n"
    "                        [--columns C] [--transient T] [--keep N]\n"
    "                        (--csv | --table | --output FILE.png [--size WxH]\n"
    "                        [--scale S])\n"
    "                        SENTENCE DEGREE ESTIMATE\n"
    "       veridrift-series --version | --help\n"
    "  SENTENCE  sentence number, 0 to 9\n"
    "  DEGREE    degree k, a decimal number in [0,1] (ignored by sentences 6 to 9)\n"
    "  ESTIMATE  initial estimate x0, a decimal number in [0,1]\n"
    "Prints the caption and the formula as lines starting with \"# \", then\n"
    "s[0] to s[999], one per line as index<TAB>value with 9 significant digits.\n"
    "--csv prints the same values as comma-separated lines under the header\n"
    "\"step,value\" instead.\n"
    "--report prints instead what the run does: behaviour, from step, period and\n"
    "values, the fixed points of f with their slopes, the Lyapunov exponent and\n"
    "notes, one \"name: value\" line each.\n"
    "--picture writes the web or time-series diagram at step count N (0 to 1000)\n"
    "to FILE as .png, .svg or .pdf (by its suffix), WxH pixels (default: the\n"
    "diagram's size in the window). --steps A..B writes one PDF page per step, or\n"
    "one PNG or SVG per step when FILE holds %d (replaced by the step count).\n"
    "both puts the time series above the web as the window shows them (no --size).\n"
    "A .gif FILE is an animation, one frame per step, MS milliseconds each (10 to\n"
    "60000 in steps of 10, default 500), played N more times (default 0: forever).\n"
    "--iterate 2 adds f(f(x)) to the web diagram, in cyan (default 1: f alone).\n"
    "--orbit computes C columns (default 1000) over the degree or the estimate in\n"
    "[A,B] (default 0..1) and keeps s[T]..s[T+N-1] of each column's run (default\n"
    "500 and 500): --csv lists them, --table gives the run report's verdict per\n"
    "column, --output draws the orbit diagram (default 1000x600), its margins and\n"
    "type S times as large (1 to 4, default 1) as on a screen of S times the density.\n"
    "--version prints the program's name and version.\n";

// The whole argument must be a number; a trailing letter is a typo, not a value.
bool ReadWholeNumber(std::string_view text, double* value) {
  std::size_t consumed = 0;
  *value = ParseDoublePrefix(text, &consumed);
  return consumed > 0 && consumed == text.size() && std::isfinite(*value);
}

bool ReadSentence(std::string_view text, SentenceKind* sentence) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '9') {
    return false;
  }
  *sentence = text[0] - '0';
  return true;
}

void PrintCommented(std::ostream& out, const std::string& text) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    out << "# " << text.substr(start, end - start) << '\n';
    if (end == std::string::npos) {
      break;
    }
    start = end + 1;
  }
}

// Spreadsheet-ready: no comment lines, one header naming the columns.
int PrintCsv(std::ostream& out) {
  out << SeriesCsvText();
  out.flush();
  return out ? 0 : 1;
}

}  // namespace

bool ComputeRunOfArguments(const char* sentenceText, const char* degreeText,
                           const char* estimateText, std::ostream& err) {
  SentenceKind sentence = 0;
  if (!ReadSentence(sentenceText, &sentence)) {
    err << "veridrift-series: SENTENCE must be a whole number from 0 to 9, not \"" << sentenceText
        << "\"\n";
    return false;
  }
  const char* names[2] = {"DEGREE", "ESTIMATE"};
  const char* texts[2] = {degreeText, estimateText};
  float values[2] = {0.0f, 0.0f};
  for (int i = 0; i < 2; ++i) {
    double value = 0.0;
    if (!ReadWholeNumber(texts[i], &value)) {
      err << "veridrift-series: " << names[i] << " must be a decimal number, not \"" << texts[i]
          << "\"\n";
      return false;
    }
    if (value < 0.0 || value > 1.0) {
      err << "veridrift-series: " << names[i] << " must lie in [0,1], not " << texts[i] << "\n";
      return false;
    }
    values[i] = static_cast<float>(value);
  }
  ComputeSeriesValues(values[0], values[1], sentence);
  return true;
}

int RunSeriesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    out << kUsage;
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    out << "veridrift-series " VERIDRIFT_VERSION "\n";
    out.flush();
    return out ? 0 : 1;
  }
  const bool csv = argc > 1 && std::strcmp(argv[1], "--csv") == 0;
  const bool report = argc > 1 && std::strcmp(argv[1], "--report") == 0;
  if (csv || report) {
    --argc;
    ++argv;
  }
  if (argc != 4) {
    err << "veridrift-series: expected 3 arguments (SENTENCE DEGREE ESTIMATE), got " << argc - 1
        << "; see --help\n";
    return kSeriesCommandUsageError;
  }
  if (!ComputeRunOfArguments(argv[1], argv[2], argv[3], err)) {
    return kSeriesCommandUsageError;
  }
  if (csv) {
    return PrintCsv(out);
  }
  if (report) {
    out << FormatReportLines(AnalyseRun());
    out.flush();
    return out ? 0 : 1;
  }
  std::string text;
  FormatSentenceCaption(text, g_runParams.sentence);
  PrintCommented(out, text);
  FormatFormula(text);
  PrintCommented(out, text);
  for (int i = 0; i < kSeriesLength; ++i) {
    out << i << '\t' << FormatSignificant9(SeriesAt(i)) << '\n';
  }
  out.flush();
  return out ? 0 : 1;
}
