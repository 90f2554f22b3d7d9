#include "core/raster/raster.h"

#include "core/raster/diagram_projection.h"
#include "core/raster/line_rasteriser.h"
#include "core/raster/span_writer.h"
#include "core/raster/stroke_segments.h"

void DrawStrokes(RgbaImage& image, const std::vector<Stroke>& strokes) {
  if (image.width <= 0 || image.height <= 0) {
    return;
  }
  const DiagramProjection projection(image.width, image.height);
  StrokeSegments segments(strokes);
  LinePixels pixels;
  Segment segment;
  while (segments.Next(&segment)) {
    const WindowPoint from = projection.ToWindow(segment.from.x, segment.from.y);
    const WindowPoint to = projection.ToWindow(segment.to.x, segment.to.y);
    RasteriseLine(from, segment.from.colour, to, segment.to.colour, image.width, image.height,
                  &pixels);
    WriteSpans(pixels, image);
  }
}
