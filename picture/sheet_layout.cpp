#include "picture/sheet_layout.h"

#include <algorithm>

#include "core/layout/dialog_rects.h"
#include "core/layout/resource.h"

namespace {

// Where a view stands in the window at scale 1.
PixelRect ViewPlace(int mode) {
  const DialogRect rect = DiagramViewRect(mode == 1 ? IDC_WEB_PLACEHOLDER : IDC_SERIES_PLACEHOLDER);
  return {rect.x, rect.y, rect.width, rect.height};
}

}  // namespace

SheetLayout DiagramSheetLayout(int mode, std::optional<PixelRect> size) {
  if (mode != kBothDiagrams) {
    const PixelRect place = size ? *size : ViewPlace(mode);
    const PixelRect sheet{0, 0, place.width, place.height};
    return {{{mode, 0, sheet}}, sheet.width, sheet.height};
  }
  // The window's gap stays between the two.
  const PixelRect series = ViewPlace(0);
  const PixelRect web = ViewPlace(1);
  const int left = std::min(series.x, web.x);
  const int top = std::min(series.y, web.y);
  const int right = std::max(series.x + series.width, web.x + web.width);
  const int bottom = std::max(series.y + series.height, web.y + web.height);
  return {{{0, 0, {series.x - left, series.y - top, series.width, series.height}},
           {1, 0, {web.x - left, web.y - top, web.width, web.height}}},
          right - left,
          bottom - top};
}

Sheet SheetAtStep(const SheetLayout& layout, int step, bool secondIterate) {
  Sheet sheet;
  for (SheetPart part : layout.parts) {
    part.counter = step;
    part.secondIterate = secondIterate && part.mode == 1;
    sheet.parts.push_back(part);
  }
  return sheet;
}
