#include "core/raster/line_rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

constexpr int kSubpixelBits = 8;
constexpr int kSubpixels = 1 << kSubpixelBits;
// The quad reaches half a pixel either side of the line's axis.
constexpr int kHalfWidth = kSubpixels / 2;
// Taken off every coordinate so that pixel centres fall on whole numbers.
constexpr float kCentre = 0.5f;

// Half away from zero with the half added in single precision, so a value a
// hair under n + 0.5 can still round up, as llvmpipe's snapping does.
int Snap(float v) {
  const float scaled = v * static_cast<float>(kSubpixels);
  return scaled >= 0.0f ? static_cast<int>(scaled + 0.5f) : static_cast<int>(scaled - 0.5f);
}

float Fraction(float v) {
  return v - std::floor(v);
}

// The sign test llvmpipe uses: zero, either zero, counts as positive.
bool Positive(float v) {
  return v >= 0.0f;
}

// Corners in fixed point, in order around the quad.
struct Quad {
  int x[4];
  int y[4];
};

// The diamond-exit rule decides each end on its own: the start pixel is
// drawn when the line leaves its diamond, the end pixel when the line leaves
// it before reaching the end. The quad with its ends on the vertices would
// decide by which side of the pixel centre the vertex lies; where the two
// disagree the end is moved half a pixel along the line, to the centre's
// other side.
Quad LineQuad(WindowPoint v1, WindowPoint v2) {
  const float dx = v1.x - v2.x;
  const float dy = v1.y - v2.y;
  const float x1diff = v1.x - std::floor(v1.x) - 0.5f;
  const float y1diff = v1.y - std::floor(v1.y) - 0.5f;
  float x2diff = v2.x - std::floor(v2.x) - 0.5f;
  float y2diff = v2.y - std::floor(v2.y) - 0.5f;
  float xOffset = 0.0f;
  float yOffset = 0.0f;
  float xOffsetEnd = 0.0f;
  float yOffsetEnd = 0.0f;
  Quad quad{};
  if (std::fabs(dx) >= std::fabs(dy)) {
    const float dydx = dy / dx;
    // An end on a pixel's bottom edge going down belongs to the pixel below.
    if (y2diff == -0.5f && dy < 0.0f) {
      y2diff = 0.5f;
    }
    bool drawStart = false;
    if (std::fabs(x1diff) + std::fabs(y1diff) < 0.5f) {
      drawStart = true;
    } else if (Positive(x1diff) == Positive(-dx)) {
      drawStart = false;
    } else if (Positive(-y1diff) != Positive(dy)) {
      drawStart = true;
    } else {
      const float crossing = Fraction(v1.y) + x1diff * dydx;
      drawStart = crossing < 1.0f && crossing > 0.0f;
    }
    bool drawEnd = false;
    if (std::fabs(x2diff) + std::fabs(y2diff) < 0.5f) {
      drawEnd = false;
    } else if (Positive(x2diff) != Positive(-dx)) {
      drawEnd = false;
    } else if (Positive(-y2diff) == Positive(dy)) {
      drawEnd = true;
    } else {
      const float crossing = Fraction(v2.y) + x2diff * dydx;
      drawEnd = crossing < 1.0f && crossing > 0.0f;
    }
    // Whether the quad, ends on the vertices, would hold each end's pixel.
    const bool quadHasStart = Positive(-x1diff) != Positive(dx);
    const bool quadHasEnd = Positive(x2diff) == Positive(-dx) || x2diff == 0.0f;
    // From here v1 is the right end, v2 the left one.
    if (dx < 0.0f) {
      std::swap(v1, v2);
      if (quadHasStart != drawStart) {
        xOffsetEnd = -x1diff - 0.5f;
        yOffsetEnd = xOffsetEnd * dydx;
      }
      if (quadHasEnd != drawEnd) {
        xOffset = -x2diff - 0.5f;
        yOffset = xOffset * dydx;
      }
    } else {
      if (quadHasStart != drawStart) {
        xOffset = -x1diff + 0.5f;
        yOffset = xOffset * dydx;
      }
      if (quadHasEnd != drawEnd) {
        xOffsetEnd = -x2diff + 0.5f;
        yOffsetEnd = xOffsetEnd * dydx;
      }
    }
    const int right = Snap(v1.x + xOffset - kCentre);
    const int left = Snap(v2.x + xOffsetEnd - kCentre);
    const int rightY = Snap(v1.y + yOffset - kCentre);
    const int leftY = Snap(v2.y + yOffsetEnd - kCentre);
    quad = {{right, left, left, right},
            {rightY - kHalfWidth, leftY - kHalfWidth, leftY + kHalfWidth, rightY + kHalfWidth}};
  } else {
    const float dxdy = dx / dy;
    // An end on a pixel's left edge going left belongs to the pixel on the left.
    if (x2diff == -0.5f && dx < 0.0f) {
      x2diff = 0.5f;
    }
    bool drawStart = false;
    if (std::fabs(x1diff) + std::fabs(y1diff) < 0.5f) {
      drawStart = true;
    } else if (Positive(-y1diff) == Positive(dy)) {
      drawStart = false;
    } else if (Positive(x1diff) != Positive(-dx)) {
      drawStart = true;
    } else {
      const float crossing = Fraction(v1.x) + y1diff * dxdy;
      drawStart = crossing < 1.0f && crossing > 0.0f;
    }
    bool drawEnd = false;
    if (std::fabs(x2diff) + std::fabs(y2diff) < 0.5f) {
      drawEnd = false;
    } else if (Positive(-y2diff) != Positive(dy)) {
      drawEnd = false;
    } else if (Positive(x2diff) == Positive(-dx)) {
      drawEnd = true;
    } else {
      const float crossing = Fraction(v2.x) + y2diff * dxdy;
      drawEnd = crossing < 1.0f && crossing >= 0.0f;
    }
    // These sign tests, not the fill rule, decide an end on a row's centre:
    // a start there heading down counts as held, and is not moved.
    const bool quadHasStart = Positive(y1diff) == Positive(dy);
    const bool quadHasEnd = Positive(-y2diff) == Positive(dy) || y2diff == 0.0f;
    // From here v1 is the bottom end, v2 the top one.
    if (dy > 0.0f) {
      std::swap(v1, v2);
      if (quadHasStart != drawStart) {
        yOffsetEnd = -y1diff + 0.5f;
        xOffsetEnd = yOffsetEnd * dxdy;
      }
      if (quadHasEnd != drawEnd) {
        yOffset = -y2diff + 0.5f;
        xOffset = yOffset * dxdy;
      }
    } else {
      if (quadHasStart != drawStart) {
        yOffset = -y1diff - 0.5f;
        xOffset = yOffset * dxdy;
      }
      if (quadHasEnd != drawEnd) {
        yOffsetEnd = -y2diff - 0.5f;
        xOffsetEnd = yOffsetEnd * dxdy;
      }
    }
    const int bottom = Snap(v1.y + yOffset - kCentre);
    const int top = Snap(v2.y + yOffsetEnd - kCentre);
    const int bottomX = Snap(v1.x + xOffset - kCentre);
    const int topX = Snap(v2.x + xOffsetEnd - kCentre);
    quad = {{bottomX - kHalfWidth, topX - kHalfWidth, topX + kHalfWidth, bottomX + kHalfWidth},
            {bottom, top, top, bottom}};
  }
  return quad;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if (a % b != 0 && (a < 0) != (b < 0)) {
    --q;
  }
  return q;
}

