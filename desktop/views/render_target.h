// The OpenGL context a diagram view draws with, and the framebuffer its
// picture is drawn into before the view puts it on screen in one piece.
#pragma once

#include <QImage>
#include <QSize>
#include <memory>

#include "desktop/views/surface_setup.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

class DiagramRenderTarget {
 public:
  DiagramRenderTarget();
  ~DiagramRenderTarget();
  DiagramRenderTarget(const DiagramRenderTarget&) = delete;
  DiagramRenderTarget& operator=(const DiagramRenderTarget&) = delete;

  // Creates the context and its surface once, on the user interface thread,
  // honouring a forced failure. After a failure nothing is kept and every
  // later Begin refuses.
  SurfaceFailure Create();
  bool IsCreated() const { return m_setUp; }

  // Makes the context current with a framebuffer of `pixels` device pixels
  // bound. False means nothing can be drawn this time; a later call tries
  // again (a lost context is recreated then).
  bool Begin(QSize pixels);
  // After a successful Begin: whether the bound framebuffer still holds the
  // picture of the previous paint (same context, same size), so that a paint
  // may draw on top of it instead of starting afresh.
  bool KeepsLastPicture() const { return m_keepsLastPicture; }
  // Reads the finished picture (opaque RGB, top row first) and releases the
  // context. Only after a successful Begin.
  QImage End();

 private:
  SurfaceFailure CreateContext();
  void Release();

  bool m_setUp = false;
  bool m_keepsLastPicture = false;
  std::unique_ptr<QOpenGLContext> m_context;
  std::unique_ptr<QOffscreenSurface> m_surface;
  std::unique_ptr<QOpenGLFramebufferObject> m_framebuffer;
};

// Sets up a new view's target. When no usable surface can be had, tells the
// user so (once: this is called once per view) and returns false; the view
// then stays unpainted.
bool SetupPixelFormat(DiagramRenderTarget& target);
