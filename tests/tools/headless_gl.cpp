#include "headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <memory>
#include <vector>

#include "desktop/views/gl_emit.h"

namespace {

struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

  template <typename T>
  static bool Load(T* call, const char* name) {
    *call = reinterpret_cast<T>(eglGetProcAddress(name));
    return *call != nullptr;
  }
  bool LoadAll() {
    return Load(&genFramebuffers, "glGenFramebuffers") &&
           Load(&deleteFramebuffers, "glDeleteFramebuffers") &&
           Load(&bindFramebuffer, "glBindFramebuffer") &&
           Load(&framebufferTexture2D, "glFramebufferTexture2D") &&
           Load(&genRenderbuffers, "glGenRenderbuffers") &&
           Load(&deleteRenderbuffers, "glDeleteRenderbuffers") &&
           Load(&bindRenderbuffer, "glBindRenderbuffer") &&
           Load(&renderbufferStorage, "glRenderbufferStorage") &&
           Load(&framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           Load(&checkFramebufferStatus, "glCheckFramebufferStatus");
  }
};

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) {
    return false;
  }
  const std::size_t length = std::strlen(name);
  for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + 1, name)) {
    const bool starts = p == list || p[-1] == ' ';
    if (starts && (p[length] == ' ' || p[length] == '\0')) {
      return true;
    }
  }
  return false;
}

// Kept until the process ends and never torn down: terminating EGL unloads
// the driver, whose own process-lifetime allocations could then no longer be
// told from ours by a leak checker, and the process is ending anyway.
class HeadlessContext {
 public:
  // Empty when the context is usable.
  const QString& Failure() {
    if (!m_tried) {
      m_tried = true;
      m_failure = Create();
    }
    return m_failure;
  }

  bool MakeCurrent() {
    return eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context);
  }
  void Release() { eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT); }
  const FramebufferCalls& Calls() const { return m_calls; }

 private:
  QString Create() {
    if (!HasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS),
                      "EGL_MESA_platform_surfaceless")) {
      return QStringLiteral("EGL has no surfaceless platform");
    }
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
      return QStringLiteral("EGL cannot open a platform display");
    }
    m_display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (m_display == EGL_NO_DISPLAY || !eglInitialize(m_display, nullptr, nullptr)) {
      m_display = EGL_NO_DISPLAY;
      return QStringLiteral("EGL cannot initialise the surfaceless display");
    }
    if (!HasExtension(eglQueryString(m_display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context") ||
        !eglBindAPI(EGL_OPENGL_API)) {
      return QStringLiteral("EGL offers no desktop OpenGL without a surface");
    }
    // The picture goes into a framebuffer object, so the config only has to
    // allow desktop OpenGL; without any, a configless context does as well.
    const EGLint configWanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(m_display, configWanted, &config, 1, &count) || count < 1) {
      config = nullptr;
    }
    const EGLint contextWanted[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    m_context = eglCreateContext(m_display, config, EGL_NO_CONTEXT, contextWanted);
    if (m_context == EGL_NO_CONTEXT) {
      return QStringLiteral("EGL cannot create a compatibility-profile OpenGL context");
    }
    if (!MakeCurrent()) {
      return QStringLiteral("EGL cannot make the OpenGL context current");
    }
    const bool loaded = m_calls.LoadAll();
    Release();
    return loaded ? QString() : QStringLiteral("OpenGL has no framebuffer objects");
  }

  bool m_tried = false;
  QString m_failure;
  EGLDisplay m_display = EGL_NO_DISPLAY;
  EGLContext m_context = EGL_NO_CONTEXT;
  FramebufferCalls m_calls;
};

HeadlessContext& Context() {
  static HeadlessContext* const context = new HeadlessContext;
  return *context;
}

// A framebuffer like the one a view draws into: an RGB8 colour texture and a
// depth attachment.
class Framebuffer {
 public:
  Framebuffer(const FramebufferCalls& calls, QSize pixels) : m_calls(calls) {
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, pixels.width(), pixels.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_calls.genRenderbuffers(1, &m_depth);
    m_calls.bindRenderbuffer(GL_RENDERBUFFER, m_depth);
    m_calls.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, pixels.width(),
                                pixels.height());
    m_calls.bindRenderbuffer(GL_RENDERBUFFER, 0);
    m_calls.genFramebuffers(1, &m_framebuffer);
    m_calls.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_calls.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_texture, 0);
    m_calls.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth);
  }
  ~Framebuffer() {
    m_calls.bindFramebuffer(GL_FRAMEBUFFER, 0);
    m_calls.deleteFramebuffers(1, &m_framebuffer);
    m_calls.deleteRenderbuffers(1, &m_depth);
    glDeleteTextures(1, &m_texture);
  }
  Framebuffer(const Framebuffer&) = delete;
  Framebuffer& operator=(const Framebuffer&) = delete;

  void Bind() { m_calls.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer); }

  bool IsComplete() const {
    return m_calls.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }

 private:
  const FramebufferCalls& m_calls;
  GLuint m_texture = 0;
  GLuint m_depth = 0;
  GLuint m_framebuffer = 0;
};

