// Dialog units without a toolkit: the font-relative measure that window
// templates use. One horizontal unit is a quarter of the dialog font's
// average character width, one vertical unit an eighth of its character
// height; every coordinate is converted on its own and rounded as the
// desktop's MulDiv does. The Qt window and the page lay out from these.
#pragma once

// A rectangle in dialog units or pixels: left, top, width, height.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const DialogRect&, const DialogRect&) = default;
};

// a * b / c rounded to nearest, halves away from zero, in 64-bit arithmetic;
// -1 when c is 0.
int MulDiv(int a, int b, int c);

struct DialogBaseUnits {
  int x = 0;  // pixels per 4 horizontal units: the average character width
  int y = 0;  // pixels per 8 vertical units: the character height
};

// From the width of "A".."Z" "a".."z" set in the font, and its height.
DialogBaseUnits BaseUnitsFromMetrics(int alphabetWidth, int charHeight);

// The base units a face is designed to give at a pixel height, from its
// outline metrics rather than from whatever font the system substitutes for
// it: a template laid out for Verdana keeps its proportions where Verdana is
// missing. {0, 0} for a face whose design metrics are not known here.
DialogBaseUnits DesignedBaseUnits(const char* faceName, int pixelHeight);

// x and width scale by base.x / 4, y and height by base.y / 8, each on its own.
DialogRect MapDialogRect(const DialogRect& units, DialogBaseUnits base);

// A rectangle of template `templateId` in pixels on a screen of the given
// dots per inch (96 at scale 1), laid out with the designed units of the
// template's font; where that face is not known by design, with `measured`,
// the units of the font the shell has (BaseUnitsFromMetrics). An empty
// rectangle for an unknown template, or an unknown face with no units given.
DialogRect TemplateRectInPixels(int templateId, const DialogRect& units, int dotsPerInch,
                                DialogBaseUnits measured);

// Where the main window's placeholder `placeholderId` (1000 web, 1001 time
// series) lies in its client area at scale 1 (96 dots per inch), by the
// template font's designed metrics: the diagram view that fills it, known
// without a window or a font. Empty for an unknown id.
DialogRect DiagramViewRect(int placeholderId);
