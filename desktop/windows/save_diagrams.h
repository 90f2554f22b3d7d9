// Saving the main window's two diagrams as they are shown: one file holding
// both, the time series above the web as in the window.
#pragma once

#include <QString>

#include "picture/picture_export.h"

class CSentenceDlg;

// Writes the diagrams at the step counts the views show now, as PNG (the core's
// pixels, which are the views'), SVG or PDF by the path's suffix, or as a GIF
// of every step from 0 to those (`progress` told after each frame, and able
// to stop it); the previous file stays as it was on failure. False with
// *error saying why.
bool SaveDiagrams(const CSentenceDlg& dialog, const QString& path, QString* error,
                  const SheetProgress& progress = {});
