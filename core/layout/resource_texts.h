// The texts and the formula bitmap the application carries with it, as plain
// data with no toolkit, so that every shell shows the same ones.
#pragma once

#include <array>
#include <string>

// The About box's version line.
inline constexpr const char* kVersionText = "Sep 28 2003 Build";

// The string table: the text of the given id, empty when there is none.
std::string LoadResourceString(int stringId);

// Bitmap 132: x(n+1) in white pixel letters on black, 28 x 11 pixels, one row
// of text per pixel row ('#' white, '.' black), top row first.
inline constexpr int kFormulaBitmapWidth = 28;
inline constexpr int kFormulaBitmapHeight = 11;
extern const std::array<const char*, kFormulaBitmapHeight> kFormulaBitmapRows;
