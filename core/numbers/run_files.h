// The run as text files, the same bytes wherever they are made: the command
// line prints them, the page downloads them.
#pragma once

#include <string>

// The current series for a spreadsheet: the header "step,value", then one
// "index,value" line per value, s[0] to s[999], nine significant digits.
std::string SeriesCsvText();
