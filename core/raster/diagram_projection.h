// The views' mapping of the unit square (a 0.01 margin on every side) onto an
// image of any size, in window coordinates: pixel (i, j) covers [i, i + 1) x
// [j, j + 1), j counted from the bottom row. A larger device pixel ratio is
// just a larger image.
#pragma once

struct WindowPoint {
  float x = 0.0f;
  float y = 0.0f;
};

class DiagramProjection {
 public:
  DiagramProjection(int pixelWidth, int pixelHeight);

  WindowPoint ToWindow(float x, float y) const;

 private:
  float m_scaleX;
  float m_offsetX;
  float m_scaleY;
  float m_offsetY;
  float m_halfWidth;
  float m_halfHeight;
};
