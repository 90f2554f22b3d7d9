// The window's state as the fragment of the page's address, so that a link
// opens the run a teacher or a student was looking at:
//   sentence=3&degree=0.30&estimate=0.90&step=40&output=1
// and, while the orbit diagram is open, the part of the axis it shows:
//   &orbit=degree:0.25..0.50
// Every key is optional; a part that cannot be used is left out and named in
// one line, so a mistyped link still shows what it can instead of nothing.
#pragma once

#include <string>
#include <string_view>

struct LinkState {
  // -1 where the link gives no usable value; the page keeps its own then.
  int sentence = -1;
  // As the value field shows it ("0.30"); empty where the link gives none.
  std::string degreeText;
  std::string estimateText;
  int step = -1;
  // "Show Output": 0 or 1, -1 where the link gives none.
  int output = -1;
  // The orbit diagram's axis ("degree" or "estimate") and its view from..to
  // (0 <= from < to <= 1); an empty axis where the link opens none.
  std::string orbitAxis;
  double orbitFrom = 0.0;
  double orbitTo = 1.0;
  // 'Ignored in the link: sentence "12" (0 to 9).', or empty.
  std::string ignored;
};

// Reads a fragment with or without its '#', percent-escapes decoded.
LinkState ParseLinkFragment(std::string_view fragment);

// The fragment, without its '#', that ParseLinkFragment reads back to the
// same state. The field texts are escaped where a link needs it.
std::string FormatLinkFragment(int sentence, std::string_view degreeText,
                               std::string_view estimateText, int step, bool output);

// The part an open orbit diagram adds: "&orbit=degree:0.25..0.50", the view
// from..to widened to two decimals, so the link never shows less of it.
std::string FormatOrbitLinkPart(bool overDegree, double from, double to);