// One side of the quad: a pixel centre (X, Y), in fixed point, is on the
// inner side when c - dcdx * X + dcdy * Y > 0.
struct Edge {
  std::int64_t c = 0;
  std::int64_t dcdx = 0;
  std::int64_t dcdy = 0;
};

// The pixels of a row an edge lets through, [first, last], walked from row
// to row with a quotient and remainder instead of a division per row: a
// long staircase line spans hundreds of rows.
class EdgeWalker {
 public:
  EdgeWalker(const Edge& edge, int y) {
    const std::int64_t atRow = edge.c + edge.dcdy * (static_cast<std::int64_t>(y) << kSubpixelBits);
    const std::int64_t step = edge.dcdy * kSubpixels;
    const std::int64_t across = edge.dcdx * kSubpixels;
    if (across == 0) {
      // A horizontal side lets a whole row through or none of it: the same
      // walk with a unit divisor, the quotient not negative while it does.
      m_kind = Kind::kWholeRow;
      Start(atRow - 1, step);
      return;
    }
    m_divisor = across > 0 ? across : -across;
    m_kind = across > 0 ? Kind::kUpperBound : Kind::kLowerBound;
    // Right of the edge: x * across < atRow. Left of it: x * -across > -atRow.
    if (across > 0) {
      Start(atRow - 1, step);
    } else {
      Start(-atRow, -step);
    }
  }

  void Clip(std::int64_t* first, std::int64_t* last) const {
    switch (m_kind) {
      case Kind::kUpperBound:
        *last = std::min(*last, m_quotient);
        break;
      case Kind::kLowerBound:
        *first = std::max(*first, m_quotient + 1);
        break;
      case Kind::kWholeRow:
        if (m_quotient < 0) {
          *last = *first - 1;
        }
        break;
    }
  }

  void NextRow() {
    m_quotient += m_stepQuotient;
    m_remainder += m_stepRemainder;
    if (m_remainder >= m_divisor) {
      m_remainder -= m_divisor;
      ++m_quotient;
    }
  }

 private:
  enum class Kind { kUpperBound, kLowerBound, kWholeRow };

  void Start(std::int64_t numerator, std::int64_t step) {
    m_quotient = FloorDiv(numerator, m_divisor);
    m_remainder = numerator - m_quotient * m_divisor;
    m_stepQuotient = FloorDiv(step, m_divisor);
    m_stepRemainder = step - m_stepQuotient * m_divisor;
  }

