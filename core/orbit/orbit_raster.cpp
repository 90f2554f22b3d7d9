#include "core/orbit/orbit_raster.h"

#include <algorithm>
#include <cmath>

OrbitRaster::OrbitRaster(int width, int height, double low, double high)
    : width_(width),
      height_(height),
      low_(low),
      high_(high),
      counts_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

void OrbitRaster::CountColumn(int column, const float* values, int n) {
  std::uint16_t* counts = counts_.data() + static_cast<std::size_t>(column) * height_;
  const double scale = height_ / (high_ - low_);
  for (int i = 0; i < n; ++i) {
    const double v = values[i];
    if (!(v >= low_ && v <= high_)) {
      continue;
    }
    const int row = std::min(height_ - 1, static_cast<int>((high_ - v) * scale));
    if (counts[row] != 0xffff) {
      ++counts[row];
    }
  }
}

namespace {

std::uint32_t Dim(std::uint32_t colour, double strength) {
  std::uint32_t out = 0xff000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const double channel = ((colour >> shift) & 0xffu) * strength;
    out |= static_cast<std::uint32_t>(std::lround(channel)) << shift;
  }
  return out;
}

// The faintest dot still shows on the black ground.
constexpr double kFaintest = 0.35;

}  // namespace

const std::vector<std::uint32_t>& OrbitPalette() {
  static const std::vector<std::uint32_t> palette = [] {
    std::vector<std::uint32_t> colours(256, kOrbitGround);
    for (int level = 1; level <= kOrbitLevels; ++level) {
      const double strength = kFaintest + (1.0 - kFaintest) * (level - 1) / (kOrbitLevels - 1);
      colours[static_cast<std::size_t>(level)] = Dim(kOrbitDot, strength);
      colours[static_cast<std::size_t>(level + kOrbitRoundingShift)] =
          Dim(kOrbitRoundingDot, strength);
    }
    colours[kIndexPositive] = kLyapunovPositive;
    colours[kIndexNegative] = kLyapunovNegative;
    colours[kIndexZeroLine] = kLyapunovZeroLine;
    colours[kIndexAxis] = kOrbitAxis;
    colours[kIndexMarker] = kOrbitMarker;
    colours[kIndexCursor] = kOrbitCursor;
    return colours;
  }();
  return palette;
}

std::vector<std::uint8_t> ShadeOrbitRaster(const OrbitRaster& raster,
                                           const std::vector<OrbitColumn>& columns, int kept) {
  const int width = raster.width();
  const int height = raster.height();
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
  // Logarithmic, so that a chaotic column's thin spread still shows beside a
  // settled column's single bright pixel; one logarithm per count, not per
  // pixel.
  const double top = std::log(static_cast<double>(std::max(kept, 2)));
  std::vector<std::uint8_t> levels(std::min<std::size_t>(static_cast<std::size_t>(kept), 0xffff) +
                                   1);
  for (std::size_t count = 1; count < levels.size(); ++count) {
    const double strength = std::min(1.0, std::log(static_cast<double>(count)) / top);
    levels[count] =
        static_cast<std::uint8_t>(1 + static_cast<int>(std::lround(strength * (kOrbitLevels - 1))));
  }
  for (int c = 0; c < width; ++c) {
    const bool rounding = static_cast<std::size_t>(c) < columns.size() &&
                          columns[static_cast<std::size_t>(c)].verdict.rounding;
    const int shift = rounding ? kOrbitRoundingShift : 0;
    for (int r = 0; r < height; ++r) {
      const std::uint16_t count = raster.CountAt(c, r);
      if (count != 0) {
        const std::uint8_t level = levels[std::min<std::size_t>(count, levels.size() - 1)];
        pixels[static_cast<std::size_t>(r) * width + c] = static_cast<std::uint8_t>(level + shift);
      }
    }
  }
  return pixels;
}

std::vector<std::uint8_t> ShadeLyapunovStrip(const std::vector<OrbitColumn>& columns, int height) {
  const int width = static_cast<int>(columns.size());
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, kIndexGround);
  const auto rowOf = [height](double l) {
    const double clipped = std::clamp(l, kLyapunovStripLow, kLyapunovStripHigh);
    const double t = (kLyapunovStripHigh - clipped) / (kLyapunovStripHigh - kLyapunovStripLow);
    return std::min(height - 1, static_cast<int>(t * height));
  };
  const int zero = rowOf(0.0);
  for (int c = 0; c < width; ++c) {
    const double l = columns[static_cast<std::size_t>(c)].verdict.lyapunov;
    if (!std::isnan(l)) {
      const int row = rowOf(l);
      // A rounded column's bar in the rounding colour too: one column of dots
      // is easily missed, and its exponent is f's, not its dot's.
      const std::uint8_t colour = columns[static_cast<std::size_t>(c)].verdict.rounding
                                      ? kIndexRounding
                                      : (l > 0.0 ? kIndexPositive : kIndexNegative);
      for (int r = std::min(row, zero); r <= std::max(row, zero); ++r) {
        pixels[static_cast<std::size_t>(r) * width + c] = colour;
      }
    }
    pixels[static_cast<std::size_t>(zero) * width + c] = kIndexZeroLine;
  }
  return pixels;
}
