// Dialog units: the font-relative measure that window templates use. One
// horizontal unit is a quarter of the dialog font's average character width,
// one vertical unit an eighth of its character height; every coordinate is
// converted on its own and rounded as the desktop's MulDiv does.
#pragma once

#include <QRect>

class QFont;
class QPaintDevice;

// a * b / c rounded to nearest, halves away from zero, in 64-bit arithmetic;
// -1 when c is 0.
int MulDiv(int a, int b, int c);

struct DialogBaseUnits {
  int x = 0;  // pixels per 4 horizontal units: the average character width
  int y = 0;  // pixels per 8 vertical units: the character height
};

// From the width of "A".."Z" "a".."z" set in the font, and its height.
DialogBaseUnits BaseUnitsFromMetrics(int alphabetWidth, int charHeight);
DialogBaseUnits BaseUnitsOfFont(const QFont& font);

// x and cx scale by base.x / 4, y and cy by base.y / 8, each on its own.
QRect MapDialogRect(const QRect& units, DialogBaseUnits base);

// The font a template names, at the pixel height the desktop gives a point
// size on a screen of the given dots per inch.
QFont DialogFont(const char* faceName, int pointSize, int dotsPerInch);

// The base units a face is designed to give at a pixel height, from its
// outline metrics rather than from whatever font the system substitutes for
// it: a template laid out for Verdana keeps its proportions where Verdana is
// missing. {0, 0} for a face whose design metrics are not known here.
DialogBaseUnits DesignedBaseUnits(const char* faceName, int pixelHeight);

// What a template's rectangles are laid out with: the designed units of its
// font when known, otherwise those of the font the system gives.
DialogBaseUnits TemplateBaseUnits(const char* faceName, int pointSize, int dotsPerInch);

// A rectangle of template `templateId` in pixels on a screen of the given
// dots per inch (96 at scale 1); an empty rectangle for an unknown template.
// Needs no window, and no application object for a face known by design.
QRect TemplateRectInPixels(int templateId, const QRect& units, int dotsPerInch = 96);
