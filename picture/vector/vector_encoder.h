// The SVG and PDF encoder: the strokes as vector lines through QPainter, with
// the views' colours and projection.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QSizeF>

#include "picture/vector_writer.h"

bool EncodeVectorFile(const VectorJob& job, std::vector<unsigned char>* bytes, std::string* why);

// Where the unit square's point (x, y) lands in a picture of `size`, top-left
// origin: the view's gluOrtho2D(-0.01, 1.01, -0.01, 1.01) over the whole
// picture, y upward.
QPointF PicturePoint(double x, double y, QSizeF size);

// The strokes as lines in a picture of `size` at the painter's origin, in
// order, so what is drawn last lies on top. A line takes the colour of the
// vertex it ends at; the zero-length joins where a strip changes colour draw
// nothing, as in OpenGL. Paints no ground.
void PaintStrokes(QPainter& painter, const std::vector<Stroke>& strokes, QSizeF size);
