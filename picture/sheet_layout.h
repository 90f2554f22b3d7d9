// Where the diagrams stand on a picture: one view fills it, or both stand
// as the window has them at scale 1, the time series above the web. The
// command line and the page lay their pictures out alike, so the same
// request gives the same file.
#pragma once

#include <optional>
#include <vector>

#include "picture/sheet.h"

// The mode that puts both views on one sheet (0 is the time series, 1 the web).
inline constexpr int kBothDiagrams = 2;

struct SheetLayout {
  std::vector<SheetPart> parts;
  int width = 0;
  int height = 0;
};

// The layout of `mode` (0, 1 or kBothDiagrams); one view takes `size` when
// given, else its size in the window.
SheetLayout DiagramSheetLayout(int mode, std::optional<PixelRect> size = std::nullopt);

// The layout's parts at step count `step`, f∘f on the web diagram when
// `secondIterate` is set.
Sheet SheetAtStep(const SheetLayout& layout, int step, bool secondIterate);
