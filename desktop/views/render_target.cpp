#include "desktop/views/render_target.h"

#include <GL/gl.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>
#include <utility>

DiagramRenderTarget::DiagramRenderTarget() = default;

DiagramRenderTarget::~DiagramRenderTarget() {
  Release();
}

SurfaceFailure DiagramRenderTarget::Create() {
  const SurfaceFailure forced = ForcedSurfaceFailure();
  if (forced == SurfaceFailure::kNoFormat) {
    return forced;
  }
  const SurfaceFailure failure = CreateContext();
  if (failure != SurfaceFailure::kNone) {
    return failure;
  }
  if (forced != SurfaceFailure::kNone) {
    Release();
    return forced;
  }
  m_setUp = true;
  return SurfaceFailure::kNone;
}

SurfaceFailure DiagramRenderTarget::CreateContext() {
  Release();
  auto context = std::make_unique<QOpenGLContext>();
  context->setFormat(RequestedSurfaceFormat());
  if (!context->create()) {
    return SurfaceFailure::kNoFormat;
  }
  auto surface = std::make_unique<QOffscreenSurface>();
  surface->setFormat(context->format());
  surface->create();
  if (!surface->isValid() || !context->makeCurrent(surface.get())) {
    return SurfaceFailure::kCannotActivate;
  }
  // The picture is drawn into a framebuffer object with fixed-function calls:
  // a core-profile context or one without framebuffer objects cannot do that.
  const bool usable = context->format().profile() != QSurfaceFormat::CoreProfile &&
                      QOpenGLFramebufferObject::hasOpenGLFramebufferObjects();
  context->doneCurrent();
  if (!usable) {
    return SurfaceFailure::kCannotActivate;
  }
  m_context = std::move(context);
  m_surface = std::move(surface);
  return SurfaceFailure::kNone;
}

bool DiagramRenderTarget::Begin(QSize pixels) {
  m_keepsLastPicture = false;
  if (!m_setUp || pixels.isEmpty()) {
    return false;
  }
  const bool lost = m_context == nullptr || !m_context->isValid();
  if (lost && CreateContext() != SurfaceFailure::kNone) {
    return false;
  }
  if (!m_context->makeCurrent(m_surface.get())) {
    return false;
  }
  m_keepsLastPicture = !lost && m_framebuffer != nullptr && m_framebuffer->size() == pixels;
  if (m_framebuffer == nullptr || m_framebuffer->size() != pixels) {
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    format.setInternalTextureFormat(GL_RGB8);
    m_framebuffer = std::make_unique<QOpenGLFramebufferObject>(pixels, format);
  }
  if (!m_framebuffer->isValid() || !m_framebuffer->bind()) {
    m_keepsLastPicture = false;
    m_framebuffer.reset();
    m_context->doneCurrent();
    return false;
  }
  return true;
}

QImage DiagramRenderTarget::End() {
  QImage picture = m_framebuffer->toImage();
  m_context->doneCurrent();
  return picture;
}

void DiagramRenderTarget::Release() {
  if (m_context != nullptr && m_framebuffer != nullptr && m_context->makeCurrent(m_surface.get())) {
    m_framebuffer.reset();
    m_context->doneCurrent();
  }
  m_framebuffer.reset();
  m_context.reset();
  m_surface.reset();
}

bool SetupPixelFormat(DiagramRenderTarget& target) {
  const SurfaceFailure failure = target.Create();
  ReportSurfaceFailure(failure);
  return failure == SurfaceFailure::kNone;
}
