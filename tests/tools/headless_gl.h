// OpenGL where there may be no display at all (over SSH, in CI): EGL on
// Mesa's surfaceless platform, which needs neither an X server nor a
// Wayland compositor and falls back to the software rasteriser when the
// machine has no GPU, with a compatibility-profile context (the diagrams
// are drawn in immediate mode) and a framebuffer object of the views' format.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>
#include <vector>

#include "core/diagrams/drawing.h"

// Draws the strokes as a view draws a whole picture (BeginDiagramPaint, then
// EmitStroke for each) and reads the picture back opaque, top row first. The
// context is made on the first call and kept for the process; one thread
// only. A null image, with *error set, when no context can be had.
QImage RenderStrokesHeadless(const std::vector<Stroke>& strokes, QSize pixels, QString* error);

// One picture kept from draw to draw, for an animation drawn a step at a time
// as a view draws it: afresh (as above), or on top of what the last draw
// left. Same context and thread rules as RenderStrokesHeadless.
class HeadlessPicture {
 public:
  explicit HeadlessPicture(QSize pixels);
  ~HeadlessPicture();
  HeadlessPicture(const HeadlessPicture&) = delete;
  HeadlessPicture& operator=(const HeadlessPicture&) = delete;

  // The picture after drawing the strokes; a null image, with *error set,
  // when no context can be had.
  QImage Draw(const std::vector<Stroke>& strokes, bool afresh, QString* error);

 private:
  struct Kept;
  QSize m_pixels;
  std::unique_ptr<Kept> m_kept;
};
