// The diagram views' sizes in the main window, known without making one.
#pragma once

#include <QRect>
#include <QSize>

// The client size of the template's placeholder `placeholderId` (1000 web,
// 1001 time series) mapped through the dialog units of the template's font
// at scale 1 (96 dots per inch), as the window maps it; the view fills it.
// Needs a QGuiApplication for the font. Empty for an unknown id.
QSize DiagramViewSize(int placeholderId);

// Where that view is in the window's client area at scale 1, in pixels.
QRect DiagramViewPlace(int placeholderId);
