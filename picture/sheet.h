// What a picture file holds, as plain data: one or more diagrams placed on a
// black sheet, at the step counts they show, for a PNG, an SVG, the pages
// of a PDF or the frames of a GIF.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/diagrams/drawing.h"

enum class PictureFormat { kPng, kSvg, kPdf, kGif };

// By the path's suffix (.png, .svg, .pdf, .gif, in any case); nothing for
// others.
std::optional<PictureFormat> PictureFormatOfPath(std::string_view path);

// A rectangle of whole pixels, top-left origin.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// One diagram placed on a sheet.
struct SheetPart {
  int mode = 1;  // 0 time series, 1 web
  int counter = 0;
  PixelRect rect;
  bool secondIterate = false;  // a web diagram with f∘f under its staircase
};

// A picture of one or more diagrams on black; `label`, when not empty, is
// printed in the top-left corner (PDF pages carry their step number).
struct Sheet {
  std::vector<SheetPart> parts;
  std::string label;
};

// What a view of `mode` draws at step count `counter` from the current
// model, in the order it draws them; f∘f too on a web diagram when
// `secondIterate` is set.
std::vector<Stroke> DiagramStrokes(int mode, int counter, bool secondIterate = false);

// How long a GIF shows each frame, and how often it plays them again after
// the first time (0: forever).
struct FramePace {
  int delayMs = 500;
  int loops = 0;
};

// A file to write: a PNG or SVG holds one sheet, a PDF one page per sheet, a
// GIF one frame per sheet.
struct OutputFile {
  std::string path;
  PictureFormat format = PictureFormat::kPng;
  std::vector<Sheet> sheets;
};

// Told after each sheet of an animation is drawn (done of total); false
// stops the write.
using SheetProgress = std::function<bool(int done, int total)>;
