#include "picture/sheet.h"

#include <cctype>
#include <string>

#include "core/numbers/series.h"

std::optional<PictureFormat> PictureFormatOfPath(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) {
    return std::nullopt;
  }
  std::string suffix(name.substr(dot + 1));
  for (char& c : suffix) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (suffix == "png") {
    return PictureFormat::kPng;
  }
  if (suffix == "svg") {
    return PictureFormat::kSvg;
  }
  if (suffix == "pdf") {
    return PictureFormat::kPdf;
  }
  if (suffix == "gif") {
    return PictureFormat::kGif;
  }
  return std::nullopt;
}

std::vector<Stroke> DiagramStrokes(int mode, int counter, bool secondIterate) {
  const StepCounterRead read = [counter] { return counter; };
  if (mode == 1) {
    return WebDiagramStrokes(read, g_series, secondIterate);
  }
  std::vector<Stroke> strokes;
  if (mode == 0) {
    if (std::optional<Stroke> page = TimeSeriesStroke(read, g_series)) {
      strokes.push_back(std::move(*page));
    }
  }
  return strokes;
}
