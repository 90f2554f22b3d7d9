// The orbit diagram on a Qt surface: the window-free picture (orbit_image.h)
// at a widget's size and density, and as an image to draw or save.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <vector>

#include "core/orbit/orbit_image.h"

// The frame of a widget of logical `size` at `dpr` device pixels per pixel.
OrbitFrame OrbitFrameForWidget(QSize size, double dpr);

// Where the dots and the strip lie in the widget, in logical pixels.
struct OrbitLayout {
  QRect dots;
  QRect strip;
};
OrbitLayout OrbitLayoutFor(QSize size, double dpr = 1.0);

// The view for `request` over the values [low, high] at the widget's device
// pixels (the request's own column count when `keepColumns`).
OrbitView OrbitViewFor(const OrbitRequest& request, double low, double high, QSize size, double dpr,
                       bool keepColumns = false);

// The composed picture's bytes seen as an image with the picture's palette,
// without a copy: `pixels` must outlive it.
QImage OrbitImageOf(const std::vector<std::uint8_t>& pixels, const OrbitFrame& frame);

// Draws the composed picture at the painter's origin, a band of rows at a
// time, so that the painter's conversion to colours stays small.
void DrawOrbitImage(QPainter& painter, const std::vector<std::uint8_t>& pixels,
                    const OrbitFrame& frame, double dpr);
