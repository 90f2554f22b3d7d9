// OpenGL where there may be no display at all (over SSH, in CI): EGL on
// Mesa's surfaceless platform, which needs neither an X server nor a
// Wayland compositor and falls back to the software rasteriser when the
// machine has no GPU, with a compatibility-profile context (the diagrams
// are drawn in immediate mode) and a framebuffer object of the views' format.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

#include "drawing.h"

// Draws the strokes as a view draws a whole picture (BeginDiagramPaint, then
// EmitStroke for each) and reads the picture back opaque, top row first. The
// context is made on the first call and kept for the process; one thread
// only. A null image, with *error set, when no context can be had.
QImage RenderStrokesHeadless(const std::vector<Stroke>& strokes, QSize pixels, QString* error);
