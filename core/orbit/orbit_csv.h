// The orbit diagram's columns as CSV text, the same bytes wherever they are
// made: `veridrift-series --orbit --csv` prints them, and a page that has
// the columns can save them. Plain data in, text out; no threads.
#pragma once

#include <string>

// "degree,step,value" or "estimate,step,value", and the line's end.
std::string OrbitCsvHeader(const char* axis);

// One column's lines: "parameter,step,value" for steps transient to
// transient + keep - 1, the values being the column's kept ones; nine
// significant digits.
std::string OrbitCsvColumn(float parameter, const float* values, int transient, int keep);