QImage ReadOpaque(QSize pixels) {
  const int width = pixels.width();
  const int height = pixels.height();
  // Packed as 0xAARRGGBB words, the layout of QImage's RGB32: no conversion
  // but the row order and the alpha, once per picture of an animation.
  std::vector<quint32> argb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
  QImage image(pixels, QImage::Format_RGB32);
  for (int row = 0; row < height; ++row) {
    // OpenGL's rows run bottom to top.
    const quint32* source = argb.data() + static_cast<std::size_t>(height - 1 - row) * width;
    auto* target = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (int x = 0; x < width; ++x) {
      target[x] = source[x] | 0xff000000u;
    }
  }
  return image;
}

}  // namespace

QImage RenderStrokesHeadless(const std::vector<Stroke>& strokes, QSize pixels, QString* error) {
  HeadlessContext& context = Context();
  if (!context.Failure().isEmpty()) {
    *error = context.Failure();
    return QImage();
  }
  if (pixels.isEmpty()) {
    *error = QStringLiteral("the picture has no pixels");
    return QImage();
  }
  if (!context.MakeCurrent()) {
    *error = QStringLiteral("EGL cannot make the OpenGL context current");
    return QImage();
  }
  QImage picture;
  {
    Framebuffer framebuffer(context.Calls(), pixels);
    if (framebuffer.IsComplete()) {
      BeginDiagramPaint(pixels.width(), pixels.height());
      for (const Stroke& stroke : strokes) {
        EmitStroke(stroke);
      }
      picture = ReadOpaque(pixels);
    }
  }
  context.Release();
  if (picture.isNull()) {
    *error = QStringLiteral("OpenGL cannot make a framebuffer of %1x%2 pixels")
                 .arg(pixels.width())
                 .arg(pixels.height());
  }
  return picture;
}

struct HeadlessPicture::Kept {
  std::unique_ptr<Framebuffer> framebuffer;
};

HeadlessPicture::HeadlessPicture(QSize pixels)
    : m_pixels(pixels), m_kept(std::make_unique<Kept>()) {}

HeadlessPicture::~HeadlessPicture() {
  if (m_kept->framebuffer != nullptr && Context().MakeCurrent()) {
    m_kept->framebuffer.reset();
    Context().Release();
  }
}

QImage HeadlessPicture::Draw(const std::vector<Stroke>& strokes, bool afresh, QString* error) {
  HeadlessContext& context = Context();
  if (!context.Failure().isEmpty()) {
    *error = context.Failure();
    return QImage();
  }
  if (m_pixels.isEmpty()) {
    *error = QStringLiteral("the picture has no pixels");
    return QImage();
  }
  if (!context.MakeCurrent()) {
    *error = QStringLiteral("EGL cannot make the OpenGL context current");
    return QImage();
  }
  QImage picture;
  if (m_kept->framebuffer == nullptr) {
    m_kept->framebuffer = std::make_unique<Framebuffer>(context.Calls(), m_pixels);
    afresh = true;
  }
  m_kept->framebuffer->Bind();
  if (m_kept->framebuffer->IsComplete()) {
    if (afresh) {
      BeginDiagramPaint(m_pixels.width(), m_pixels.height());
    } else {
      ContinueDiagramPaint(m_pixels.width(), m_pixels.height());
    }
    for (const Stroke& stroke : strokes) {
      EmitStroke(stroke);
    }
    picture = ReadOpaque(m_pixels);
  }
  context.Calls().bindFramebuffer(GL_FRAMEBUFFER, 0);
  context.Release();
  if (picture.isNull()) {
    *error = QStringLiteral("OpenGL cannot make a framebuffer of %1x%2 pixels")
                 .arg(m_pixels.width())
                 .arg(m_pixels.height());
  }
  return picture;
}
