#include "core/orbit/orbit_image.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/numbers/number_text.h"

namespace {

// Margins at scale 1.
constexpr int kLeft = 52;
constexpr int kRight = 28;  // room for the last tick label
constexpr int kTop = 10;
constexpr int kBottom = 30;
constexpr int kGap = 6;
constexpr int kTicks = 5;
constexpr int kTickLength = 4;

// The picture's own type: 5 x 7 cells, a row of five bits each, top first.
// Only what the labels need.
struct Glyph {
  char name;
  std::uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0e, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0e}},
    {'1', {0x04, 0x0c, 0x04, 0x04, 0x04, 0x04, 0x0e}},
    {'2', {0x0e, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1f}},
    {'3', {0x1f, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0e}},
    {'4', {0x02, 0x06, 0x0a, 0x12, 0x1f, 0x02, 0x02}},
    {'5', {0x1f, 0x10, 0x1e, 0x01, 0x01, 0x11, 0x0e}},
    {'6', {0x06, 0x08, 0x10, 0x1e, 0x11, 0x11, 0x0e}},
    {'7', {0x1f, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0e, 0x11, 0x11, 0x0e, 0x11, 0x11, 0x0e}},
    {'9', {0x0e, 0x11, 0x11, 0x0f, 0x01, 0x02, 0x0c}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0c, 0x0c}},
    {'-', {0x00, 0x00, 0x00, 0x1f, 0x00, 0x00, 0x00}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}},
    {'x', {0x00, 0x00, 0x11, 0x0a, 0x04, 0x0a, 0x11}},
    {'L', {0x08, 0x04, 0x04, 0x0a, 0x0a, 0x11, 0x11}},  // lambda
};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kAdvance = 6;

class Canvas {
 public:
  Canvas(const OrbitFrame& frame)
      : width_(frame.width),
        height_(frame.height),
        pixels_(static_cast<std::size_t>(frame.width) * frame.height, kIndexGround) {}

  void Set(int x, int y, std::uint8_t index) {
    if (x >= 0 && x < width_ && y >= 0 && y < height_) {
      pixels_[static_cast<std::size_t>(y) * width_ + x] = index;
    }
  }
  void Fill(int x, int y, int w, int h, std::uint8_t index) {
    for (int row = y; row < y + h; ++row) {
      for (int col = x; col < x + w; ++col) {
        Set(col, row, index);
      }
    }
  }
  // The rectangle's outline just outside it, so its edge pixels stay seen.
  void Frame(const OrbitRect& r, int thickness, std::uint8_t index) {
    Fill(r.x - thickness, r.y - thickness, r.width + 2 * thickness, thickness, index);
    Fill(r.x - thickness, r.y + r.height, r.width + 2 * thickness, thickness, index);
    Fill(r.x - thickness, r.y, thickness, r.height, index);
    Fill(r.x + r.width, r.y, thickness, r.height, index);
  }
  // Source pixels (a columns x rows image) spread over `to` by nearest pixel.
  void Blit(const std::vector<std::uint8_t>& source, int columns, int rows, const OrbitRect& to) {
    for (int y = 0; y < to.height; ++y) {
      const std::size_t sourceRow =
          static_cast<std::size_t>(static_cast<long long>(y) * rows / to.height) * columns;
      std::uint8_t* out = &pixels_[static_cast<std::size_t>(to.y + y) * width_ + to.x];
      for (int x = 0; x < to.width; ++x) {
        out[x] = source[sourceRow +
                        static_cast<std::size_t>(static_cast<long long>(x) * columns / to.width)];
      }
    }
  }
  static int TextWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : (static_cast<int>(text.size()) * kAdvance - 1) * scale;
  }
  void Text(const std::string& text, int x, int y, int scale, std::uint8_t index) {
    for (const char c : text) {
      for (const Glyph& glyph : kGlyphs) {
        if (glyph.name != c) {
          continue;
        }
        for (int row = 0; row < kGlyphHeight; ++row) {
          for (int col = 0; col < kGlyphWidth; ++col) {
            if ((glyph.rows[row] >> (kGlyphWidth - 1 - col)) & 1) {
              Fill(x + col * scale, y + row * scale, scale, scale, index);
            }
          }
        }
      }
      x += kAdvance * scale;
    }
  }
  std::vector<std::uint8_t> Take() { return std::move(pixels_); }

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

// Enough decimals that neighbouring ticks differ, through the tool's own
// number text.
std::string TickText(double value, double span) {
  if (span >= 0.2) {
    return FormatFixed2(value);
  }
  if (span >= 0.02) {
    return FormatFixed3(value);
  }
  return span >= 0.002 ? FormatFixed4(value) : FormatFixed6(value);
}

}  // namespace

