#include "core/raster/stroke_segments.h"

namespace {

SegmentEnd EndOf(const ColouredVertex& vertex) {
  // Every vertex carries the colour current when it is sent: a stroke's own
  // colour is only ever the first vertex's.
  return {static_cast<float>(vertex.x), static_cast<float>(vertex.y), vertex.colour};
}

}  // namespace

bool StrokeSegments::Next(Segment* segment) {
  while (m_stroke < m_strokes.size()) {
    const Stroke& stroke = m_strokes[m_stroke];
    const std::size_t step = stroke.primitive == Primitive::kLines ? 2 : 1;
    if (m_vertex + 1 < stroke.vertices.size()) {
      segment->from = EndOf(stroke.vertices[m_vertex]);
      segment->to = EndOf(stroke.vertices[m_vertex + 1]);
      m_vertex += step;
      return true;
    }
    ++m_stroke;
    m_vertex = 0;
  }
  return false;
}
