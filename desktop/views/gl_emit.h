// Hands the diagrams' strokes to OpenGL in immediate mode, and puts a context
// into the state every picture starts from.
#pragma once

#include "core/diagrams/drawing.h"

// The state of a freshly created context with the unit square mapped onto the
// whole viewport (a 0.01 margin on every side), cleared to black, line width
// 1. The context may have painted before: everything the strokes depend on is
// set again here. Needs the context current and the target framebuffer bound.
void BeginDiagramPaint(int pixelWidth, int pixelHeight);
// The same state without the clear: what is drawn next goes on top of the
// picture the framebuffer already holds.
void ContinueDiagramPaint(int pixelWidth, int pixelHeight);

// glBegin, the stroke's colour, its vertices (each colour change before its
// vertex), glEnd.
void EmitStroke(const Stroke& stroke);
