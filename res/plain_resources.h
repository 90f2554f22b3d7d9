// The resources that need no Qt, for every shell of the tool: the formula
// picture's pixels and the About box's version line.
#pragma once

#include <array>

// Bitmap 132: x(n+1) in white pixel letters on black, 28 x 11 pixels, one row
// of text per pixel row ('#' white, '.' black), top row first.
inline constexpr int kFormulaBitmapWidth = 28;
inline constexpr int kFormulaBitmapHeight = 11;
extern const std::array<const char*, kFormulaBitmapHeight> kFormulaBitmapRows;

// The About box's second line.
inline constexpr const char* kVersionText = "Sep 28 2003 Build";
