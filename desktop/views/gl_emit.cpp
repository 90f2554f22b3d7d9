#include "desktop/views/gl_emit.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

void LoadIdentity(GLenum matrixMode) {
  glMatrixMode(matrixMode);
  glLoadIdentity();
}

void SetColour(const Rgb& colour) {
  glColor3f(colour.r, colour.g, colour.b);
}

}  // namespace

void BeginDiagramPaint(int pixelWidth, int pixelHeight) {
  ContinueDiagramPaint(pixelWidth, pixelHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void ContinueDiagramPaint(int pixelWidth, int pixelHeight) {
  glViewport(0, 0, pixelWidth, pixelHeight);
  LoadIdentity(GL_TEXTURE);
  LoadIdentity(GL_PROJECTION);
  // A fresh context's matrix mode is the model-view one, and the projection
  // below multiplies onto whatever mode is current.
  LoadIdentity(GL_MODELVIEW);

  glDisable(GL_BLEND);
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_LINE_STIPPLE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_COLOR_LOGIC_OP);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_FOG);
  glEnable(GL_DITHER);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glShadeModel(GL_SMOOTH);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

  gluOrtho2D(-0.01, 1.01, -0.01, 1.01);
  glLineWidth(1.0f);
}

void EmitStroke(const Stroke& stroke) {
  glBegin(stroke.primitive == Primitive::kLines ? GL_LINES : GL_LINE_STRIP);
  Rgb current = stroke.colour;
  SetColour(current);
  for (const ColouredVertex& vertex : stroke.vertices) {
    if (vertex.colour != current) {
      current = vertex.colour;
      SetColour(current);
    }
    glVertex2d(vertex.x, vertex.y);
  }
  glEnd();
}
