#include "core/orbit/orbit_csv.h"

#include "core/numbers/number_text.h"

std::string OrbitCsvHeader(const char* axis) {
  return std::string(axis) + ",step,value\n";
}

std::string OrbitCsvColumn(float parameter, const float* values, int transient, int keep) {
  const std::string head = FormatSignificant9(parameter);
  std::string text;
  for (int n = 0; n < keep; ++n) {
    text += head + ',' + std::to_string(transient + n) + ',' + FormatSignificant9(values[n]) + '\n';
  }
  return text;
}
