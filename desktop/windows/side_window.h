// Where a window of the main window's (the run report, the orbit diagram)
// goes when it first opens: beside the main window, never over it.
#pragma once

#include <QRect>

class QWidget;

// The screen area the main window stands on; invalid when no screen is known.
QRect OwnerScreenArea(const QWidget& owner);

// The room beside the main window on its wider side, less the gap and the
// window's frame: how wide `window` may be to fit there.
int RoomBesideOwner(const QWidget& window, const QWidget& owner);

// To the right of the main window, or to its left when the screen ends
// there; the main window itself stays where it is.
void PlaceBesideOwner(QWidget& window, const QWidget& owner);
