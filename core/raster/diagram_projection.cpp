#include "core/raster/diagram_projection.h"

#include <cmath>

namespace {

// gluOrtho2D's bounds reach the matrix as singles, and the matrix stays in
// single precision.
constexpr float kLow = static_cast<float>(-0.01);
constexpr float kHigh = static_cast<float>(1.01);

}  // namespace

DiagramProjection::DiagramProjection(int pixelWidth, int pixelHeight)
    : m_scaleX(2.0f / (kHigh - kLow)),
      m_offsetX(-(kHigh + kLow) / (kHigh - kLow)),
      m_scaleY(m_scaleX),
      m_offsetY(m_offsetX),
      m_halfWidth(0.5f * static_cast<float>(pixelWidth)),
      m_halfHeight(0.5f * static_cast<float>(pixelHeight)) {}

WindowPoint DiagramProjection::ToWindow(float x, float y) const {
  // Clip coordinates round the product, then the sum, as the vertex program
  // does; w stays 1. The viewport's scale and offset are one fused step in
  // the generated code, so they are here.
  const float clipX = m_scaleX * x + m_offsetX;
  const float clipY = m_scaleY * y + m_offsetY;
  return {std::fma(clipX, m_halfWidth, m_halfWidth), std::fma(clipY, m_halfHeight, m_halfHeight)};
}
