// A stand-in for the main window: two black placeholders holding the web view
// (mode 1) and the time-series view (mode 0), created the way the main window
// creates them, plus a button and a coloured marker to show that the rest of
// the window works and reaches the screen.
#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "desktop/views/diagram_view.h"

class TwoViewWindow {
 public:
  TwoViewWindow();
  ~TwoViewWindow();  // deletes the views, then the window goes

  // Shows the window and waits until it is on screen.
  bool ShowAndWait();

  QDialog dialog;
  QLabel* webPlaceholder = nullptr;
  QLabel* seriesPlaceholder = nullptr;
  QPushButton* button = nullptr;
  QLabel* marker = nullptr;
  CDiagramView* web = nullptr;
  CDiagramView* series = nullptr;
};

inline const QColor kMarkerColour{0, 0, 255};

// What the display shows under `widget` now, read back from the X server, in
// device pixels.
QImage ScreenImage(const QWidget* widget);

// Whether a pixel within `radius` of where the unit square's point (x, y)
// lands in a view's image has `colour` (each channel within 3).
bool HasColourNear(const QImage& view, double x, double y, QColor colour, int radius = 1);
bool IsAllBlack(const QImage& view);
