// The window texts and pictures the application carries with it.
#pragma once

#include <QIcon>
#include <QImage>
#include <array>
#include <string>

#include "core/layout/resource_texts.h"

// The standard 16-colour palette that the icon and the formula picture use.
inline constexpr int kPaletteBlack = 0;
inline constexpr int kPaletteWhite = 15;
const std::array<QRgb, 16>& StandardPalette();

// The given bitmap as an indexed image over the standard palette; a null
// image for an unknown id.
QImage LoadBitmapImage(int bitmapId);

// Icon 128 at 32 x 32 or 16 x 16 pixels, indexed over the standard palette
// and fully opaque; a null image for any other size or id.
QImage LoadIconImage(int iconId, int size);
// Both sizes of the icon together; an empty icon for an unknown id.
QIcon LoadIcon(int iconId);
