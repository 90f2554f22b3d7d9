// Locale-independent number text.
//
// Qt applications hand the user's locale to the C library at start-up, so
// printf("%.2f") may print "0,30" and atof may stop at the point. Every value
// the tool shows or reads goes through these helpers instead, which always use
// a point and round exact halves away from zero ("0.125" shows as "0.13").
#pragma once

#include <string>
#include <string_view>

// printf("%.2f", value) with a point as decimal separator and exact halves
// rounded away from zero. NaN and infinities print as "nan", "inf", "-inf".
std::string FormatFixed2(double value);

// printf("%.3f") and printf("%.4f") with the same point and the same exact
// halves rounded away from zero as FormatFixed2.
std::string FormatFixed3(double value);
std::string FormatFixed4(double value);
std::string FormatFixed6(double value);

// printf("%.2d", value): at least two digits, a minus sign in front if negative.
std::string FormatInt2(int value);

// printf("%.9g", value) with a point: enough significant digits to give back
// a single-precision value exactly.
std::string FormatSignificant9(double value);

// atof(text) with the C locale's rules whatever the process locale: leading
// white space, an optional sign, decimal or hexadecimal digits, an exponent,
// "inf"/"nan"; it stops at the first character it cannot use and gives 0.0
// when nothing could be read.
double ParseDouble(std::string_view text);

// Like ParseDouble, but reports through *consumed how many characters were
// read (0 when no number was found).
double ParseDoublePrefix(std::string_view text, std::size_t* consumed);
