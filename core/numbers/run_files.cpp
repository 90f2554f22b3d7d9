#include "core/numbers/run_files.h"

#include "core/numbers/number_text.h"
#include "core/numbers/series.h"

std::string SeriesCsvText() {
  std::string text = "step,value\n";
  for (int i = 0; i < kSeriesLength; ++i) {
    text += std::to_string(i);
    text += ',';
    text += FormatSignificant9(SeriesAt(i));
    text += '\n';
  }
  return text;
}
