#include "picture/sheet_pixels.h"

#include <algorithm>
#include <cstring>

#include "core/numbers/series.h"
#include "core/raster/raster.h"

namespace {

// Copies a diagram's pixels onto the sheet, clipped to the sheet.
void Place(RgbaImage& sheet, const RgbaImage& part, const PixelRect& rect) {
  const int left = std::max(0, rect.x);
  const int right = std::min(sheet.width, rect.x + part.width);
  if (left >= right) {
    return;
  }
  for (int row = std::max(0, rect.y); row < std::min(sheet.height, rect.y + part.height); ++row) {
    std::memcpy(&sheet.rgba[sheet.Offset(left, row)],
                &part.rgba[part.Offset(left - rect.x, row - rect.y)],
                static_cast<std::size_t>(right - left) * 4);
  }
}

bool FillsSheet(const Sheet& sheet, int width, int height) {
  return sheet.parts.size() == 1 && sheet.parts.front().rect == PixelRect{0, 0, width, height};
}

}  // namespace

RgbaImage DrawSheet(const Sheet& sheet, int width, int height) {
  SheetFrames frames(width, height);
  return frames.Draw(sheet);
}

SheetFrames::SheetFrames(int width, int height) : m_sheet(RgbaImage::Black(width, height)) {}

const RgbaImage& SheetFrames::Draw(const Sheet& sheet) {
  m_parts.resize(sheet.parts.size());
  if (FillsSheet(sheet, m_sheet.width, m_sheet.height)) {
    return DrawPart(m_parts.front(), sheet.parts.front());
  }
  ClearToBlack(m_sheet);
  for (std::size_t i = 0; i < m_parts.size(); ++i) {
    Place(m_sheet, DrawPart(m_parts[i], sheet.parts[i]), sheet.parts[i].rect);
  }
  return m_sheet;
}

const RgbaImage& SheetFrames::DrawPart(Kept& kept, const SheetPart& part) {
  const bool sameView = kept.last && kept.last->mode == part.mode &&
                        kept.last->secondIterate == part.secondIterate &&
                        kept.last->rect.width == part.rect.width &&
                        kept.last->rect.height == part.rect.height;
  if (sameView && kept.last->counter == part.counter) {
    return kept.pixels;
  }
  if (sameView && part.mode == 1 && part.counter > kept.last->counter) {
    if (std::optional<Stroke> added =
            AddedTraceStroke(kept.last->counter, part.counter, g_series)) {
      DrawStrokes(kept.pixels, {std::move(*added)});
    }
  } else {
    kept.pixels = RgbaImage::Black(part.rect.width, part.rect.height);
    DrawStrokes(kept.pixels, DiagramStrokes(part.mode, part.counter, part.secondIterate));
  }
  kept.last = part;
  return kept.pixels;
}
