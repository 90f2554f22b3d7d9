// Sheets as pixels, drawn by the core's rasteriser: the same pixels a view
// shows for the same strokes, on any machine, with or without OpenGL.
#pragma once

#include <optional>
#include <vector>

#include "core/raster/rgba_image.h"
#include "picture/sheet.h"

// The sheet on black, each part where the sheet puts it.
RgbaImage DrawSheet(const Sheet& sheet, int width, int height);

// The sheets of an animation drawn in order, each web diagram on top of its
// last picture when only its trace has grown (the pixels a whole drawing
// gives, as a view draws its steps), the rest afresh. The model must not
// change between the sheets.
class SheetFrames {
 public:
  SheetFrames(int width, int height);
  const RgbaImage& Draw(const Sheet& sheet);

 private:
  struct Kept {
    std::optional<SheetPart> last;
    RgbaImage pixels;
  };
  const RgbaImage& DrawPart(Kept& kept, const SheetPart& part);

  std::vector<Kept> m_parts;
  RgbaImage m_sheet;
};
