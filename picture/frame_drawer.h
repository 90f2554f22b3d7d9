// The sheets of an animation drawn in order, each diagram as its view draws
// the step after the one before: only the new steps of a web trace on top of
// the last picture where the views' own plan says that gives the same pixels
// as drawing afresh, the rest afresh. Each diagram keeps its own framebuffer
// (and, in the window, its own context) from frame to frame.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/views/retained_picture.h"
#include "picture/picture_export.h"

class DiagramRenderTarget;
class HeadlessPicture;

class FrameDrawer {
 public:
  FrameDrawer(QSize size, GlSource source);
  ~FrameDrawer();
  FrameDrawer(const FrameDrawer&) = delete;
  FrameDrawer& operator=(const FrameDrawer&) = delete;

  // The sheet as RenderSheet draws it; a null image, with *error set, when
  // OpenGL cannot draw.
  QImage Draw(const Sheet& sheet, QString* error);

 private:
  struct Part {
    std::unique_ptr<HeadlessPicture> headless;
    std::unique_ptr<DiagramRenderTarget> target;
    std::optional<PictureSource> last;
    QImage image;
  };
  QImage DrawPart(Part& kept, const SheetPart& part, QString* error);
  // Makes ready to draw; false with *error set when no context can be had.
  bool Begin(Part& kept, QSize pixels, QString* error);
  QImage Finish(Part& kept, const std::vector<Stroke>& strokes, bool afresh, QSize pixels,
                QString* error);

  QSize m_size;
  GlSource m_source;
  std::vector<Part> m_parts;
};
