// Dialog units on the Qt side: the plain conversion of dialog_rects.h for
// QRect, and the base units of a font the system gives.
#pragma once

#include <QRect>

#include "core/layout/dialog_rects.h"

class QFont;
class QPaintDevice;

DialogBaseUnits BaseUnitsOfFont(const QFont& font);

// x and cx scale by base.x / 4, y and cy by base.y / 8, each on its own.
QRect MapDialogRect(const QRect& units, DialogBaseUnits base);

// The font a template names, at the pixel height the desktop gives a point
// size on a screen of the given dots per inch.
QFont DialogFont(const char* faceName, int pointSize, int dotsPerInch);

// What a template's rectangles are laid out with: the designed units of its
// font when known, otherwise those of the font the system gives.
DialogBaseUnits TemplateBaseUnits(const char* faceName, int pointSize, int dotsPerInch);

// A rectangle of template `templateId` in pixels on a screen of the given
// dots per inch (96 at scale 1); an empty rectangle for an unknown template.
// Needs no window, and no application object for a face known by design.
QRect TemplateRectInPixels(int templateId, const QRect& units, int dotsPerInch = 96);
