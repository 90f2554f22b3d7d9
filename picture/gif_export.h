// The sheets as an animated GIF: each drawn with OpenGL exactly as its PNG,
// one frame a sheet, in order.
#pragma once

#include <QIODevice>
#include <QSize>
#include <QString>
#include <vector>

#include "picture/picture_export.h"

enum class GifWrite {
  kWritten,
  kNotDrawn,    // OpenGL could not draw a sheet
  kNotEncoded,  // giflib could not make the file
  kNotStored,   // the device refused the bytes
  kCancelled,   // the progress callback stopped it
};

// *why says what went wrong, for kNotDrawn and kNotEncoded.
GifWrite WriteGif(QIODevice& device, const std::vector<Sheet>& sheets, QSize size, GlSource source,
                  const FramePace& pace, const SheetProgress& progress, QString* why);