  Kind m_kind = Kind::kWholeRow;
  std::int64_t m_divisor = 1;
  std::int64_t m_quotient = 0;
  std::int64_t m_remainder = 0;
  std::int64_t m_stepQuotient = 0;
  std::int64_t m_stepRemainder = 0;
};

void FillQuad(const Quad& quad, int width, int height, std::vector<Span>* spans) {
  Edge edges[4];
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    Edge& edge = edges[i];
    edge.dcdy = quad.x[i] - quad.x[j];
    edge.dcdx = quad.y[i] - quad.y[j];
    edge.c = edge.dcdx * quad.x[i] - edge.dcdy * quad.y[i];
    // Centres on the left and bottom sides are inside, on the right and top
    // ones outside, so two quads sharing a side never both draw a pixel.
    if (edge.dcdx < 0 || (edge.dcdx == 0 && edge.dcdy > 0)) {
      ++edge.c;
    }
  }
  const auto [minX, maxX] = std::minmax({quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
  const auto [minY, maxY] = std::minmax({quad.y[0], quad.y[1], quad.y[2], quad.y[3]});
  const int x0 = std::max((minX + kSubpixels - 1) >> kSubpixelBits, 0);
  const int x1 = std::min(((maxX + kSubpixels - 1) >> kSubpixelBits) - 1, width - 1);
  const int y0 = std::max((minY + kSubpixels - 1) >> kSubpixelBits, 0);
  const int y1 = std::min(((maxY + kSubpixels - 1) >> kSubpixelBits) - 1, height - 1);
  if (x0 > x1 || y0 > y1) {
    return;
  }
  // Horizontal and vertical lines, nearly every line of the staircase, are
  // rectangles: their pixels are the bounding box's, whose rounding follows
  // the same fill rule, unless moving the ends turned the quad inside out
  // (clockwise is the right way round), when no pixel is inside.
  const bool rectangle = quad.x[0] == quad.x[3] && quad.x[1] == quad.x[2] &&
                         quad.y[0] == quad.y[1] && quad.y[2] == quad.y[3];
  const bool uprightRectangle = quad.x[0] == quad.x[1] && quad.x[2] == quad.x[3] &&
                                quad.y[0] == quad.y[3] && quad.y[1] == quad.y[2];
  if (rectangle || uprightRectangle) {
    const bool clockwise = rectangle ? quad.x[0] > quad.x[1] : quad.y[1] > quad.y[0];
    if (clockwise) {
      for (int y = y0; y <= y1; ++y) {
        spans->push_back({y, x0, x1});
      }
    }
    return;
  }
  EdgeWalker walkers[4] = {{edges[0], y0}, {edges[1], y0}, {edges[2], y0}, {edges[3], y0}};
  for (int y = y0; y <= y1; ++y) {
    std::int64_t first = x0;
    std::int64_t last = x1;
    for (EdgeWalker& walker : walkers) {
      walker.Clip(&first, &last);
      walker.NextRow();
    }
    if (first <= last) {
      spans->push_back({y, static_cast<int>(first), static_cast<int>(last)});
    }
  }
}

float Channel(const Rgb& colour, int i) {
  return i == 0 ? colour.r : (i == 1 ? colour.g : colour.b);
}

// Colours vary along the major axis only, as llvmpipe interpolates wide lines.
ColourPlane LineColours(WindowPoint v1, const Rgb& c1, WindowPoint v2, const Rgb& c2) {
  ColourPlane plane;
  if (c1 == c2) {
    for (int i = 0; i < 3; ++i) {
      plane.a0[i] = Channel(c1, i);
    }
    return plane;
  }
  plane.constant = false;
  const float dx = v1.x - v2.x;
  const float dy = v1.y - v2.y;
  const float oneOverArea = 1.0f / (dx * dx + dy * dy);
  float alongX = 0.0f;
  float alongY = 0.0f;
  if (std::fabs(dx) >= std::fabs(dy)) {
    const float dydx = dy / dx;
    alongX = dx * (1.0f + dydx * dydx);
  } else {
    const float dxdy = dx / dy;
    alongY = dy * (1.0f + dxdy * dxdy);
  }
  for (int i = 0; i < 3; ++i) {
    const float a1 = Channel(c1, i);
    const float difference = a1 - Channel(c2, i);
    plane.dadx[i] = difference * alongX * oneOverArea;
    plane.dady[i] = difference * alongY * oneOverArea;
    plane.a0[i] = a1 - (plane.dadx[i] * (v1.x - kCentre) + plane.dady[i] * (v1.y - kCentre));
  }
  return plane;
}

}  // namespace

void RasteriseLine(WindowPoint from, Rgb fromColour, WindowPoint to, Rgb toColour, int width,
                   int height, LinePixels* pixels) {
  pixels->spans.clear();
  const float dx = from.x - to.x;
  const float dy = from.y - to.y;
  if (dx * dx + dy * dy == 0.0f) {
    return;
  }
  FillQuad(LineQuad(from, to), width, height, &pixels->spans);
  pixels->colour = LineColours(from, fromColour, to, toColour);
}