OrbitFrame OrbitFrameFor(int width, int height, int scale) {
  OrbitFrame frame;
  frame.width = width;
  frame.height = height;
  frame.scale = std::max(1, scale);
  const int s = frame.scale;
  const int dotsWidth = std::max(1, width - (kLeft + kRight) * s);
  const int strip = std::clamp(height / 8, 20 * s, 80 * s);
  const int dots = std::max(1, height - (kTop + kBottom + kGap) * s - strip);
  frame.dots = {kLeft * s, kTop * s, dotsWidth, dots};
  frame.strip = {kLeft * s, (kTop + kGap) * s + dots, dotsWidth, strip};
  return frame;
}

OrbitView OrbitViewForFrame(const OrbitRequest& request, double low, double high,
                            const OrbitFrame& frame, bool keepColumns) {
  OrbitView view;
  view.request = request;
  if (!keepColumns) {
    view.request.columns = std::clamp(frame.dots.width, kOrbitFewestColumns, kOrbitMostColumns);
  }
  view.low = low;
  view.high = high;
  view.rows = frame.dots.height;
  view.stripRows = frame.strip.height;
  return view;
}

const char* OrbitAxisSymbol(OrbitAxis axis) {
  return axis == OrbitAxis::kDegree ? "k" : "x0";
}

std::vector<std::uint8_t> ComposeOrbitImage(const OrbitPicture& picture, const OrbitFrame& frame,
                                            const OrbitMarks& marks) {
  const OrbitView& view = picture.view;
  const OrbitRequest& request = view.request;
  const int s = frame.scale;
  Canvas canvas(frame);
  canvas.Blit(picture.dots, request.columns, view.rows, frame.dots);
  canvas.Blit(picture.strip, request.columns, view.stripRows, frame.strip);
  canvas.Frame(frame.dots, s, kIndexAxis);
  canvas.Frame(frame.strip, s, kIndexAxis);

  const int stripBottom = frame.strip.y + frame.strip.height + s;
  const double xSpan = request.to - request.from;
  const double ySpan = view.high - view.low;
  for (int i = 0; i < kTicks; ++i) {
    const double t = static_cast<double>(i) / (kTicks - 1);
    const int x = frame.dots.x + static_cast<int>(std::lround(t * (frame.dots.width - 1)));
    canvas.Fill(x, stripBottom, s, kTickLength * s, kIndexAxis);
    const std::string xText = TickText(request.from + t * xSpan, xSpan);
    canvas.Text(xText, x - Canvas::TextWidth(xText, s) / 2, stripBottom + (kTickLength + 3) * s, s,
                kIndexAxis);
    const int y = frame.dots.y + frame.dots.height - 1 -
                  static_cast<int>(std::lround(t * (frame.dots.height - 1)));
    canvas.Fill(frame.dots.x - (kTickLength + 1) * s, y, kTickLength * s, s, kIndexAxis);
    const std::string yText = TickText(view.low + t * ySpan, ySpan);
    canvas.Text(yText, frame.dots.x - (kTickLength + 4) * s - Canvas::TextWidth(yText, s),
                y - kGlyphHeight * s / 2, s, kIndexAxis);
  }
  const std::string symbol = OrbitAxisSymbol(request.axis);
  canvas.Text(symbol, frame.dots.x + frame.dots.width - Canvas::TextWidth(symbol, s),
              stripBottom + (kTickLength + 3 + kGlyphHeight + 4) * s, s, kIndexAxis);
  canvas.Text("L", frame.dots.x - (kTickLength + 4) * s - Canvas::TextWidth("L", s),
              frame.strip.y + (frame.strip.height - kGlyphHeight * s) / 2, s, kIndexAxis);

  const int top = frame.dots.y;
  const int bottom = frame.strip.y + frame.strip.height;
  if (marks.marker && *marks.marker >= request.from && *marks.marker <= request.to) {
    const int x = frame.dots.x +
                  std::min(frame.dots.width - 1, static_cast<int>((*marks.marker - request.from) /
                                                                  xSpan * frame.dots.width));
    canvas.Fill(x, top, 1, bottom - top, kIndexMarker);
  }
  if (marks.cursorColumn >= 0 && marks.cursorColumn < request.columns) {
    const int x = frame.dots.x +
                  static_cast<int>((marks.cursorColumn + 0.5) * frame.dots.width / request.columns);
    for (int y = top; y < bottom; y += 6 * s) {
      canvas.Fill(x, y, 1, std::min(3 * s, bottom - y), kIndexCursor);
    }
  }
  return canvas.Take();
}
