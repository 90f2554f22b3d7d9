// The orbit diagram as pixels: every dot counted into the pixel it falls on,
// then the pixels shaded by their count, so memory and drawing follow the
// picture's size and never the number of dots. Plain 0xAARRGGBB pixels, row
// 0 at the top, ready for any display.
#pragma once

#include <cstdint>
#include <vector>

#include "core/orbit/orbit_columns.h"

// One pixel column per orbit column; rows span the values [low, high].
class OrbitRaster {
 public:
  OrbitRaster(int width, int height, double low, double high);

  int width() const { return width_; }
  int height() const { return height_; }

  // Counts column `column`'s n values; values outside [low, high] fall off.
  // Different columns may be counted at the same time on different threads.
  void CountColumn(int column, const float* values, int n);

  std::uint16_t CountAt(int column, int row) const {
    return counts_[static_cast<std::size_t>(column) * static_cast<std::size_t>(height_) +
                   static_cast<std::size_t>(row)];
  }

 private:
  int width_;
  int height_;
  double low_;
  double high_;
  // Column by column, so that each thread writes its own stretch; counts
  // stop at the largest uint16 (the shading has long reached its top).
  std::vector<std::uint16_t> counts_;
};

inline constexpr std::uint32_t kOrbitGround = 0xff000000u;
inline constexpr std::uint32_t kOrbitDot = 0xffffffffu;
// Where rounding, not f, put the run on a fixed point: its dot is not f's.
inline constexpr std::uint32_t kOrbitRoundingDot = 0xffff8000u;
inline constexpr std::uint32_t kLyapunovPositive = 0xffff4040u;
inline constexpr std::uint32_t kLyapunovNegative = 0xff40a0ffu;
inline constexpr std::uint32_t kLyapunovZeroLine = 0xff808080u;
inline constexpr std::uint32_t kOrbitAxis = 0xffc8c8c8u;
inline constexpr std::uint32_t kOrbitMarker = 0xff50ff50u;
inline constexpr std::uint32_t kOrbitCursor = 0xff00dcffu;

// The dots as one byte a pixel, an index into OrbitPalette(): a quarter of
// the memory of colours, which matters at full-screen sizes. 0 is the
// ground; 1 to 120 a dot from faint to full, 129 to 248 the same in the
// rounding colour; the free entries hold the strip's, the axes' and the
// marks' colours, so that a whole picture fits the palette (a PNG of one
// byte a pixel is quick to write).
inline constexpr int kOrbitLevels = 120;
inline constexpr std::uint8_t kOrbitRoundingShift = 128;
const std::vector<std::uint32_t>& OrbitPalette();

// The palette's entries of the picture's other parts.
inline constexpr std::uint8_t kIndexGround = 0;
inline constexpr std::uint8_t kIndexPositive = 121;
inline constexpr std::uint8_t kIndexNegative = 122;
inline constexpr std::uint8_t kIndexZeroLine = 123;
inline constexpr std::uint8_t kIndexAxis = 124;
inline constexpr std::uint8_t kIndexMarker = 125;
inline constexpr std::uint8_t kIndexCursor = 126;
inline constexpr std::uint8_t kIndexRounding = kOrbitRoundingShift + kOrbitLevels;

// The dots shaded by count against `kept`, the values each column keeps: one
// dot shows faintly, a column's every value in one pixel at full strength.
std::vector<std::uint8_t> ShadeOrbitRaster(const OrbitRaster& raster,
                                           const std::vector<OrbitColumn>& columns, int kept);

// The Lyapunov strip, `height` rows over the exponents [low, high]: a bar from
// the zero line to each column's exponent, -inf clipped to the bottom, inf to
// the top, nothing for an undefined one; rounded columns in their colour.
inline constexpr double kLyapunovStripLow = -2.0;
inline constexpr double kLyapunovStripHigh = 1.0;
std::vector<std::uint8_t> ShadeLyapunovStrip(const std::vector<OrbitColumn>& columns, int height);
