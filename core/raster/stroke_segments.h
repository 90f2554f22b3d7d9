// The strokes as the line stage receives them: one segment at a time, in the
// order the strokes are drawn, each end with its own colour. Coordinates are
// singles, because that is what OpenGL keeps of a glVertex2d.
#pragma once

#include <cstddef>
#include <vector>

#include "core/diagrams/drawing.h"

struct SegmentEnd {
  float x = 0.0f;
  float y = 0.0f;
  Rgb colour;
};

struct Segment {
  SegmentEnd from;
  SegmentEnd to;
};

// Walks a list of strokes without copying it. A strip of n vertices gives
// n - 1 segments, separate lines n / 2 (an odd last vertex is dropped).
class StrokeSegments {
 public:
  explicit StrokeSegments(const std::vector<Stroke>& strokes) : m_strokes(strokes) {}

  // The next segment into *segment; false once every stroke is used up.
  bool Next(Segment* segment);

 private:
  const std::vector<Stroke>& m_strokes;
  std::size_t m_stroke = 0;
  std::size_t m_vertex = 0;
};
